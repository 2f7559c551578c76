// Enumerations, records, unions, aliases, coclasses, modules and string constants.
#include <gtest/gtest.h>

#include "describe.h"

namespace quenlor::description {
namespace {

using testing::BadPtr;
using testing::CArray;
using testing::DescribeOnly;
using testing::FakeTypeInfo;
using testing::Param;
using testing::Ptr;
using testing::UserDefined;
using testing::Vt;

TEST(WriteEnum, MembersInIndexOrder) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_ENUM_, "E");
  info->AddVar("Last", 10, Vt(VT_I4_), Variant::Int(100));
  info->AddVar("Minus", 11, Vt(VT_I4_), Variant::Int(-1));
  info->AddVar("Lost", 12, Vt(VT_I4_), Variant::Int(5));
  info->vars.back().hr = typelib::kEFail;
  info->AddVar("Unnamed", 13, Vt(VT_I4_), Variant::Int(7));
  info->member_doc_fail.insert(13);
  info->AddVar("Big", 14, Vt(VT_UI4_), Variant::Int(0xFFFFFFFF, VT_UI4_));
  info->AddVar("Half", 15, Vt(VT_R8_), Variant::Real(2.5));
  info->AddVar("Rounded", 16, Vt(VT_R8_), Variant::Real(-3.7));
  info->AddVar("NoValue", 17, Vt(VT_I4_));
  EXPECT_EQ(DescribeOnly(info),
            "enum[name=E](items(item[name=Last,value=100] item[name=Minus,value=-1] item[name=,value=7] "
            "item[name=Big,value=-1] item[name=Half,value=2] item[name=Rounded,value=-4] item[name=NoValue,value=0]))");

  auto empty = std::make_shared<FakeTypeInfo>(typelib::TKIND_ENUM_, "Empty");
  EXPECT_EQ(DescribeOnly(empty), "enum[name=Empty]");
  auto unreadable = std::make_shared<FakeTypeInfo>(typelib::TKIND_ENUM_, "AllLost");
  unreadable->AddVar("x", 1, Vt(VT_I4_), Variant::Int(1));
  unreadable->vars.back().hr = typelib::kEFail;
  EXPECT_EQ(DescribeOnly(unreadable), "enum[name=AllLost]");
}

TEST(WriteRecord, FieldTypesAndReferences) {
  auto point = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "TPoint");
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "R");
  const typelib::HRefType point_ref = info->AddRef(point);
  info->AddVar("Text", 1, Ptr(Vt(VT_BSTR_)));
  info->AddVar("Raw", 2, BadPtr());
  info->AddVar("Next", 3, Ptr(UserDefined(point_ref)));
  info->AddVar("Origin", 4, UserDefined(point_ref));
  info->AddVar("Cells", 5, CArray(Vt(VT_I2_), {{4, 1}}));
  info->AddVar("Bytes", 6, Ptr(Ptr(Vt(VT_UI1_))));
  EXPECT_EQ(DescribeOnly(info),
            "record[name=R](items(item[name=Text,type=WideString,ref=true] item[name=Raw,type=Pointer] "
            "item[name=Next,type=TPoint,ref=true] item[name=Origin,type=TPoint] "
            "item[name=Cells,type=array[1..4] of Smallint] item[name=Bytes,type=Byte,ref=true]))");

  auto empty = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "Empty");
  EXPECT_EQ(DescribeOnly(empty), "record[name=Empty]");
}

TEST(WriteUnion, WrittenLikeARecordUnderUnions) {
  testing::FakeTypeLib lib("L");
  auto the_union = lib.Add(typelib::TKIND_UNION_, "U");
  the_union->AddVar("AsLong", 1, Vt(VT_I4_)).AddVar("AsText", 2, Ptr(Vt(VT_LPSTR_)));
  EXPECT_EQ(testing::Describe(lib),
            "typelib[name=L](unions(union[name=U](items(item[name=AsLong,type=Longint] "
            "item[name=AsText,type=PChar,ref=true]))))");
}

TEST(WriteAlias, PointerAliasesAreReferencesWhateverTheirText) {
  auto guid = std::make_shared<FakeTypeInfo>(typelib::TKIND_RECORD_, "GUID");
  auto alias = [&](typelib::TypeDesc desc) {
    auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_ALIAS_, "A");
    const typelib::HRefType guid_ref = info->AddRef(guid);
    if (desc.vt == VT_USERDEFINED_) desc.hreftype = guid_ref;
    info->attr.tdesc_alias = std::move(desc);
    return DescribeOnly(info);
  };
  EXPECT_EQ(alias(Vt(VT_I4_)), "alias[name=A,type=Longint]");
  EXPECT_EQ(alias(BadPtr()), "alias[name=A,type=Pointer,ref=true]");
  EXPECT_EQ(alias(Ptr(Vt(VT_DISPATCH_))), "alias[name=A,type=IDispatch,ref=true]");
  EXPECT_EQ(alias(UserDefined(0)), "alias[name=A,type=TGUID]");
  EXPECT_EQ(alias(Vt(VT_EMPTY_)), "alias[name=A,type=cannot convert]");
}

