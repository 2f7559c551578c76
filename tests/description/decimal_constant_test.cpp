// Constants stored as a DECIMAL, read from a library file. No IDL compiler writes one, so the
// test makes it from a widl fixture: qparams' enumeration QMode, whose member qmSlow gets its
// value from a DECIMAL put where the fixture stored a long string default.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/file.h"
#include "description/type_lib_scan.h"

namespace quenlor::description {
namespace {

namespace fs = std::filesystem;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

struct Decimal {
  std::uint8_t scale;
  bool negative;
  std::uint64_t lo64;
};

// Rewrites the MSFT image: the value of the last member of the first enumeration becomes
// `value`, a custom-data blob (WORD vt, WORD reserved, BYTE scale, BYTE sign, DWORD hi32,
// QWORD lo64) that overwrites the blob of the string default `marker`.
std::optional<std::string> PatchLastEnumMember(std::vector<std::uint8_t>& image, const std::string& marker,
                                               Decimal value) {
  if (U32(image, 0) != 0x5446534D) return "no MSFT image";
  const std::uint32_t varflags = U32(image, 0x14), types = U32(image, 0x20);
  const std::size_t directory = 0x54 + ((varflags & 0x100) ? 4 : 0) + 4 * types;
  const std::uint32_t typeinfo_segment = U32(image, directory + 0 * 16);
  const std::uint32_t custom_data = U32(image, directory + 11 * 16);

  const auto found = std::search(image.begin(), image.end(), marker.begin(), marker.end());
  if (found == image.end()) return "no string default " + marker;
  const std::size_t blob = static_cast<std::size_t>(found - image.begin()) - 6;
  if (image.at(blob) != 8 || U32(image, blob + 2) != marker.size()) return "the string is no BSTR value";

  for (std::uint32_t t = 0; t < types; ++t) {
    const std::size_t record = typeinfo_segment + 0x64 * t;
    if ((U32(image, record) & 0xF) != 0) continue;  // not an enumeration
    const std::uint32_t vars = U32(image, record + 0x18) >> 16;
    if (vars == 0) continue;
    // Offsets of the records, after the length, the records, the member ids and the names.
    const std::size_t block = U32(image, record + 4);
    const std::size_t area = block + 4;
    const std::size_t offsets = area + U32(image, block) + 8 * vars;
    const std::size_t var = area + U32(image, offsets + 4 * (vars - 1));
    if ((U32(image, var + 0x0C) & 0xFFFF) != 2) return "the member is no constant";
    Put32(image, var + 0x10, static_cast<std::uint32_t>(blob - custom_data));
    image[blob] = 14;  // VT_DECIMAL
    image[blob + 1] = 0;
    image[blob + 2] = image[blob + 3] = 0;
    image[blob + 4] = value.scale;
    image[blob + 5] = value.negative ? 0x80 : 0;
    Put32(image, blob + 6, 0);
    for (int i = 0; i < 8; ++i) image[blob + 10 + i] = static_cast<std::uint8_t>(value.lo64 >> (8 * i));
    return std::nullopt;
  }
  return "no enumeration with members";
}

std::string DescribedMember(const Decimal& value) {
  const fs::path fixture = fs::path(QUENLOR_BINARY_DIR) / "fixtures" / "qparams-win64.tlb";
  auto bytes = ReadWholeFile(fixture.string());
  if (!bytes) return "missing " + fixture.string();
  const std::string longest_default = "a somewhat longer default text that needs more than one block of storage";
  if (const auto failure = PatchLastEnumMember(*bytes, longest_default, value)) return *failure;
  const fs::path patched = fs::temp_directory_path() / ("quenlor-decimal-" + std::to_string(value.lo64) + ".tlb");
  WriteFileAtomically(patched.string(), std::string(bytes->begin(), bytes->end()));
  const xml::DocumentPtr document = LoadTypeLibDescription(patched.string(), typelib::ReaderKind::Builtin);
  fs::remove(patched);
  if (!document) return "invalid typelib";
  const std::string text = document->GetXml();
  const auto at = text.find("name=\"qmSlow\"");
  if (at == std::string::npos) return "no member qmSlow";
  return text.substr(at, text.find('/', at) - at);
}

// Integers as they are, fractions rounded to the nearest integer with halves to even, as
// the platform converts a DECIMAL to a 32-bit integer.
TEST(DecimalConstants, AreDescribedAsRoundedIntegers) {
  EXPECT_EQ(DescribedMember({0, false, 123456}), "name=\"qmSlow\" value=\"123456\"");
  EXPECT_EQ(DescribedMember({1, false, 123455}), "name=\"qmSlow\" value=\"12346\"");
  EXPECT_EQ(DescribedMember({1, false, 123445}), "name=\"qmSlow\" value=\"12344\"");
  EXPECT_EQ(DescribedMember({2, true, 751}), "name=\"qmSlow\" value=\"-8\"");
  EXPECT_EQ(DescribedMember({0, true, 2147483648ull}), "name=\"qmSlow\" value=\"-2147483648\"");
  // Beyond a 32-bit integer there is no value to give.
  EXPECT_EQ(DescribedMember({0, false, 2147483648ull}), "name=\"qmSlow\" value=\"0\"");
}

}  // namespace
}  // namespace quenlor::description
