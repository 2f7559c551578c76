// Failures of the program: exceptions that carry the message the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace quenlor {

// Every failure the program reports is one of these; the command line prints what(),
// the window shows it in a message box.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The messages that other parts of the program and its users rely on, word for word.
inline constexpr const char* kComCallFailed = "com call failed";
inline constexpr const char* kSafecallException = "Exception in safecall method";
inline constexpr const char* kInterfaceNotSupported = "Interface not supported";

[[noreturn]] void Fail(const std::string& message);

}  // namespace quenlor
