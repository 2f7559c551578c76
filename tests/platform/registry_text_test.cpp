// The hive and .reg readers and the HKEY_CLASSES_ROOT view over what they read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/error.h"
#include "base/text.h"
#include "platform/registry_text.h"
#include "platform/registry_tree.h"

namespace quenlor::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::shared_ptr<const RegistryHives> Hive(std::string_view machine, std::string_view user = {}) {
  RegistryHivesBuilder hives;
  ParseWineHive(machine, "system.reg", hives.machine);
  if (!user.empty()) ParseWineHive(user, "user.reg", hives.user);
  return std::make_shared<const RegistryHives>(hives.Finish());
}

std::shared_ptr<const RegistryHives> Export(std::string_view bytes) {
  RegistryHivesBuilder hives;
  ParseRegExport(bytes, "export.reg", hives);
  return std::make_shared<const RegistryHives>(hives.Finish());
}

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

const RegistryValue& ValueAt(const RegistryTree& tree, const std::vector<std::string>& path, std::string_view name) {
  static const RegistryValue kMissing{99, "missing"};
  const RegistryKey* key = tree.Find(path);
  const RegistryValue* value = key ? key->FindValue(name) : nullptr;
  return value ? *value : kMissing;
}

std::u16string Units(const RegistryValue& v) {
  std::u16string out;
  for (size_t i = 0; i + 1 < v.data.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(v.data[i]) |
                                        (static_cast<unsigned char>(v.data[i + 1]) << 8)));
  }
  return out;
}

