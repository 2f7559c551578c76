// Parameters, signatures, vtable interfaces and dispinterfaces.
#include <gtest/gtest.h>

#include "describe.h"

namespace quenlor::description {
namespace {

using testing::BadPtr;
using testing::DescribeOnly;
using testing::FakeTypeInfo;
using testing::Param;
using testing::Ptr;
using testing::Vt;

constexpr std::uint16_t kIn = 0x01, kOut = 0x02, kLcid = 0x04, kRetval = 0x08, kOpt = 0x10, kHasDefault = 0x20;
constexpr std::uint32_t kFunc = 1, kGet = 2, kPut = 4, kPutRef = 8;

TEST(ParamFlagsText, Words) {
  EXPECT_EQ(ParamFlagsText(Param(Vt(VT_I4_), kIn)), "in");
  EXPECT_EQ(ParamFlagsText(Param(Ptr(Vt(VT_I4_)), kOut | kRetval)), "ptr,out,retval");
  EXPECT_EQ(ParamFlagsText(Param(Ptr(Vt(VT_I4_)), 0)), "in");  // no flags: "ptr" is dropped too
  EXPECT_EQ(ParamFlagsText(Param(Vt(VT_I4_), kOpt | kIn)), "opt,in");
  EXPECT_EQ(ParamFlagsText(Param(Vt(VT_I4_), kHasDefault)), "in");
  EXPECT_EQ(ParamFlagsText(Param(Ptr(Vt(VT_I4_)), kHasDefault | kOpt | kIn | kOut)), "ptr,opt,in,out");
  EXPECT_EQ(ParamFlagsText(Param(Vt(VT_I4_), kLcid)), "xxx");
  EXPECT_EQ(ParamFlagsText(Param(Ptr(Vt(VT_I4_)), kLcid)), "ptr");
  EXPECT_EQ(ParamFlagsText(Param(BadPtr(), kIn | kOut)), "in,out");
  // A pointer to nothing is the untyped Pointer, passed by value; one level more is by pointer.
  EXPECT_EQ(ParamFlagsText(Param(Ptr(Vt(VT_VOID_)), kIn)), "in");
  EXPECT_EQ(ParamFlagsText(Param(Ptr(Ptr(Vt(VT_VOID_))), kOut)), "ptr,out");
}

TEST(CallConvAndInvokeKind, Texts) {
  typelib::FuncDesc func;
  const char* calls[] = {"safecall", "cdecl", "pascal", "", "stdcall", "register", "", ""};
  for (std::uint32_t cc = 0; cc < 8; ++cc) {
    func.callconv = cc;
    EXPECT_EQ(CallConvText(func), calls[cc]) << cc;
  }
  const std::pair<std::uint32_t, const char*> kinds[] = {
      {kFunc, "func"}, {kGet, "get"}, {kPut, "put"}, {kPutRef, "putref"}, {0, ""}, {3, ""}, {16, ""}};
  for (const auto& [kind, text] : kinds) {
    func.invkind = kind;
    EXPECT_EQ(InvokeKindText(func), text) << kind;
  }
}

TEST(WriteInterface, Signatures) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "I");
  info->AddFunc("NoParams", 1, {}, {});
  info->AddFunc("Setter", 2, {Param(Vt(VT_BSTR_), kIn)}, {}, Vt(VT_HRESULT_), kPut);
  info->AddFunc("NamesFail", 3, {Param(Vt(VT_I4_), kIn)}, {"a"}, Vt(VT_I2_));
  info->names_fail.insert(3);
  info->AddFunc("Conv3", 4, {}, {}, Vt(VT_EMPTY_), kFunc, 3);
  info->AddFunc("Cdecl", 5, {Param(Vt(VT_I4_), kIn), Param(Ptr(Vt(VT_R8_)), kOut)}, {"a", "b"}, Vt(VT_VOID_), kFunc, 1);
  EXPECT_EQ(DescribeOnly(info),
            "interface[name=I](methods("
            "method[name=NoParams,call=stdcall](result:HResult) "
            "method[name=Setter,call=stdcall](prop:WideString result:HResult) "
            "method[name=NamesFail,call=stdcall](result:Smallint) "
            "method[name=Conv3,call=](result:cannot convert) "
            "method[name=Cdecl,call=cdecl](params(param(ref:in name:a type:Longint) "
            "param(ref:ptr,out name:b type:Double)) result:HResult)))");
}

