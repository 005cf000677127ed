#pragma once

#include "message.h"

#include <string_view>

namespace velkaro::dialog {

// The box shown instead of taking a chosen file whose path the core cannot be handed unchanged:
// on Windows the core opens files by names in the system's code page, which cannot hold every
// character a path may have (an emoji anywhere, Chinese on a Western system). Nothing is chosen
// then, so no file of another name is ever read or written. path: the full path, UTF-8.
[[nodiscard]] Message unrepresentableNameMessage(std::string_view path);

} // namespace velkaro::dialog