std::string Utf16Le(std::u16string_view text) {
  std::string out("\xFF\xFE", 2);
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

constexpr std::string_view kHiveStart = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n";

TEST(WineHive, ReadsEveryValueSyntax) {
  const auto hives = Hive(std::string(kHiveStart) + R"([Software\\Test\\Key] 1796770950
#time=1dd876833ba8dce
#class="some class"
@="default"
"Quote\"Name"="a\\b\"c\n\r\t\0d\x00e9\x263a\101"
"Expand"=str(2):"%SystemRoot%\\x"
"Multi"=str(7):"one\0two\0"
"Bin"=hex:01,02,\
  03,ff
"HexExpand"=hex(2):25,00,41,00,25,00,00,00
"Dword"=dword:0000002a
"Qword"=hex(b):01,00,00,00,00,00,00,00
"Empty"=hex(4):
[Software\\Test\\Link] 1
#link
"SymbolicLinkValue"=hex(6):5c,00
)");
  const std::vector<std::string> key{"Software", "Test", "Key"};
  const auto& m = hives->machine;
  EXPECT_EQ(RegistryValueText(ValueAt(m, key, ""), ""), "default");
  const auto& quoted = ValueAt(m, key, "quote\"name");  // value names ignore case too
  EXPECT_EQ(quoted.type, kRegSz);
  EXPECT_EQ(Units(quoted), std::u16string(u"a\\b\"c\n\r\t\0d\u00e9\u263aA\0", 14));
  EXPECT_EQ(RegistryValueText(quoted, "x"), "a\\b\"c\n\r\t");  // cut at the first NUL
  EXPECT_EQ(ValueAt(m, key, "Expand").type, kRegExpandSz);
  EXPECT_EQ(RegistryValueText(ValueAt(m, key, "Expand"), ""), "%SystemRoot%\\x");
  EXPECT_EQ(ValueAt(m, key, "Multi").type, kRegMultiSz);
  EXPECT_EQ(ValueAt(m, key, "Bin").data, std::string("\x01\x02\x03\xff", 4));
  EXPECT_EQ(ValueAt(m, key, "HexExpand").type, kRegExpandSz);
  EXPECT_EQ(RegistryValueText(ValueAt(m, key, "HexExpand"), ""), "%A%");
  EXPECT_EQ(ValueAt(m, key, "Dword").data, std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(ValueAt(m, key, "Qword").type, 0xbu);
  EXPECT_EQ(ErrorOf([&] { RegistryValueText(ValueAt(m, key, "Dword"), ""); }), "Invalid data type for ''");
  EXPECT_EQ(ErrorOf([&] { RegistryValueText(ValueAt(m, key, "Bin"), "Bin"); }), "Invalid data type for 'Bin'");
  // A value of another type that holds no data reads as empty text.
  EXPECT_EQ(RegistryValueText(ValueAt(m, key, "Empty"), ""), "");
  EXPECT_NE(m.Find({"software", "TEST", "link"}), nullptr);
}

TEST(WineHive, KeyNamesUnescapedAndSortedAsWineLists) {
  const auto hives = Hive(std::string(kHiveStart) + R"([A\\b] 1
[A\\_x] 1
[A\\aZ] 1
[A\\a\[\]] 1
[A\\B] 1
[A\\a\x00e4] 1
[A\\a] 1
[A\\Ab] 1
)");
  const RegistryKey* a = hives->machine.Find({"a"});
  ASSERT_NE(a, nullptr);
  std::vector<std::string> names;
  for (const auto& child : a->children) names.emplace_back(child->name);
  // "b" and "B" are one key; "_" sorts before letters, as Wine lists it.
  EXPECT_THAT(names, ElementsAre("_x", "a", "a[]", "Ab", "aZ", "a\xC3\xA4", "b"));
}

// Far more keys and values than one block of the tree's memory holds, sub-keys out of order,
// and a second file read into the same tree: every key lists in order and keeps its value.
TEST(WineHive, ManyUnorderedKeysAcrossFiles) {
  constexpr int kCount = 3000;
  auto key_name = [](int i) { return "Key" + std::to_string((i * 7919 + 1234) % kCount); };
  std::string first(kHiveStart);
  for (int i = 0; i < kCount; i += 2) {
    first += "[Big\\\\" + key_name(i) + "\\\\Sub] 1\n@=\"value of " + key_name(i) + " padded to make the text longer\"\n";
  }
  RegistryTreeBuilder builder;
  ParseWineHive(first, "system.reg", builder);
  std::string second(kHiveStart);
  for (int i = 1; i < kCount; i += 2) second += "[BIG\\\\" + key_name(i) + "] 1\n@=\"" + key_name(i) + "\"\n";
  // The first key made in the first file, spelt otherwise: found again, not made twice.
  second += "[big\\\\" + AsciiUpper(key_name(0)) + "\\\\sub] 1\n\"Extra\"=dword:00000001\n";
  ParseWineHive(second, "user.reg", builder);
  const RegistryTree tree = builder.Finish();

  const RegistryKey* big = tree.Find({"big"});
  ASSERT_NE(big, nullptr);
  ASSERT_EQ(big->children.size(), static_cast<size_t>(kCount));
  for (size_t i = 1; i < big->children.size(); ++i) {
    ASSERT_LT(CompareKeyNames(big->children[i - 1]->name, big->children[i]->name), 0) << big->children[i]->name;
  }
  for (int i = 0; i < kCount; ++i) {
    const std::string name = key_name(i);
    if (i % 2 == 0) {
      EXPECT_EQ(RegistryValueText(ValueAt(tree, {"Big", name, "Sub"}, ""), ""), "value of " + name + " padded to make the text longer");
    } else {
      EXPECT_EQ(RegistryValueText(ValueAt(tree, {"Big", name}, ""), ""), name);
    }
  }
  const RegistryKey* sub = tree.Find({"Big", key_name(0), "Sub"});
  ASSERT_NE(sub, nullptr);
  std::vector<std::string> values;
  for (const RegistryValueEntry& entry : sub->values) values.emplace_back(entry.name);
  EXPECT_THAT(values, ElementsAre("", "Extra"));
}

TEST(WineHive, BadInputNamesFileAndLine) {
  EXPECT_THAT(ErrorOf([] { Hive("REGEDIT4\n"); }), HasSubstr("system.reg:1: not a Wine registry file"));
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "@=\"x\"\n"); }), "system.reg:6: value outside a key");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[A] 1\n\"v\"=\"open\n"); }), "system.reg:7: unterminated string");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[A\n"); }), "system.reg:6: unterminated key name");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[A\\\\\\\\B] 1\n"); }), "system.reg:6: empty key name in path");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[A] 1\n@=hex:0g\n"); }), "system.reg:7: bad hex data");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[A] 1\n@=dword:123456789\n"); }), "system.reg:7: bad dword value");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[A] 1\n@=wat\n"); }), "system.reg:7: unrecognised value data");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "garbage\n"); }), "system.reg:6: unrecognised line");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + "[" + std::string(256, 'k') + "] 1\n"); }),
            "system.reg:6: key name longer than 255 characters");
  std::string deep = "[k";
  for (int i = 0; i < 600; ++i) deep += "\\\\k";
  EXPECT_EQ(ErrorOf([&] { Hive(std::string(kHiveStart) + deep + "] 1\n"); }), "system.reg:6: key path deeper than 512 levels");
  EXPECT_EQ(ErrorOf([] { Hive(std::string(kHiveStart) + std::string("\x7f" "ELF\0\0", 6)); }), "system.reg:6: unrecognised line");
}

