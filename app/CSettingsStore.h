#pragma once

#include "window_settings.h"

// Where the window keeps its settings between runs: Qt's settings of organisation "Velkaro",
// application "Velkaro" (on Linux ~/.config/Velkaro/Velkaro.conf, or under $XDG_CONFIG_HOME).
// The values are kept as bytes, so a folder whose name is not UTF-8 comes back unchanged.
class CSettingsStore {
  public:
    // What was saved; the defaults for anything missing or damaged.
    [[nodiscard]] static velkaro::dialog::WindowSettings load();
    static void save(const velkaro::dialog::WindowSettings &settings);
};
