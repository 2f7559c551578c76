// The base layer's conversions and file writing: what every other layer trusts without
// checking again.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <thread>
#include <vector>

#include "base/error.h"
#include "base/file.h"
#include "base/text.h"
#include "base/variant.h"

namespace quenlor {
namespace {

namespace fs = std::filesystem;

const std::string kReplacement = "\xEF\xBF\xBD";

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(Utf8, WellFormedTextSurvivesBothWays) {
  // One, two, three and four bytes; the last needs a surrogate pair in UTF-16.
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, (std::u16string{u'a', 0xE9, 0x20AC, 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(std::string("nul\0inside", 10))), std::string("nul\0inside", 10));
}

TEST(Utf8, IllFormedBytesBecomeOneReplacementEach) {
  struct Case {
    const char* bytes;
    int replacements;
  } cases[] = {
      {"\x80", 1},              // a continuation byte alone
      {"\xC0\x80", 2},          // an overlong NUL
      {"\xE0\x80\xAF", 3},      // an overlong '/'
      {"\xED\xA0\x80", 3},      // a surrogate written in UTF-8
      {"\xF4\x90\x80\x80", 4},  // past U+10FFFF
      {"\xFF", 1},              // never a lead byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(std::string("<") + c.bytes + ">")), "<" + Repeat(kReplacement, c.replacements) + ">")
        << c.bytes;
  }
  // A sequence cut short by the end of the text, or by a byte that does not continue it,
  // loses only its lead byte: what follows is read again.
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("x\xE2\x82")), "x" + Repeat(kReplacement, 2));
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xE2z")), kReplacement + "z");
}

TEST(Utf8, LoneSurrogatesInUtf16BecomeReplacements) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b'}), "a" + kReplacement + "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), Repeat(kReplacement, 2));
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD83D}), "a" + kReplacement);
}

// The window's list items and the catalogue's sort keys both read fields this way.
TEST(Text, ItemFieldsBetweenSeparators) {
  EXPECT_EQ(ItemField("name|{ID}|C:\\x.tlb", 0), "name");
  EXPECT_EQ(ItemField("name|{ID}|C:\\x.tlb", 1), "{ID}");
  EXPECT_EQ(ItemField("name|{ID}|C:\\x.tlb|extra", 2), "C:\\x.tlb");
  EXPECT_EQ(ItemField("name|id|path|", 3), "");
  EXPECT_EQ(ItemField("name|{ID}", 2), "");
  EXPECT_EQ(ItemField("a||b", 1), "");
  EXPECT_EQ(ItemField("|{ID}| path ", 0), "");
  EXPECT_EQ(ItemField("|{ID}| path ", 2), " path ");
  EXPECT_EQ(ItemField(" a |b", 0), " a ");
  EXPECT_EQ(ItemField("", 0), "");
  EXPECT_EQ(ItemField("a|b", -1), "");
  EXPECT_EQ(ItemField("a;b|c", 1, ';'), "b|c");
}

TEST(Text, HexDigitsOfEitherCaseAndNothingElse) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  for (char c : std::string("gG/:@`xX -\0", 11)) EXPECT_EQ(HexDigitValue(c), -1) << static_cast<int>(c);
  EXPECT_EQ(HexDigitValue(static_cast<char>(0xC1)), -1);
}

class FileTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quenlor_base_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const std::string& name) const { return PathToUtf8(folder_ / PathFromUtf8(name)); }
  static std::string Content(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder_)) names.push_back(PathToUtf8(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path folder_;
};

TEST_F(FileTest, AtomicWriteReplacesWholeAndLeavesNothingBeside) {
  const std::string path = Path("caf\xC3\xA9.xml");  // a name only UTF-8 can spell
  WriteFileAtomically(path, "first version, longer than the second");
  WriteFileAtomically(path, std::string("se\0cond", 7));
  EXPECT_EQ(Content(path), std::string("se\0cond", 7));
  EXPECT_EQ(Entries(), std::vector<std::string>{"caf\xC3\xA9.xml"});
  const auto read = ReadWholeFile(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(std::string(read->begin(), read->end()), std::string("se\0cond", 7));
}

TEST_F(FileTest, WritersSavingTheSameFileAtOnceAllSucceedAndOneWholeVersionStays) {
  const std::string path = Path("typelibs.xml");
  const std::string a(200000, 'a'), b(100000, 'b');
  int failures = 0;
  auto writer = [&](const std::string& text, int& failed) {
    for (int i = 0; i < 40; ++i) {
      try {
        WriteFileAtomically(path, text);
      } catch (const Error&) {
        ++failed;
      }
    }
  };
  int failed_a = 0, failed_b = 0;
  std::thread first(writer, std::cref(a), std::ref(failed_a));
  std::thread second(writer, std::cref(b), std::ref(failed_b));
  first.join();
  second.join();
  failures = failed_a + failed_b;
  EXPECT_EQ(failures, 0);
  const std::string content = Content(path);
  EXPECT_TRUE(content == a || content == b) << content.size() << " bytes";
  EXPECT_EQ(Entries(), std::vector<std::string>{"typelibs.xml"});
}

TEST_F(FileTest, FailedWritesSayWhichPathAndKeepWhatWasThere) {
  const std::string missing = Path("no such folder/out.pas");
  try {
    WriteFileAtomically(missing, "text");
    FAIL() << "a write into a missing folder succeeded";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
  }
  // A folder in the target's place: the rename fails, the folder and its content stay, and
  // the temporary file is gone.
  const std::string taken = Path("taken");
  fs::create_directories(PathFromUtf8(taken + "/inner"));
  EXPECT_THROW(WriteFileAtomically(taken, "text"), Error);
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(taken + "/inner")));
  EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});
}

