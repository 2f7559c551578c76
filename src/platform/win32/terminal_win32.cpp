#include <windows.h>

#include "platform/terminal.h"

namespace quenlor::platform {

// A console answers GetConsoleMode; a pipe or a file does not.
bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace quenlor::platform
