#pragma once

#include "message.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::dialog {

// The box shown instead of taking a chosen file whose path the core cannot be handed unchanged:
// on Windows the core opens files by names in the system's code page, which cannot hold every
// character a path may have (an emoji anywhere, Chinese on a Western system). Such a file is
// never chosen, so no file of another name is ever read or written. path: the full path, UTF-8.
[[nodiscard]] Message unrepresentableNameMessage(std::string_view path);
// The same box for every such path of one drop or one choice at once; one path gives the box
// above.
[[nodiscard]] Message unrepresentableNamesMessage(const std::vector<std::string> &paths);

// The box that names files the window cannot show or choose because their names are not in the
// encoding of the file system's names the toolkit expects (GBK names from Windows archives on a
// UTF-8 Linux), and says what to do. names: for display, undecodable bytes escaped.
[[nodiscard]] Message undecodableNamesMessage(const std::vector<std::string> &names);

} // namespace velkaro::dialog