TEST_F(FileTest, ReadingRefusesWhatItCannotOrMustNotRead) {
  const std::string path = Path("data.bin");
  WriteFileAtomically(path, "0123456789");
  EXPECT_TRUE(ReadWholeFile(path, 10).has_value());
  EXPECT_FALSE(ReadWholeFile(path, 9).has_value());  // over the limit: refused, not cut
  EXPECT_FALSE(ReadWholeFile(Path("absent")).has_value());
  EXPECT_FALSE(ReadWholeFile(PathToUtf8(folder_)).has_value());
  WriteFileAtomically(Path("empty"), "");
  const auto empty = ReadWholeFile(Path("empty"));
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());
}

TEST(Variant, RealsAndCurrencyRoundHalvesToEvenAndOverflowToZero) {
  EXPECT_EQ(VariantToInt32(Variant::Real(2.5)), 2);
  EXPECT_EQ(VariantToInt32(Variant::Real(3.5)), 4);
  EXPECT_EQ(VariantToInt32(Variant::Real(-2.5)), -2);
  EXPECT_EQ(VariantToInt32(Variant::Real(-2.6, VT_R4_)), -3);
  EXPECT_EQ(VariantToInt32(Variant::Real(2147483647.4)), INT_MAX);
  EXPECT_EQ(VariantToInt32(Variant::Real(-2147483648.0)), INT_MIN);
  EXPECT_EQ(VariantToInt32(Variant::Real(2147483647.6)), 0);
  EXPECT_EQ(VariantToInt32(Variant::Real(std::numeric_limits<double>::quiet_NaN())), 0);
  EXPECT_EQ(VariantToInt32(Variant::Real(INFINITY)), 0);
  EXPECT_EQ(VariantToInt32(Variant::Date(1.5)), 2);
  EXPECT_EQ(VariantToInt32(Variant::Currency(25000)), 2);  // 2.5000
  EXPECT_EQ(VariantToInt32(Variant::Currency(35000)), 4);
  EXPECT_EQ(VariantToInt32(Variant::Currency(-15001)), -2);
}

TEST(Variant, DecimalsRoundOnEveryDigitDividedOff) {
  auto decimal = [](std::uint64_t lo, std::uint8_t scale, bool negative = false, std::uint32_t hi = 0) {
    Variant v;
    v.vt = VT_DECIMAL_;
    v.decimal = {scale, static_cast<std::uint8_t>(negative ? 0x80 : 0), hi, lo};
    return v;
  };
  EXPECT_EQ(VariantToInt32(decimal(25, 1)), 2);
  EXPECT_EQ(VariantToInt32(decimal(35, 1)), 4);
  EXPECT_EQ(VariantToInt32(decimal(2501, 3)), 3);  // 2.501: the digit past the half counts
  EXPECT_EQ(VariantToInt32(decimal(2500, 3)), 2);
  EXPECT_EQ(VariantToInt32(decimal(2147483648ull, 0, true)), INT_MIN);
  EXPECT_EQ(VariantToInt32(decimal(2147483648ull, 0)), 0);
  EXPECT_EQ(VariantToInt32(decimal(0, 0, false, 1)), 0);  // 2^64
  // 2^64 / 10^10 = 1844674407.3709551616 : the high part shrinks into range.
  EXPECT_EQ(VariantToInt32(decimal(0, 10, false, 1)), 1844674407);
}

TEST(Variant, IntegersTruncateAndTextParses) {
  EXPECT_EQ(VariantToInt32(Variant::Int(0xFFFFFFFFll, VT_UI4_)), -1);
  EXPECT_EQ(VariantToInt32(Variant::Int(0x100000005ll, VT_I8_)), 5);
  EXPECT_EQ(VariantToInt32(Variant::Bool(true)), -1);
  EXPECT_EQ(VariantToInt32(Variant::String("-42")), -42);
  EXPECT_EQ(VariantToInt32(Variant::String("forty")), 0);
  EXPECT_EQ(VariantToInt32(Variant::String("99999999999")), 0);
  EXPECT_EQ(VariantToInt32(Variant::Empty()), 0);
  EXPECT_EQ(VariantToInt32(Variant::Null()), 0);
}

}  // namespace
}  // namespace quenlor
