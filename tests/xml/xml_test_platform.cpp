// The parts of the suite's platform knowledge that follow from UnderWine and the file layer,
// the same in both builds.
#include "xml_test_platform.h"

#include <filesystem>

#include "base/file.h"

namespace quenlor::xml::test {

std::string Built(const std::string& xml) {
  if (!UnderWine()) return xml;
  std::string out;
  for (size_t i = 0; i < xml.size(); ++i) {
    if (xml[i] == '\r' && i + 1 < xml.size() && xml[i + 1] == '\n' && i > 0 && xml[i - 1] == '>') {
      size_t j = i + 2;
      while (j < xml.size() && xml[j] == '\t') ++j;
      if (j < xml.size() && xml[j] == '<') {
        i = j - 1;
        continue;
      }
    }
    out += xml[i];
  }
  return out;
}

std::string TempFolder(const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() / ("quenlor-xml-test-" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return PathToUtf8(folder);
}

}  // namespace quenlor::xml::test
