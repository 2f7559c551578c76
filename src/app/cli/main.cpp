// quenlor: lists the registered COM type libraries, dumps and describes one, and generates
// its Pascal import unit.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/command.h"
#include "base/error.h"
#include "typelib/reader_choice.h"


namespace {

using quenlor::cli::Commands;

void PrintHelp(std::ostream& out) {
  out << "Usage: quenlor COMMAND [OPTIONS] [ARGS]\n"
         "       quenlor --help | --version\n\n"
         "Imports COM type libraries: lists the registered ones, describes one as XML and\n"
         "generates its Pascal import unit.\n\nCommands:\n";
  for (const auto& command : Commands()) {
    std::string name(command.name);
    name.resize(std::max<size_t>(name.size() + 2, 10), ' ');
    out << "  " << name << command.summary << "\n";
  }
  out << "\nRun 'quenlor COMMAND --help' for a command's options.\n"
         "Exit status: 0 success, 1 failure, 2 usage error, 3 units written but a referenced\n"
         "library did not resolve (unit --with-dependencies).\n";
}

int Run(std::vector<std::string> args) {
  if (args.empty()) {
    PrintHelp(std::cerr);
    return quenlor::cli::kExitUsage;
  }
  const std::string first = args.front();
  if (first == "--help" || first == "-h") {
    PrintHelp(std::cout);
    return quenlor::cli::kExitOk;
  }
  if (first == "--version") {
    // The reader a command would use without --reader: the one QUENLOR_READER or the
    // platform chooses.
    std::cout << "quenlor " << QUENLOR_VERSION << "\n" << quenlor::typelib::DescribeReader(quenlor::typelib::ChooseReader())
              << "\n";
    return quenlor::cli::kExitOk;
  }
  for (const auto& command : Commands()) {
    if (command.name != first) continue;
    args.erase(args.begin());
    for (const auto& arg : args) {
      if (arg == "--help" || arg == "-h") {
        std::cout << command.usage;
        return quenlor::cli::kExitOk;
      }
    }
    try {
      return command.run(args, std::cout, std::cerr);
    } catch (const quenlor::cli::UsageError& e) {
      std::cerr << "quenlor " << command.name << ": " << e.message << "\n" << command.usage;
      return quenlor::cli::kExitUsage;
    }
  }
  std::cerr << "quenlor: unknown command '" << first << "'\n";
  PrintHelp(std::cerr);
  return quenlor::cli::kExitUsage;
}

}  // namespace

namespace quenlor::cli {

int Main(std::vector<std::string> args) {
  try {
    return Run(std::move(args));
  } catch (const std::exception& e) {
    std::cerr << "quenlor: " << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace quenlor::cli