// GetNames answers for a member id, which accessors share: the names may outnumber the
// function's own parameters, or fall short of them.
TEST(WriteInterface, NamesAndParametersDisagree) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "I");
  info->AddFunc("Item", 9, {Param(Vt(VT_I4_), kIn)}, {});
  info->names[9] = {"Item", "index", "value", "extra"};
  info->AddFunc("Short", 10, {Param(Vt(VT_I4_), kIn), Param(Vt(VT_I2_), kIn), Param(Vt(VT_R4_), kIn)}, {"a", "b"});
  info->AddFunc("Unnamed", 11, {}, {});
  info->funcs.back().desc.c_params = 1;  // counts a parameter it does not list
  info->names[11] = {"Unnamed"};
  EXPECT_EQ(DescribeOnly(info),
            "interface[name=I](methods("
            "method[name=Item,call=stdcall](params(param(ref:in name:index type:Longint)) result:HResult) "
            "method[name=Short,call=stdcall](params(param(ref:in name:a type:Longint) "
            "param(ref:in name:b type:Smallint)) result:HResult) "
            "method[name=Unnamed,call=stdcall](result:HResult)))");
}

TEST(WriteInterface, InheritsAndUnreadableMembers) {
  auto base = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IBase");
  auto other = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IOther");
  auto nameless = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "?");
  nameless->doc_hr = typelib::kEFail;

  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "I");
  info->Inherit(base).Inherit(other);
  info->impl_type_fail.insert(1);  // the later success is IBase's, the failure writes nothing
  info->AddFunc("Lost", 1, {}, {});
  info->funcs.back().hr = typelib::kTypeEInvDataRead;
  info->AddFunc("Kept", 2, {}, {});
  info->member_doc_fail.insert(2);
  EXPECT_EQ(DescribeOnly(info), "interface[name=I,inherits=IBase](methods(method[name=,call=stdcall](result:HResult)))");

  auto last_wins = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "J");
  last_wins->Inherit(base).Inherit(nameless);
  EXPECT_EQ(DescribeOnly(last_wins), "interface[name=J,inherits=]");

  auto broken_ref = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "K");
  broken_ref->impl_types.push_back(0xBAD);
  broken_ref->attr.c_impl_types = 1;
  EXPECT_EQ(DescribeOnly(broken_ref), "interface[name=K]");
}

TEST(WriteDispInterface, AccessorsShareOneMethod) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "D");
  info->AddFunc("Caption", 5, {Param(Ptr(Vt(VT_BSTR_)), kOut | kRetval)}, {"value"}, Vt(VT_HRESULT_), kGet);
  info->AddFunc("Caption", 5, {Param(Vt(VT_BSTR_), kIn)}, {}, Vt(VT_HRESULT_), kPut);
  info->AddFunc("Font", -2, {Param(Vt(VT_DISPATCH_), kIn)}, {}, Vt(VT_HRESULT_), kPutRef);
  info->AddFunc("Font", -2, {Param(Ptr(Vt(VT_DISPATCH_)), kOut | kRetval)}, {}, Vt(VT_HRESULT_), kGet);
  EXPECT_EQ(DescribeOnly(info),
            "dispinterface[name=D](methods("
            "method[name=Caption,dispid=5,invoke=get,put,call=stdcall](params(param(ref:ptr,out,retval "
            "name:value type:WideString)) result:HResult) "
            "method[name=Font,dispid=-2,invoke=putref,get,call=stdcall](prop:IDispatch result:HResult)))");
}

// The property's type and index parameters are the getter's, whichever accessor the library
// lists first; without a getter, the type is the setter's value parameter, not its result.
TEST(WriteDispInterface, MergedPropertiesTakeTheirTypeFromTheGetter) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "IDictionary");
  const auto variant_in = [] { return Param(Ptr(Vt(VT_VARIANT_)), kIn); };
  info->AddFunc("Item", 0, {variant_in(), variant_in()}, {"Key"}, Vt(VT_VOID_), kPutRef);
  info->AddFunc("Item", 0, {variant_in(), variant_in()}, {"Key"}, Vt(VT_VOID_), kPut);
  info->AddFunc("Item", 0, {variant_in()}, {"Key"}, Vt(VT_VARIANT_), kGet);
  info->AddFunc("Key", 5, {variant_in(), variant_in()}, {"Key"}, Vt(VT_VOID_), kPut);
  info->AddFunc("Mode", 6, {Param(Vt(VT_I4_), kIn)}, {}, Vt(VT_VOID_), kPut);
  // The names are the member id's, which the setter gave first.
  info->AddFunc("Mode", 6, {Param(Vt(VT_I4_), kIn)}, {}, Vt(VT_I4_), kGet);
  EXPECT_EQ(DescribeOnly(info),
            "dispinterface[name=IDictionary](methods("
            "method[name=Item,dispid=0,invoke=putref,put,get,call=stdcall](params(param(ref:ptr,in name:Key "
            "type:OleVariant)) result:OleVariant) "
            "method[name=Key,dispid=5,invoke=put,call=stdcall](params(param(ref:ptr,in name:Key type:OleVariant)) "
            "prop:OleVariant result:HResult) "
            "method[name=Mode,dispid=6,invoke=put,get,call=stdcall](prop:Longint result:Longint)))");
}

