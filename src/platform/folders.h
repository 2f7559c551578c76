// The folders port: where the program keeps its per-user files.
#pragma once

#include <string>
#include <string_view>

namespace quenlor::platform {

// The user's application-data folder itself, by the rule below; the adapter's part.
std::string UserDataRoot();

// The user's application-data folder (Windows: CSIDL_APPDATA; Linux: $XDG_DATA_HOME, or
// ~/.local/share when it is unset or not absolute) with folder appended after a path
// delimiter. With create, every missing folder of the result is made; a folder that cannot
// be made is not an error here: writing into it fails later with a message naming the file.
std::string UserDataFolder(std::string_view folder, bool create);

// UserDataFolder(folder, true), a path delimiter and file.
std::string UserDataFile(std::string_view folder, std::string_view file);

}  // namespace quenlor::platform
