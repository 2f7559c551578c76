// Arguments arrive as UTF-16 on Windows; the program works in UTF-8.
#include <string>

#include "app/cli/command.h"
#include "base/text.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring w(argv[i]);
    args.push_back(quenlor::Utf16ToUtf8(std::u16string(w.begin(), w.end())));
  }
  return quenlor::cli::Main(std::move(args));
}
