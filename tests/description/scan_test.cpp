// The scan driver and the header every item starts with.
#include <gtest/gtest.h>

#include "describe.h"

namespace quenlor::description {
namespace {

using testing::Describe;
using testing::DescribeOnly;
using testing::FakeTypeInfo;
using testing::FakeTypeLib;
using testing::Param;
using testing::Ptr;
using testing::Vt;

constexpr std::uint16_t kIn = 0x01, kOut = 0x02, kRetval = 0x08;

TEST(ScanTypeLib, DescribesTheDemoLibrary) {
  FakeTypeLib lib("Demo");
  auto color = lib.Add(typelib::TKIND_ENUM_, "Color");
  color->AddVar("Red", 0x40000000, Vt(VT_I4_), Variant::Int(0)).AddVar("Green", 0x40000001, Vt(VT_I4_), Variant::Int(1));
  auto unknown = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IUnknown");
  auto shape = lib.Add(typelib::TKIND_INTERFACE_, "IShape");
  shape->attr.guid = typelib::Guid{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  shape->Inherit(unknown).AddFunc("Area", 0x60020000, {Param(Ptr(Vt(VT_R8_)), kOut | kRetval)}, {"Value"});
  EXPECT_EQ(Describe(lib),
            "typelib[name=Demo]("
            "enums(enum[name=Color](items(item[name=Red,value=0] item[name=Green,value=1]))) "
            "interfaces(interface[name=IShape,inherits=IUnknown](guid:{12345678-9ABC-DEF0-0102-030405060708} "
            "methods(method[name=Area,call=stdcall](params(param(ref:ptr,out,retval name:Value type:Double)) "
            "result:HResult)))))");
}

TEST(ScanTypeLib, LibraryLevel) {
  FakeTypeLib empty("Empty");
  EXPECT_EQ(Describe(empty), "typelib[name=Empty]");
  FakeTypeLib nameless("Hidden");
  nameless.doc_hr = typelib::kEFail;
  EXPECT_EQ(Describe(nameless), "typelib[name=Imported]");
  // A success code other than S_OK still counts as success here.
  FakeTypeLib odd("Odd");
  odd.doc_hr = typelib::kFalse;
  EXPECT_EQ(Describe(odd), "typelib[name=Odd]");
}

TEST(ScanTypeLib, CollectionsInOrderOfFirstOccurrence) {
  FakeTypeLib lib("L");
  lib.Add(typelib::TKIND_INTERFACE_, "IA");
  lib.Add(typelib::TKIND_ENUM_, "E");
  lib.Add(typelib::TKIND_INTERFACE_, "IB");
  EXPECT_EQ(Describe(lib), "typelib[name=L](interfaces(interface[name=IA] interface[name=IB]) enums(enum[name=E]))");

  FakeTypeLib classes("C");
  classes.Add(typelib::TKIND_COCLASS_, "One");
  classes.Add(typelib::TKIND_INTERFACE_, "I");
  classes.Add(typelib::TKIND_COCLASS_, "Two");
  EXPECT_EQ(Describe(classes),
            "typelib[name=C](coclasses(coclass[name=One] coclass[name=Two]) interfaces(interface[name=I]))");
}

TEST(ScanTypeLib, UnreadableAndUnknownTypesAreSkipped) {
  FakeTypeLib lib("L");
  lib.Add(typelib::TKIND_ENUM_, "NoInfo");
  lib.type_info_fail.insert(0);
  lib.Add(typelib::TKIND_ENUM_, "NoAttr")->attr_hr = typelib::kTypeEInvDataRead;
  lib.Add(static_cast<typelib::TypeKind>(8), "Kind8");
  lib.Add(static_cast<typelib::TypeKind>(0xFFFFFFFFu), "KindMax");
  lib.Add(typelib::TKIND_UNION_, "U");
  lib.Add(typelib::TKIND_ALIAS_, "A")->attr.tdesc_alias = Vt(VT_I4_);
  lib.Add(typelib::TKIND_MODULE_, "M");
  lib.Add(typelib::TKIND_RECORD_, "R");
  lib.Add(typelib::TKIND_DISPATCH_, "D");
  EXPECT_EQ(Describe(lib),
            "typelib[name=L](unions(union[name=U]) aliases(alias[name=A,type=Longint]) modules(module[name=M]) "
            "records(record[name=R]) dispinterfaces(dispinterface[name=D]))");
}

TEST(WriteTypeHeader, GuidHelpNameAndDual) {
  auto plain = std::make_shared<FakeTypeInfo>(typelib::TKIND_COCLASS_, "Plain");
  EXPECT_EQ(DescribeOnly(plain), "coclass[name=Plain]");

  auto full = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IFull");
  full->attr.guid = typelib::Guid{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  full->attr.w_type_flags = 0x40 | 0x1000;
  full->doc.doc_string = "Does things";
  EXPECT_EQ(DescribeOnly(full),
            "interface[name=IFull,dual=true](guid:{00000001-0002-0003-0405-060708090A0B} help:Does things)");

  // Without documentation: neither help nor name, but the rest of the header.
  auto undocumented = std::make_shared<FakeTypeInfo>(typelib::TKIND_COCLASS_, "Lost");
  undocumented->attr.guid = full->attr.guid;
  undocumented->attr.w_type_flags = 0x40;
  undocumented->doc.doc_string = "never seen";
  undocumented->doc_hr = typelib::kEFail;
  EXPECT_EQ(DescribeOnly(undocumented), "coclass[dual=true](guid:{00000001-0002-0003-0405-060708090A0B})");

  // An empty name is still written; other flags never give dual, nor dual=false.
  auto empty_name = std::make_shared<FakeTypeInfo>(typelib::TKIND_COCLASS_, "");
  empty_name->attr.w_type_flags = 0xFFBF;
  EXPECT_EQ(DescribeOnly(empty_name), "coclass[name=]");
}

// Names come from the library and may hold anything; the document must stay well-formed,
// give texts back unchanged and names as the identifiers they are made.
TEST(ScanTypeLib, NamesNeedingEscapesRoundTrip) {
  const std::string nasty = "A\"B'<C>&D]]>E \xC3\xA9\xE2\x82\xAC";
  FakeTypeLib lib(nasty);
  auto type = lib.Add(typelib::TKIND_ENUM_, nasty + "type");
  type->doc.doc_string = nasty + "\thelp\nline";
  type->AddVar(nasty + "member", 1, Vt(VT_I4_), Variant::Int(1));
  auto dispatch = lib.Add(typelib::TKIND_DISPATCH_, "D\"q");
  dispatch->AddFunc("Get\"It", 7, {}, {}, Vt(VT_I4_), 2);
  dispatch->AddFunc("Get\"It", 7, {Param(Vt(VT_I4_), kIn)}, {}, Vt(VT_VOID_), 4);
  const std::string expected = Describe(lib);

  const xml::DocumentPtr document = xml::CreateDocument();
  ScanTypeLib(lib, document->ForceRoot("typelib"));
  const std::string text = document->GetXml();
  const xml::DocumentPtr reread = xml::CreateDocument();
  reread->SetXml(text);
  ASSERT_TRUE(reread->GetRoot()) << text;
  EXPECT_EQ(testing::TreeText(reread->GetRoot()), expected);
  EXPECT_EQ(reread->GetRoot()->Attributes()->Values()->ReadString("name", "", false), IdentifierText(nasty));
  EXPECT_EQ(IdentifierText(nasty), "A_B__C__D___E_\xC3\xA9\xE2\x82\xAC");
  ASSERT_TRUE(reread->GetRoot()->FindNode("//help"));
  EXPECT_EQ(reread->GetRoot()->FindNode("//help")->GetText(), nasty + "\thelp\nline");
  EXPECT_FALSE(xml::FormatXml(text).empty());
  EXPECT_NE(expected.find("method[name=Get_It,dispid=7,invoke=get,put"), std::string::npos) << expected;
}

TEST(LoadTypeLibDescription, FilesThatDoNotLoadGiveNothing) {
  EXPECT_EQ(LoadTypeLibDescription(QUENLOR_SOURCE_DIR "/tests/description/scan_test.cpp"), nullptr);
  EXPECT_EQ(LoadTypeLibDescription(QUENLOR_SOURCE_DIR "/tests/description/no such file.tlb"), nullptr);
  EXPECT_EQ(LoadTypeLibDescription(QUENLOR_SOURCE_DIR "/tests/description"), nullptr);
  EXPECT_EQ(LoadTypeLibDescription(""), nullptr);
  EXPECT_EQ(LoadTypeLibDescription(QUENLOR_CORPUS_DIR "/negative/empty.tlb", typelib::ReaderKind::Builtin), nullptr);
}

}  // namespace
}  // namespace quenlor::description