TEST(WineHive, OneSubtreeReadAlone) {
  // What a type library lookup reads: one library's keys, the rest of the file skipped.
  const std::string text = std::string(kHiveStart) + R"([Other\\Key] 1
"bin"=hex:01,02,\
  03,04
garbage that is never looked at
[Software\\Classes\\TypeLib] 1
@="the parent's value is not read"
[Software\\Classes\\TypeLib\\{A}\\1.0\\0\\win32] 1
@="a.tlb"
[Software\\Classes\\TypeLib\\{AB}\\1.0] 1
@="another library whose name starts the same"
[SOFTWARE\\classes\\typelib\\{a}\\2.0] 1
@="b.tlb"
[Software\\Classes\\TypeLib\\\x007bA}\\3.0] 1
@="escaped"
[Software\\Classes\\TypeLib\\{A}x] 1
@="longer name"
)";
  const std::vector<std::string> part{"Software", "Classes", "TypeLib", "{a}"};
  RegistryTreeBuilder builder;
  ParseWineHive(text, "system.reg", builder, part);
  const RegistryTree tree = builder.Finish();
  EXPECT_EQ(tree.Find({"Other", "Key"}), nullptr);
  EXPECT_EQ(tree.Find({"Software", "Classes", "TypeLib", "{AB}"}), nullptr);
  EXPECT_EQ(tree.Find({"Software", "Classes", "TypeLib", "{A}x"}), nullptr);
  ASSERT_NE(tree.Find({"Software", "Classes", "TypeLib"}), nullptr);
  EXPECT_TRUE(tree.Find({"Software", "Classes", "TypeLib"})->values.empty());
  EXPECT_EQ(RegistryValueText(ValueAt(tree, {"Software", "Classes", "TypeLib", "{A}", "1.0", "0", "win32"}, ""), ""), "a.tlb");
  EXPECT_EQ(RegistryValueText(ValueAt(tree, {"Software", "Classes", "TypeLib", "{A}", "2.0"}, ""), ""), "b.tlb");
  EXPECT_EQ(RegistryValueText(ValueAt(tree, {"Software", "Classes", "TypeLib", "{A}", "3.0"}, ""), ""), "escaped");

  // Within the part, the file is checked as strictly as when it is read whole.
  const std::string broken = std::string(kHiveStart) + "[Software\\\\Classes\\\\TypeLib\\\\{A}] 1\ngarbage\n";
  EXPECT_EQ(ErrorOf([&] {
              RegistryTreeBuilder t;
              ParseWineHive(broken, "system.reg", t, part);
            }),
            "system.reg:7: unrecognised line");
}

// The keys at or below path as names and default values, one per line, indented by depth.
std::string Outline(const RegistryTree& tree, const std::vector<std::string>& path) {
  std::string out;
  auto visit = [&](auto&& self, const RegistryKey& key, size_t depth) -> void {
    out += std::string(depth, ' ') + std::string(key.name);
    if (const RegistryValue* value = key.FindValue("")) out += "=" + RegistryValueText(*value, "");
    out += "\n";
    for (const RegistryKey* child : key.children) self(self, *child, depth + 1);
  };
  if (const RegistryKey* key = tree.Find(path)) visit(visit, *key, 0);
  return out;
}

