// Type texts and GUID texts.
#include <gtest/gtest.h>

#include "fake_type_lib.h"
#include "description/type_naming.h"

namespace quenlor::description {
namespace {

using testing::BadPtr;
using testing::CArray;
using testing::FakeTypeInfo;
using testing::Ptr;
using testing::UserDefined;
using testing::Vt;

TEST(GuidText, RegistryFormInUpperCase) {
  typelib::Guid dispatch{0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  EXPECT_EQ(typelib::GuidText(dispatch), "{00020400-0000-0000-C000-000000000046}");
  typelib::Guid mixed{0xabcdef01, 0x2345, 0x6789, {0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89}};
  EXPECT_EQ(typelib::GuidText(mixed), "{ABCDEF01-2345-6789-ABCD-EF0123456789}");
  EXPECT_EQ(typelib::GuidText(typelib::Guid{}), "{00000000-0000-0000-0000-000000000000}");
}

TEST(VarTypeName, NamesAndNumbers) {
  EXPECT_EQ(VarTypeName(VT_EMPTY_), "");
  EXPECT_EQ(VarTypeName(VT_I1_), "Char");
  EXPECT_EQ(VarTypeName(VT_UI8_), "Int64");
  EXPECT_EQ(VarTypeName(VT_VOID_), "HResult");
  EXPECT_EQ(VarTypeName(VT_CLSID_), "TGUID");
  EXPECT_EQ(VarTypeName(VT_ARRAY_), "PSafeArray");
  EXPECT_EQ(VarTypeName(VT_ILLEGAL_), "VT_ILLEGAL");
  // Codes without a name, the composite ones among them, are their decimal value.
  EXPECT_EQ(VarTypeName(15), "15");
  EXPECT_EQ(VarTypeName(VT_SAFEARRAY_), "27");
  EXPECT_EQ(VarTypeName(VT_USERDEFINED_), "29");
  EXPECT_EQ(VarTypeName(VT_RECORD_), "36");
  EXPECT_EQ(VarTypeName(73), "73");
  EXPECT_EQ(VarTypeName(VT_BYREF_ | VT_I4_), "16387");
}

// Element codes above 72 only arise with the VT_VECTOR, VT_ARRAY, VT_BYREF and VT_RESERVED
// bits. They read from the outside in: RESERVED wraps everything in parentheses, then
// "Vector of ", then "Array of ", then "BYREF " before the base code's own text. A base
// that names nothing (VT_EMPTY, or beyond the table) makes the whole code unknown.
TEST(ElementTypeText, FlagsAroundTheBaseText) {
  for (std::uint16_t code = 0; code <= 72; ++code) EXPECT_EQ(ElementTypeText(code), VarTypeName(code)) << code;
  EXPECT_EQ(ElementTypeText(VT_VECTOR_ | VT_I4_), "Vector of Longint");
  EXPECT_EQ(ElementTypeText(VT_ARRAY_ | VT_BSTR_), "Array of WideString");
  EXPECT_EQ(ElementTypeText(VT_BYREF_ | VT_VARIANT_), "BYREF OleVariant");
  EXPECT_EQ(ElementTypeText(VT_ARRAY_ | VT_BYREF_ | VT_I2_), "Array of BYREF Smallint");
  EXPECT_EQ(ElementTypeText(VT_RESERVED_ | VT_VECTOR_ | VT_UI1_), "RESERVED (Vector of Byte)");
  EXPECT_EQ(ElementTypeText(VT_BYREF_ | 15), "BYREF 15");
  EXPECT_EQ(ElementTypeText(VT_ARRAY_), "PSafeArray");
  EXPECT_EQ(ElementTypeText(VT_ILLEGAL_), "VT_ILLEGAL");
  EXPECT_EQ(ElementTypeText(VT_BYREF_), "<Unknown 00004000>");
  EXPECT_EQ(ElementTypeText(73), "<Unknown 00000049>");
  EXPECT_EQ(ElementTypeText(VT_VECTOR_ | 0x0FFF), "<Unknown 00001FFF>");
}

class TypeDescTextTest : public ::testing::Test {
 protected:
  FakeTypeInfo info{typelib::TKIND_INTERFACE_, "IHost"};
  std::string Text(const typelib::TypeDesc& desc) { return TypeDescText(info, desc); }
};

TEST_F(TypeDescTextTest, PointersAreNamedByWhatTheyPointTo) {
  EXPECT_EQ(Text(Ptr(Ptr(Vt(VT_BSTR_)))), "WideString");
  EXPECT_EQ(Text(BadPtr()), "Pointer");
  EXPECT_EQ(Text(Ptr(BadPtr())), "Pointer");
  // A hostile file can chain pointers without end; naming must not recurse per level.
  typelib::TypeDesc deep = Vt(VT_I4_);
  for (int i = 0; i < 200000; ++i) deep = Ptr(std::move(deep));
  EXPECT_EQ(Text(deep), "Longint");
  // Free the chain iteratively too, so the test itself does not overflow the stack.
  while (deep.pointee && deep.pointee.use_count() == 1) {
    typelib::TypeDesc next = *deep.pointee;
    deep = std::move(next);
  }
}

TEST_F(TypeDescTextTest, ArraysAndSafeArrays) {
  EXPECT_EQ(Text(Vt(VT_SAFEARRAY_)), "OleVariant");
  EXPECT_EQ(Text(CArray(Vt(VT_UI1_), {{2, 0}, {3, 0}})), "array[0..1][0..2] of Byte");
  EXPECT_EQ(Text(CArray(Vt(VT_I4_), {{4, 1}})), "array[1..4] of Longint");
  EXPECT_EQ(Text(CArray(Vt(VT_I4_), {{3, -1}})), "array[-1..1] of Longint");
  // A record element is named like any reference to it; a pointer element is "Pointer".
  const typelib::HRefType point = info.AddRef(std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "TPoint"));
  EXPECT_EQ(Text(CArray(UserDefined(point), {{2, 0}, {3, 0}})), "array[0..1][0..2] of TPoint");
  EXPECT_EQ(Text(CArray(UserDefined(0xDEAD), {{2, 0}})), "array[0..1] of cannot convert");
  EXPECT_EQ(Text(CArray(Ptr(Vt(VT_I4_)), {{2, 0}})), "array[0..1] of Pointer");
  // Bounds at the 32-bit limits print the values they stand for.
  EXPECT_EQ(Text(CArray(Vt(VT_UI1_), {{0xFFFFFFFFu, 2147483647}})), "array[2147483647..6442450941] of Byte");
  typelib::TypeDesc no_array = Vt(VT_CARRAY_);
  EXPECT_EQ(Text(no_array), "cannot convert");
}

TEST_F(TypeDescTextTest, ReferencedTypes) {
  auto point = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "TPoint");
  auto guid = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "GUID");
  auto nameless = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "Hidden");
  nameless->doc_hr = typelib::kEFail;
  const typelib::HRefType point_ref = info.AddRef(point);
  const typelib::HRefType guid_ref = info.AddRef(guid);
  const typelib::HRefType nameless_ref = info.AddRef(nameless);
  EXPECT_EQ(Text(UserDefined(point_ref)), "TPoint");
  EXPECT_EQ(Text(Ptr(UserDefined(point_ref))), "TPoint");
  EXPECT_EQ(Text(UserDefined(guid_ref)), "TGUID");
  EXPECT_EQ(Text(Vt(VT_CLSID_)), "TGUID");
  EXPECT_EQ(Text(UserDefined(nameless_ref)), "cannot convert");
  EXPECT_EQ(Text(UserDefined(0xDEAD)), "cannot convert");
  EXPECT_EQ(Text(Vt(VT_EMPTY_)), "cannot convert");
  EXPECT_EQ(Text(Vt(36)), "36");
}

