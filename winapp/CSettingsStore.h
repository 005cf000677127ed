#pragma once

#include "window_settings.h"

// Where the window keeps the user's settings between runs: the values of toValues as strings
// under HKEY_CURRENT_USER\Software\Velkaro\Velkaro. Folder names are kept in Unicode and turned
// back into the core's names when read; one the code page cannot hold any more is dropped.
class CSettingsStore {
  public:
    // The stored settings; the defaults where nothing (or nothing usable) is stored.
    [[nodiscard]] static velkaro::dialog::WindowSettings Load();
    // false when the key cannot be written; the window then simply forgets.
    [[nodiscard]] static bool Save(const velkaro::dialog::WindowSettings &settings);
};
