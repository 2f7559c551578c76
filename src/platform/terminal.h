// Whether a standard stream is a terminal, for output meant only for a person watching.
#pragma once

namespace quenlor::platform {

// True when standard error is a terminal (a console window on Windows).
bool StandardErrorIsTerminal();

}  // namespace quenlor::platform