TEST_F(TypeDescTextTest, PointersToNothingAreUntypedPointers) {
  EXPECT_EQ(Text(Ptr(Vt(VT_VOID_))), "Pointer");
  EXPECT_EQ(Text(Ptr(Ptr(Vt(VT_VOID_)))), "Pointer");
  EXPECT_EQ(Text(Vt(VT_VOID_)), "HResult");  // a result of nothing stays what it was
}

// A coclass is no type a declaration can use: its default interface stands for it.
TEST_F(TypeDescTextTest, CoclassesAreNamedByTheirDefaultInterface) {
  auto events = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "_Events");
  auto first = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "_First");
  auto main = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "_Main");
  auto coclass = std::make_shared<FakeTypeInfo>(typelib::TKIND_COCLASS_, "Thing");
  for (const auto& implemented : {events, first, main}) coclass->impl_types.push_back(coclass->AddRef(implemented));
  coclass->attr.c_impl_types = 3;
  coclass->impl_flags = {{0, 0x1 | 0x2}, {2, 0x1}};  // a default source, then the default
  EXPECT_EQ(Text(UserDefined(info.AddRef(coclass))), "_Main");
  coclass->impl_flags = {{0, 0x2}};  // no default: the first that is no source
  EXPECT_EQ(Text(UserDefined(info.AddRef(coclass))), "_First");
  auto bare = std::make_shared<FakeTypeInfo>(typelib::TKIND_COCLASS_, "Bare");
  EXPECT_EQ(Text(UserDefined(info.AddRef(bare))), "Bare");
}

TEST_F(TypeDescTextTest, LibraryTypesDoNotTakeBuiltInNames) {
  auto integer = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "Integer");
  auto word = std::make_shared<FakeTypeInfo>(typelib::TKIND_ENUM_, "WORD");
  auto unknown = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IUnknown");
  EXPECT_EQ(Text(UserDefined(info.AddRef(integer))), "Integer_");
  EXPECT_EQ(MemberName(*integer, typelib::kMemberIdNil), "Integer_");
  EXPECT_EQ(Text(Ptr(UserDefined(info.AddRef(word)))), "WORD_");
  EXPECT_EQ(Text(UserDefined(info.AddRef(unknown))), "IUnknown");  // declaring it declares that very type
  for (const char* name : {"TOleEnum", "tdecimal", "Pointer", "TGUID", "HResult"}) EXPECT_EQ(TypeOwnName(name), std::string(name) + "_");
  EXPECT_EQ(TypeOwnName("Integers"), "Integers");
}

TEST(IdentifierText, NamesBecomeIdentifiersOneWay) {
  EXPECT_EQ(IdentifierText(".NET"), "_NET");
  EXPECT_EQ(IdentifierText("_\x01PBrowse17"), "_PBrowse17");  // what an XML tree cannot carry is dropped
  EXPECT_EQ(IdentifierText("I-Beam"), "I_Beam");
  EXPECT_EQ(IdentifierText(" Icon \t"), "Icon");
  EXPECT_EQ(IdentifierText("0 (Pixel)"), "_0__Pixel_");
  EXPECT_EQ(IdentifierText("Size\x7F All"), "Size_All");
  EXPECT_EQ(IdentifierText("Caf\xC3\xA9"), "Caf\xC3\xA9");
  EXPECT_EQ(IdentifierText("Plain_1"), "Plain_1");
  EXPECT_EQ(IdentifierText("\x02"), "");
  EXPECT_EQ(IdentifierText(IdentifierText("9 lives.")), IdentifierText("9 lives."));
}

}  // namespace
}  // namespace quenlor::description
