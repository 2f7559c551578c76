#include "app/cli/command.h"

int main(int argc, char** argv) { return quenlor::cli::Main(std::vector<std::string>(argv + 1, argv + argc)); }
