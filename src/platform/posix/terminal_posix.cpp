#include "platform/terminal.h"

#include <unistd.h>

namespace quenlor::platform {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace quenlor::platform