// Headers whose decoding could go one way when the file is read whole and another when only
// one subtree is read (its headers matched part by part, the rest skipped): both reads give
// the subtree the same keys and values.
TEST(WineHive, OneSubtreeReadAgreesWithWholeRead) {
  const std::vector<std::string> lib{"Software", "Classes", "TypeLib", "{A}"};
  struct Case {
    const char* what;
    std::string body;
    std::string outline;  // of lib, in both reads
  };
  const Case cases[] = {
      {"escaped brackets and characters inside names",
       R"([Software\\Classes\\TypeLib\\{A}\\\[x\]] 1
@="brackets"
[Software\\Classes\\TypeLib\\{A}\\\x41z] 1
@="hex escape"
[Software\\Classes\\TypeLib\\{A}]x] 1
@="after the first bracket"
)",
       "{A}=after the first bracket\n [x]=brackets\n Az=hex escape\n"},
      {"spaces and tabs kept inside names, trimmed before the header",
       "  \t[Software\\\\Classes\\\\TypeLib\\\\{A}\\\\ 1.0 ] 1\n@=\"spaced\"\n"
       "[Software\\\\Classes\\\\TypeLib\\\\ {A}] 1\n@=\"another key\"\n"
       "[Software\\\\Classes\\\\TypeLib\\\\{A}\\\\\\t] 1\n@=\"tab\"\n",
       "{A}\n \t=tab\n  1.0 =spaced\n"},
      {"CRLF line ends and a stray CR",
       "[Software\\\\Classes\\\\TypeLib\\\\{A}\\\\1.0] 1\r\n@=\"crlf\"\r\n"
       "[Software\\\\Classes\\\\TypeLib\\\\{A}\\\\2.0]\r\r\n@=\"two\"\r\r\n",
       "{A}\n 1.0=crlf\n 2.0=two\n"},
      {"a key given twice, in another case and out of order",
       R"([Software\\Classes\\TypeLib\\{A}\\2.0] 1
@="first"
[Software\\Classes\\TypeLib\\{A}\\1.0] 1
@="one"
[software\\classes\\typelib\\{a}\\2.0] 1
@="second"
[Software\\Classes\\TypeLib\\{A}\\2.0\\0] 1
)",
       "{A}\n 1.0=one\n 2.0=second\n  0\n"},
      {"names that begin as the path does, and comments that look like headers",
       R"([Software\\Classes\\TypeLib\\{A}x] 1
@="longer"
[Software\\Classes\\TypeLibs\\{A}] 1
;[Software\\Classes\\TypeLib\\{A}\\commented] 1
#[Software\\Classes\\TypeLib\\{A}\\hashed] 1
[Software\\Classes\\TypeLib\\\x007bA}\\1.0] 1
@="escaped brace"
)",
       "{A}\n 1.0=escaped brace\n"},
  };
  for (const Case& c : cases) {
    const std::string text = std::string(kHiveStart) + c.body;
    RegistryTreeBuilder builder;
    ParseWineHive(text, "system.reg", builder);
    const RegistryTree whole = builder.Finish();
    ParseWineHive(text, "system.reg", builder, lib);
    const RegistryTree part = builder.Finish();
    EXPECT_EQ(Outline(whole, lib), c.outline) << c.what;
    EXPECT_EQ(Outline(part, lib), c.outline) << c.what;
  }
}

