// The MSFT parser on damaged copies of Wine's stdole2: each kind of structural damage fails
// with the platform's code, caught by the check meant for it, at the place it looked.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/file.h"
#include "typelib/reader/reader.h"
#include "damage_case.h"

namespace quenlor::typelib::reader {
namespace {

const std::string kStdole = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb";

std::uint32_t GetU32(const std::vector<std::uint8_t>& b, std::uint64_t at) {
  return Cursor(b, at).U32();
}

class MsftStdole : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto file = ReadWholeFile(kStdole);
    ASSERT_TRUE(file) << kStdole;
    Bytes image;
    ASSERT_TRUE(FindTypeLibImage(*file, 1, image).ok());
    image_.assign(image.begin(), image.end());
    Library lib;
    ASSERT_TRUE(ParseMsft(image_, lib).ok());
    // The header's layout: the type count at 0x20, then (no help DLL in this file) the
    // type offsets from 0x54 and the segment directory after them.
    ASSERT_EQ(GetU32(image_, 0x14) & 0x100, 0u);
    types_ = GetU32(image_, 0x20);
    directory_ = 0x54 + 4ull * types_;
  }

  // Segment `i`'s directory entry and its start in the image.
  std::uint64_t Entry(int i) const { return directory_ + 16ull * i; }
  std::uint64_t Segment(int i) const { return GetU32(image_, Entry(i)); }

  ReadResult Parse(const std::vector<std::uint8_t>& bytes) const {
    Library lib;
    return ParseMsft(bytes, lib);
  }

  std::vector<std::uint8_t> image_;
  std::uint32_t types_ = 0;
  std::uint64_t directory_ = 0;
};

constexpr int kTypeInfoTab = 0, kGuidTab = 5, kNameTab = 7, kStringTab = 8, kCustDataGuids = 12;

TEST_F(MsftStdole, StructuralDamageIsCaughtByItsOwnCheck) {
  const std::uint64_t type_table = Segment(kTypeInfoTab);
  const std::uint32_t names_size = GetU32(image_, Entry(kNameTab) + 4);
  const std::uint32_t strings_size = GetU32(image_, Entry(kStringTab) + 4);
  const std::uint32_t guids_size = GetU32(image_, Entry(kGuidTab) + 4);
  const std::uint32_t custom_size = GetU32(image_, Entry(kCustDataGuids) + 4);
  // Type 3 (a dispatch type with three functions) and the first of its member records.
  const std::uint64_t type3 = type_table + 3 * 0x64;
  const std::uint64_t area = GetU32(image_, type3 + 4);
  const std::uint32_t area_size = GetU32(image_, area);
  const std::uint32_t members = GetU32(image_, type3 + 0x18);
  const std::uint64_t record = area + 4 + GetU32(image_, area + 4 + area_size + 8ull * (members & 0xFFFF));
  testing::ExpectEachCaught(image_, 4, {
      {0, 0x4C54534D, "no MSFT signature", 0},
      {0x20, 0x00FFFFFF, "type count beyond the image", 0x20},
      {Entry(kNameTab), 0x7FFFFFFF, "segment outside the file", Entry(kNameTab)},
      {Entry(kNameTab) + 4, static_cast<std::uint32_t>(image_.size()), "segment outside the file", Entry(kNameTab)},
      {0x54 + 4, GetU32(image_, Entry(kTypeInfoTab) + 4), "type record outside the type table",
       type_table + GetU32(image_, Entry(kTypeInfoTab) + 4)},
      {0x08, guids_size, "GUID outside the GUID table", Segment(kGuidTab) + guids_size},
      {0x38, names_size, "name outside the name table", Segment(kNameTab) + names_size},
      {0x24, strings_size, "string outside the string table", Segment(kStringTab) + strings_size},
      {0x40, custom_size, "custom data entry outside its table", Segment(kCustDataGuids) + custom_size},
      {type3 + 4, 0x7FFFFFF0, "member area outside the file", 0x7FFFFFF0},
      {area, 0x7FFFFFFF, "member area outside the file", area},
      {record, 0xFFFF, "function record outside the member area", record},
      {record + 20, 0x1000, "function record shorter than its parameters", record},
  }, [this](const std::vector<std::uint8_t>& damaged) { return Parse(damaged); });
}

TEST_F(MsftStdole, ChainsThatLoopEndAtTheirTablesSize) {
  // The library's custom data: point its last entry's link back at the first one.
  std::vector<std::uint8_t> damaged = image_;
  const std::uint64_t table = Segment(kCustDataGuids);
  const std::uint32_t first = GetU32(damaged, 0x40);
  ASSERT_NE(first, 0xFFFFFFFFu);
  std::uint32_t last = first;
  while (GetU32(damaged, table + last + 8) != 0xFFFFFFFFu) last = GetU32(damaged, table + last + 8);
  testing::Overwrite(damaged, table + last + 8, first, 4);
  const ReadResult result = Parse(damaged);
  EXPECT_EQ(result.code, kTypeECantLoadLibrary);
  EXPECT_STREQ(result.failure.reason, "custom data chain loops");
}

TEST_F(MsftStdole, EveryTruncationFailsAndSaysWhy) {
  for (std::size_t size = 0; size < image_.size(); size += 1 + size / 8) {
    const std::vector<std::uint8_t> cut(image_.begin(), image_.begin() + static_cast<std::ptrdiff_t>(size));
    const ReadResult result = Parse(cut);
    EXPECT_EQ(result.code, kTypeECantLoadLibrary) << size;
    EXPECT_NE(std::string(result.failure.reason), "") << size;
    EXPECT_LE(result.failure.offset, image_.size()) << size;
  }
}

TEST(ReaderEntry, FormatsAndContainersAreToldApart) {
  const auto file = ReadWholeFile(kStdole);
  ASSERT_TRUE(file);
  EXPECT_EQ(DetectFormat(*file), ImageFormat::Executable);
  Bytes image;
  ASSERT_TRUE(FindTypeLibImage(*file, 1, image).ok());
  EXPECT_EQ(DetectFormat(image), ImageFormat::Msft);
  const std::vector<std::uint8_t> sltg = {'S', 'L', 'T', 'G', 0, 0};
  EXPECT_EQ(DetectFormat(sltg), ImageFormat::Sltg);
  EXPECT_EQ(DetectFormat(std::vector<std::uint8_t>{'M', 'Z'}), ImageFormat::Executable);
  EXPECT_EQ(DetectFormat(std::vector<std::uint8_t>{'M', 'S', 'F'}), ImageFormat::Unknown);

  Library lib;
  ReadResult result = ReadTypeLibrary(*file, 1, lib);
  ASSERT_TRUE(result.ok());
  EXPECT_TRUE(lib.msft);
  EXPECT_EQ(lib.name, "stdole");
  result = ReadTypeLibrary(*file, 2, lib);
  EXPECT_EQ(result.code, kTypeECantLoadLibrary);
  EXPECT_STREQ(result.failure.reason, "no such TYPELIB resource");
  const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
  result = ReadTypeLibrary(text, 1, lib);
  EXPECT_EQ(result.code, kTypeECantLoadLibrary);
  EXPECT_STREQ(result.failure.reason, "no type library signature");
}

}  // namespace
}  // namespace quenlor::typelib::reader
