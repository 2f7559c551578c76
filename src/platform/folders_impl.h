// What each build's folders adapter tells the shared part (internal to quenlor_platform).
#pragma once

#include <string>

namespace quenlor::platform {

// The user's application-data folder as the platform names it (Windows: CSIDL_APPDATA, empty
// when the platform has none; Linux: $XDG_DATA_HOME or ~/.local/share).
std::string UserDataRoot();

// The delimiter the platform writes between path components.
extern const char kPathDelimiter;

}  // namespace quenlor::platform
