// The built-in reader and the platform's LoadTypeLibEx give byte-identical descriptions
// (or fail together) for every corpus library and fixture: the writers depend on nothing
// but the access port.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "description/type_lib_scan.h"

namespace quenlor::description {
namespace {

namespace fs = std::filesystem;

std::string Described(const fs::path& file, typelib::ReaderKind reader) {
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

// Where Wine's LoadTypeLibEx is known to read these files wrongly, the built-in reader keeps
// what the file says: Wine's SLTG loader gives fixed-size arrays garbage bounds and loses
// references to other libraries (stdole32's GUID.Data4, SHELLLNK's FILETIME fields and
// IPersistFile's base), and it cannot resolve qtypes' alias of a pointer typedef
// (QLongPointer). Only these files may differ; the list is Wine's, not Windows'.
bool KnownWineDivergence(const fs::path& file) {
  const std::string name = file.filename().string();
  if (name == "stdole32.tlb") return file.parent_path().filename() == "legacy";  // the SLTG one
  return name == "SHELLLNK.TLB" || name == "qtypes-win32.tlb" || name == "qtypes-win64.tlb";
}

TEST(PlatformEquality, BuiltinReaderDescribesLikeThePlatform) {
  // qimports finds qkinds by its bare file name, beside the current directory.
  fs::current_path(fs::path(QUENLOR_BINARY_DIR) / "fixtures");
  int equal = 0;
  for (const auto& file : Libraries()) {
    const std::string platform = Described(file, typelib::ReaderKind::Platform);
    const std::string builtin = Described(file, typelib::ReaderKind::Builtin);
    const bool same = platform == builtin;
    equal += same ? 1 : 0;
    const bool known = !same && KnownWineDivergence(file);
    std::cout << (same ? "equal    " : known ? "known    " : "DIFFERENT") << "  " << file.string()
              << (platform == "invalid typelib" ? "  (does not load)" : "") << "\n";
    if (!same && !known) {
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
}  // namespace quenlor::description
