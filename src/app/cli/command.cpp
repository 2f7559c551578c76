#include "app/cli/command.h"

#include <algorithm>
#include <ostream>

#include "base/file.h"

namespace quenlor::cli {

namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace

CommandRegistration::CommandRegistration(const Command& command) {
  auto& commands = Registry();
  commands.push_back(command);
  std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
}

const std::vector<Command>& Commands() { return Registry(); }

void WriteOutput(const std::string& output_path, std::string_view text, std::ostream& out) {
  if (output_path.empty() || output_path == "-") {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
  } else {
    WriteFileAtomically(output_path, text);
  }
}

void KeepUntilExit(std::shared_ptr<const void> object) {
  // Never destroyed, so nothing it holds is freed at exit; it stays reachable, so leak
  // checkers do not count it.
  static auto* const kept = new std::vector<std::shared_ptr<const void>>();
  kept->push_back(std::move(object));
}

}  // namespace quenlor::cli
