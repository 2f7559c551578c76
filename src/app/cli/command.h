// Sub-commands of the command line. Each cmd_<name>.cpp defines one and registers it with a
// static CommandRegistration, so adding a command touches no other file.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quenlor::cli {

// Exit statuses: 0 success, 1 failure (message on stderr), 2 usage error.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// `unit --with-dependencies`: every unit written, but a referenced library did not resolve.
inline constexpr int kExitUnresolved = 3;

// Thrown by a command for a usage error: main prints the message and the command's usage
// and exits with kExitUsage.
struct UsageError {
  std::string message;
};

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for `quenlor --help`
  std::string_view usage;    // the full usage text for `quenlor NAME --help`
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

class CommandRegistration {
 public:
  explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& Commands();

// Writes a command's output to stdout, or with "-o FILE" to FILE, whole or not at all.
void WriteOutput(const std::string& output_path, std::string_view text, std::ostream& out);

// Keeps an object alive until the process ends and leaves its memory to the system then.
// A command's description of a large library is hundreds of thousands of nodes; freeing
// them one by one just before exiting took a tenth of the command's time.
void KeepUntilExit(std::shared_ptr<const void> object);

}  // namespace quenlor::cli

namespace quenlor::cli {
// The whole command line after the program name, in UTF-8; returns the exit status.
int Main(std::vector<std::string> args);
}  // namespace quenlor::cli