TEST(WriteCoClass, HeaderOnly) {
  auto iface = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IThing");
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_COCLASS_, "Thing");
  info->Inherit(iface);
  info->AddFunc("NotWritten", 1, {}, {});
  info->AddVar("NotWritten", 2, Vt(VT_I4_));
  info->attr.guid = typelib::Guid{0xAA, 0, 0, {}};
  EXPECT_EQ(DescribeOnly(info), "coclass[name=Thing](guid:{000000AA-0000-0000-0000-000000000000})");
}

// DECIMAL members are rounded like floating-point ones; what does not fit is 0.
TEST(WriteEnum, DecimalMembersRounded) {
  auto dec = [](std::uint64_t lo, std::uint8_t scale, bool negative, std::uint32_t hi = 0) {
    Variant v;
    v.vt = VT_DECIMAL_;
    v.decimal = {scale, static_cast<std::uint8_t>(negative ? 0x80 : 0), hi, lo};
    return v;
  };
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_ENUM_, "D");
  info->AddVar("Whole", 1, Vt(VT_DECIMAL_), dec(42, 0, false));
  info->AddVar("Half", 2, Vt(VT_DECIMAL_), dec(25, 1, false));
  info->AddVar("HalfOdd", 3, Vt(VT_DECIMAL_), dec(35, 1, false));
  info->AddVar("AboveHalf", 4, Vt(VT_DECIMAL_), dec(2501, 3, true));
  info->AddVar("Min", 5, Vt(VT_DECIMAL_), dec(2147483648ull, 0, true));
  info->AddVar("TooBig", 6, Vt(VT_DECIMAL_), dec(2147483648ull, 0, false));
  info->AddVar("Wide", 7, Vt(VT_DECIMAL_), dec(0, 28, false, 1));
  EXPECT_EQ(DescribeOnly(info),
            "enum[name=D](items(item[name=Whole,value=42] item[name=Half,value=2] item[name=HalfOdd,value=4] "
            "item[name=AboveHalf,value=-3] item[name=Min,value=-2147483648] item[name=TooBig,value=0] "
            "item[name=Wide,value=0]))");
}

// widl drops the constants of modules, so this is where they are written at all.
TEST(WriteModule, ConstantsBeforeFunctions) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_MODULE_, "M");
  info->AddFunc("Add", 0x60000000, {Param(Vt(VT_I4_), 1), Param(Vt(VT_I4_), 1)}, {"a", "b"}, Vt(VT_I4_), 1, 1);
  info->AddVar("Ten", 1, Vt(VT_I4_), Variant::Int(10));
  info->AddVar("Empty", 2, Vt(VT_BSTR_), Variant::String(""));
  info->AddVar("Lines", 3, Vt(VT_BSTR_), Variant::String("a\r\nb"));
  info->AddVar("Apostrophe", 4, Vt(VT_BSTR_), Variant::String("it's"));
  info->AddVar("Real", 5, Vt(VT_R4_), Variant::Real(1.25, VT_R4_));
  info->AddVar("Numeric", 6, Vt(VT_LPSTR_), Variant{VT_LPSTR_, 0, 0, "42", {}});
  info->AddVar("Flag", 7, Vt(VT_BOOL_), Variant::Bool(true));
  EXPECT_EQ(DescribeOnly(info),
            "module[name=M](consts(const[name=Ten,value=10] const[name=Empty,value=''] "
            "const[name=Lines,value='a'#13#10'b'] const[name=Apostrophe,value='it''s'] const[name=Real,value=1] "
            "const[name=Numeric,value=42] const[name=Flag,value=-1]) "
            "funcs(func[name=Add](params(param(ref:in name:a type:Longint) param(ref:in name:b type:Longint)) "
            "result:Longint)))");

  auto functions_only = std::make_shared<FakeTypeInfo>(typelib::TKIND_MODULE_, "F");
  functions_only->AddFunc("Beep", 1, {}, {}, Vt(VT_VOID_));
  functions_only->AddFunc("Lost", 2, {}, {});
  functions_only->funcs.back().hr = typelib::kEFail;
  EXPECT_EQ(DescribeOnly(functions_only), "module[name=F](funcs(func[name=Beep](result:HResult)))");
}

TEST(QuoteString, RunsAndCharacterCodes) {
  EXPECT_EQ(QuoteString(""), "''");
  EXPECT_EQ(QuoteString("abc"), "'abc'");
  EXPECT_EQ(QuoteString("a\r\n"), "'a'#13#10");
  EXPECT_EQ(QuoteString("\t"), "#9");
  EXPECT_EQ(QuoteString("\tx\ty"), "#9'x'#9'y'");
  EXPECT_EQ(QuoteString("it's"), "'it''s'");
  EXPECT_EQ(QuoteString("'"), "''''");
  EXPECT_EQ(QuoteString(std::string("a\0b", 3)), "'a'#0'b'");
  EXPECT_EQ(QuoteString(" "), "' '");
  // UTF-8 sequences (bytes from 128 up) stay inside the quoted run, byte for byte.
  EXPECT_EQ(QuoteString("caf\xC3\xA9\x7F"), "'caf\xC3\xA9\x7F'");
  EXPECT_EQ(QuoteString("\n\xE2\x82\xAC"), "#10'\xE2\x82\xAC'");
}

}  // namespace
}  // namespace quenlor::description
