// Which type library reader a program uses, and why. The platform's reader is the one the
// program is meant to use where it reads correctly; under Wine its LoadTypeLibEx walk can
// fault inside oleaut32 (ADODB's msado15.dll) and take the whole process with it, while the
// built-in reader delivers the same data wherever Wine reads correctly and cannot crash.
// So: an explicit choice (command line, then QUENLOR_READER) first, then the platform's
// advice (built-in under Wine and in builds without a platform reader, the platform's own
// on Windows).
#pragma once

#include <string>
#include <string_view>

#include "typelib/access.h"

namespace quenlor::typelib {

// The environment variable that chooses the reader when no command-line switch does.
inline constexpr const char* kReaderVariable = "QUENLOR_READER";

enum class ReaderReason {
  OnlyReader,   // the build has no platform reader
  UnderWine,    // the platform is Wine
  OnWindows,    // the platform is Windows itself
  Environment,  // QUENLOR_READER
  CommandLine,  // --reader
};

struct ReaderChoice {
  ReaderKind kind = ReaderKind::Builtin;
  ReaderReason reason = ReaderReason::OnlyReader;
  std::string platform;  // "Wine 8.0", "Windows"; empty without a platform reader
};

// What the platform the program runs on advises, from the platform itself (the Windows
// adapter asks ntdll for Wine's version export). Reason OnlyReader, UnderWine or OnWindows.
ReaderChoice PlatformReaderAdvice();

// "builtin" or "platform"; throws Error naming `origin` ("--reader", "QUENLOR_READER") for
// another name, or for "platform" in a build without the platform's reader.
ReaderKind ParseReaderName(std::string_view name, std::string_view origin);

// `command_line` when not empty (the value of --reader), else QUENLOR_READER when set and
// not empty, else the platform's advice. Throws as ParseReaderName does.
ReaderChoice ChooseReader(std::string_view command_line = {});

// One line for --version and the About box, e.g. "Type library reader: built-in (default
// under Wine 8.0)".
std::string DescribeReader(const ReaderChoice& choice);

}  // namespace quenlor::typelib
