// The built-in reader and the platform's LoadTypeLibEx give byte-identical descriptions
// (or fail together) for every corpus library and fixture: the writers depend on nothing
// but the access port.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "typelib/scan/type_lib_scan.h"

namespace quenlor::typelib::scan {
namespace {

namespace fs = std::filesystem;

std::string Described(const fs::path& file, ReaderKind reader) {
  const xml::DocumentPtr document = LoadTypeLibDescription(file.string(), reader);
  return document ? document->GetXml() : std::string("invalid typelib");
}

std::vector<fs::path> Libraries() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(QUENLOR_CORPUS_DIR))
    if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
  for (const auto& entry : fs::directory_iterator(fs::path(QUENLOR_BINARY_DIR) / "fixtures"))
    if (entry.path().extension() == ".tlb") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(PlatformEquality, BuiltinReaderDescribesLikeThePlatform) {
  // qimports finds qkinds by its bare file name, beside the current directory.
  fs::current_path(fs::path(QUENLOR_BINARY_DIR) / "fixtures");
  int equal = 0;
  for (const auto& file : Libraries()) {
    const std::string platform = Described(file, ReaderKind::Platform);
    const std::string builtin = Described(file, ReaderKind::Builtin);
    const bool same = platform == builtin;
    equal += same ? 1 : 0;
    std::cout << (same ? "equal    " : "DIFFERENT") << "  " << file.string()
              << (platform == "invalid typelib" ? "  (does not load)" : "") << "\n";
    if (!same) {
      std::size_t at = 0;
      while (at < platform.size() && at < builtin.size() && platform[at] == builtin[at]) ++at;
      const std::size_t from = at > 200 ? at - 200 : 0;
      ADD_FAILURE() << file << " differs at byte " << at << "\nplatform: " << platform.substr(from, 400)
                    << "\nbuilt-in: " << builtin.substr(from, 400);
    }
  }
  std::cout << equal << " libraries describe identically\n";
}

}  // namespace
}  // namespace quenlor::typelib::scan