TEST(WriteDispInterface, PropertiesComeFirstAndShareDispatchIds) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "D");
  info->AddVar("Width", 1, Vt(VT_I4_));
  info->AddVar("Unreadable", 2, Vt(VT_I4_));
  info->vars.back().hr = typelib::kEFail;
  info->AddVar("Shape", 3, Ptr(Vt(VT_UNKNOWN_)));
  info->AddFunc("Resize", 1, {}, {}, Vt(VT_VOID_), kFunc);
  info->AddFunc("Draw", 4, {}, {}, Vt(VT_VOID_), kFunc);
  EXPECT_EQ(DescribeOnly(info),
            "dispinterface[name=D](methods("
            "method[name=Width,dispid=1,invoke=get,put,func,call=stdcall](prop:Longint result:HResult) "
            "method[name=Shape,dispid=3,invoke=get,put,call=stdcall](prop:IUnknown result:HResult) "
            "method[name=Draw,dispid=4,invoke=func,call=stdcall](result:HResult)))");
}

TEST(WriteDispInterface, InheritedDispatchFunctionsAreLeftOut) {
  auto base = std::make_shared<FakeTypeInfo>(typelib::TKIND_INTERFACE_, "IDispatch");
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "D");
  info->Inherit(base);
  const typelib::MemberId inherited[] = {0x60000000, 0x60000001, 0x60000002, 0x60010000, 0x60010001, 0x60010002, 0x60010003};
  for (const typelib::MemberId id : inherited) info->AddFunc("Inherited" + std::to_string(id), id, {}, {});
  EXPECT_EQ(DescribeOnly(info), "dispinterface[name=D,inherits=IDispatch]");
  info->AddFunc("Next", 0x60000003, {}, {});
  info->AddFunc("Before", 0x5FFFFFFF, {}, {});
  info->AddFunc("After", 0x60010004, {}, {});
  EXPECT_EQ(DescribeOnly(info),
            "dispinterface[name=D,inherits=IDispatch](methods("
            "method[name=Next,dispid=1610612739,invoke=func,call=stdcall](result:HResult) "
            "method[name=Before,dispid=1610612735,invoke=func,call=stdcall](result:HResult) "
            "method[name=After,dispid=1610678276,invoke=func,call=stdcall](result:HResult)))");
}

// A parameter whose ref is exactly "ptr" (a pointer with flags none of the words name)
// makes its method a plain function; "ptr,in" does not, nor does a later accessor's.
TEST(WriteDispInterface, BarePointerParametersMakeFunctions) {
  auto info = std::make_shared<FakeTypeInfo>(typelib::TKIND_DISPATCH_, "D");
  info->AddFunc("Bare", 1, {Param(Ptr(Vt(VT_I4_)), kLcid)}, {"p"}, Vt(VT_HRESULT_), kGet);
  info->AddFunc("Bare", 1, {Param(Vt(VT_I4_), kIn)}, {}, Vt(VT_HRESULT_), kPut);
  info->AddFunc("Plain", 2, {Param(Ptr(Vt(VT_I4_)), kIn)}, {"p"}, Vt(VT_HRESULT_), kGet);
  info->AddFunc("Late", 3, {Param(Vt(VT_I4_), kIn)}, {"p"}, Vt(VT_HRESULT_), kGet);
  info->AddFunc("Late", 3, {Param(Ptr(Vt(VT_I4_)), kLcid)}, {"p"}, Vt(VT_HRESULT_), kPut);
  EXPECT_EQ(DescribeOnly(info),
            "dispinterface[name=D](methods("
            "method[name=Bare,dispid=1,invoke=func,call=stdcall](params(param(ref:ptr name:p type:Longint)) "
            "result:HResult) "
            "method[name=Plain,dispid=2,invoke=get,call=stdcall](params(param(ref:ptr,in name:p type:Longint)) "
            "result:HResult) "
            "method[name=Late,dispid=3,invoke=get,put,call=stdcall](params(param(ref:in name:p type:Longint)) "
            "result:HResult)))");
}

}  // namespace
}  // namespace quenlor::description
