// Arguments arrive as UTF-16 on Windows; the program works in UTF-8.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/cli/command.h"
#include "base/win32/wide_text.h"

int wmain(int argc, wchar_t** argv) {
  // The output is written byte for byte: the unit and the XML carry their own CR LF, which a
  // text-mode stream would turn into CR CR LF. The console is told the bytes are UTF-8.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(quenlor::Narrow(argv[i]));
  return quenlor::cli::Main(std::move(args));
}