TEST(RegExport, Regedit4EightBitText) {
  const auto hives = Export(
      "REGEDIT4\r\n\r\n"
      "; comment\r\n"
      "[HKEY_CLASSES_ROOT\\TypeLib\\{X}\\1.0]\r\n"
      "@=\"Caf\xE9 \\\"Lib\\\" C:\\\\x\"\r\n"
      "\"N\"=dword:00000001\r\n"
      "[HKEY_CLASSES_ROOT\\TypeLib\\{X}\\1.0\\0\\win32]\r\n"
      "@=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,80,00\r\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\Mine]\r\n"
      "@=\"user\"\r\n"
      "[HKEY_USERS\\.DEFAULT\\Ignored]\r\n"
      "@=\"left out\"\r\n");
  EXPECT_EQ(RegistryValueText(ValueAt(hives->machine, {"Software", "Classes", "TypeLib", "{X}", "1.0"}, ""), ""),
            "Caf\xC3\xA9 \"Lib\" C:\\x");
  const auto& path = ValueAt(hives->machine, {"SOFTWARE", "classes", "typelib", "{x}", "1.0", "0", "WIN32"}, "");
  EXPECT_EQ(path.type, kRegExpandSz);
  EXPECT_EQ(RegistryValueText(path, ""), "%SystemRoot%\\\xE2\x82\xAC");  // 0x80 is the euro sign
  EXPECT_EQ(RegistryValueText(ValueAt(hives->user, {"Software", "Classes", "Mine"}, ""), ""), "user");
  EXPECT_EQ(hives->machine.Find({".DEFAULT"}), nullptr);
}

TEST(RegExport, Version5Utf16WithContinuationsAndDeletions) {
  const auto hives = Export(Utf16Le(
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\{Y}\\2.0]\r\n"
      u"@=\"\u65e5\u672c\"\r\n"
      u"\"Gone\"=\"x\"\r\n"
      u"\"Gone\"=-\r\n"
      u"[HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\{Y}\\2.0\\9\\win32]\r\n"
      u"@=hex(2):25,00,41,00,\\\r\n"
      u"  25,00,00,00\r\n"
      u"\"Text\"=\"line one\r\nline two\"\r\n"
      u"[HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\{Y}\\2.0\\9\\win64]\r\n"
      u"[-HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\{Y}\\2.0\\9\\win64]\r\n"));
  const std::vector<std::string> version{"Software", "Classes", "TypeLib", "{Y}", "2.0"};
  EXPECT_EQ(RegistryValueText(ValueAt(hives->machine, version, ""), ""), "\xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(hives->machine.Find(version)->FindValue("Gone"), nullptr);
  auto win32 = version;
  win32.insert(win32.end(), {"9", "win32"});
  EXPECT_EQ(RegistryValueText(ValueAt(hives->machine, win32, ""), ""), "%A%");
  EXPECT_EQ(RegistryValueText(ValueAt(hives->machine, win32, "Text"), ""), "line one\nline two");
  auto locale = version;
  locale.push_back("9");
  ASSERT_NE(hives->machine.Find(locale), nullptr);
  ASSERT_EQ(hives->machine.Find(locale)->children.size(), 1u);
  EXPECT_EQ(hives->machine.Find(locale)->children[0]->name, "win32");
}

TEST(RegExport, DeletedKeysAndValuesComeBackAsWrittenLast) {
  const auto hives = Export(
      "REGEDIT4\n"
      "[HKEY_LOCAL_MACHINE\\A\\Gone\\Deep]\n@=\"old\"\n"
      "[HKEY_LOCAL_MACHINE\\A\\Kept]\n\"One\"=\"1\"\n\"Two\"=\"2\"\n\"Three\"=\"3\"\n"
      "\"two\"=-\n\"ONE\"=\"first again\"\n"
      "[-HKEY_LOCAL_MACHINE\\A\\Gone]\n"
      "[HKEY_LOCAL_MACHINE\\A\\Zed]\n"
      "[HKEY_LOCAL_MACHINE\\A\\GONE]\n@=\"new\"\n");
  const RegistryKey* a = hives->machine.Find({"A"});
  ASSERT_NE(a, nullptr);
  std::vector<std::string> names;
  for (const auto& child : a->children) names.emplace_back(child->name);
  EXPECT_THAT(names, ElementsAre("GONE", "Kept", "Zed"));
  EXPECT_EQ(hives->machine.Find({"A", "Gone", "Deep"}), nullptr);
  EXPECT_EQ(RegistryValueText(ValueAt(hives->machine, {"A", "gone"}, ""), ""), "new");
  std::vector<std::string> values;
  for (const RegistryValueEntry& entry : hives->machine.Find({"A", "Kept"})->values) {
    values.push_back(std::string(entry.name) + "=" + RegistryValueText(entry.value, entry.name));
  }
  // A value set again keeps its place and its first spelling.
  EXPECT_THAT(values, ElementsAre("One=first again", "Three=3"));
}

