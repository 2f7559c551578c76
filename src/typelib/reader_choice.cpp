#include "typelib/reader_choice.h"

#include <cstdlib>

#include "base/error.h"

namespace quenlor::typelib {

ReaderKind ParseReaderName(std::string_view name, std::string_view origin) {
  if (name == "builtin") return ReaderKind::Builtin;
  if (name == "platform") {
    if (PlatformReaderAdvice().reason == ReaderReason::OnlyReader)
      throw Error(std::string(origin) + " platform needs the Windows build; this build has only the built-in reader");
    return ReaderKind::Platform;
  }
  throw Error(std::string(origin) + " takes 'builtin' or 'platform', not '" + std::string(name) + "'");
}

ReaderChoice ChooseReader(std::string_view command_line) {
  ReaderChoice choice = PlatformReaderAdvice();
  if (!command_line.empty()) {
    choice.kind = ParseReaderName(command_line, "--reader");
    choice.reason = ReaderReason::CommandLine;
    return choice;
  }
  const char* variable = std::getenv(kReaderVariable);
  if (variable && *variable) {
    choice.kind = ParseReaderName(variable, kReaderVariable);
    choice.reason = ReaderReason::Environment;
  }
  return choice;
}

ReaderKind DefaultReader() { return ChooseReader().kind; }

std::string DescribeReader(const ReaderChoice& choice) {
  std::string text = "Type library reader: ";
  text += choice.kind == ReaderKind::Platform ? "the platform's LoadTypeLibEx" : "built-in";
  switch (choice.reason) {
    case ReaderReason::OnlyReader: return text + " (the only one of this build)";
    case ReaderReason::UnderWine:
      return text + " (default under " + choice.platform + ", whose LoadTypeLibEx can crash the program)";
    case ReaderReason::OnWindows: return text + " (default on " + choice.platform + ")";
    case ReaderReason::Environment: return text + " (chosen by " + kReaderVariable + ")";
    case ReaderReason::CommandLine: return text + " (chosen by --reader)";
  }
  return text;
}

}  // namespace quenlor::typelib
