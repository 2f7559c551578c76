#include <filesystem>

#include "xml_test_platform.h"

namespace quenlor::xml::test {

bool UnderWine() { return false; }
bool UsesMsxml() { return false; }

std::string TempFolder(const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() / ("quenlor-xml-test-" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

}  // namespace quenlor::xml::test