TEST(RegExport, BadInput) {
  EXPECT_EQ(ErrorOf([] { Export("REGEDIT4\n\"v\"=\"x\"\n"); }), "export.reg:2: value outside a key");
  EXPECT_EQ(ErrorOf([] { Export("REGEDIT4\n[HKEY_NOWHERE\\X]\n"); }), "export.reg:2: unknown root key 'HKEY_NOWHERE'");
  EXPECT_EQ(ErrorOf([] { Export("REGEDIT4\n[HKLM\\X]\n@=\"open\n\n"); }), "export.reg:3: unterminated string");
  EXPECT_EQ(ErrorOf([] { Export("\xFF\xFEW\0x"); }), "export.reg: truncated UTF-16 text");
  EXPECT_EQ(ErrorOf([] { Export("Windows Registry Editor Version 4.00\n"); }), "export.reg:1: not a .reg file");
}

TEST(ClassesRoot, UserClassesOverMachineClasses) {
  const auto hives = Hive(std::string(kHiveStart) + R"([Software\\Classes\\TypeLib\\{B}\\1.0] 1
@="machine"
[Software\\Classes\\TypeLib\\{C}] 1
[Software\\Classes\\TypeLib\\{A}] 1
)",
                          std::string("WINE REGISTRY Version 2\n") + R"([Software\\Classes\\TypeLib\\{b}\\1.0] 1
#time=1
[Software\\Classes\\TypeLib\\{b}\\1.0\\0] 1
[Software\\Classes\\TypeLib\\{AA}] 1
)");
  auto reader = MakeClassesRootReader(hives);
  // Nothing is open yet: nothing to list or read.
  EXPECT_THAT(reader->GetKeyNames(), IsEmpty());
  EXPECT_EQ(reader->ReadDefaultString(), "");
  ASSERT_TRUE(reader->OpenKey("\\TYPELIB"));
  // "}" sorts after letters once they are lower-cased.
  EXPECT_THAT(reader->GetKeyNames(), ElementsAre("{AA}", "{A}", "{b}", "{C}"));
  ASSERT_TRUE(reader->OpenKey("{B}\\1.0"));
  // The user's key exists, so its (missing) value is the one read.
  EXPECT_EQ(reader->ReadDefaultString(), "");
  EXPECT_THAT(reader->GetKeyNames(), ElementsAre("0"));
  // A failed open leaves the reader where it was.
  EXPECT_FALSE(reader->OpenKey("missing"));
  EXPECT_FALSE(reader->OpenKey("\\TypeLib\\\\{A}"));
  EXPECT_THAT(reader->GetKeyNames(), ElementsAre("0"));
  // Paths that share the open key's leading keys, spelt in another case or not.
  ASSERT_TRUE(reader->OpenKey("\\typelib\\{b}\\1.0\\0"));
  ASSERT_TRUE(reader->OpenKey("\\TYPELIB\\{B}\\1.0"));
  EXPECT_THAT(reader->GetKeyNames(), ElementsAre("0"));
  EXPECT_FALSE(reader->OpenKey("\\TypeLib\\{B}\\2.0"));
  ASSERT_TRUE(reader->OpenKey("\\TypeLib\\{C}"));
  EXPECT_THAT(reader->GetKeyNames(), IsEmpty());
  ASSERT_TRUE(reader->OpenKey("\\"));
  EXPECT_THAT(reader->GetKeyNames(), ElementsAre("TypeLib"));

  const auto machine_only = Hive(std::string(kHiveStart) + "[Software\\\\Classes\\\\TypeLib\\\\{B}\\\\1.0] 1\n@=\"machine\"\n");
  auto plain = MakeClassesRootReader(machine_only);
  ASSERT_TRUE(plain->OpenKey("\\TypeLib\\{b}\\1.0"));
  EXPECT_EQ(plain->ReadDefaultString(), "machine");
}

}  // namespace
}  // namespace quenlor::platform
