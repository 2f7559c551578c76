// The access port over the platform's OLE Automation: LoadTypeLibEx, ITypeLib, ITypeInfo.
// Records are copied into value records at once and given back to the platform, so no
// platform memory outlives a call.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <utility>

#include "base/text.h"
#include "base/win32/com.h"
#include "base/win32/wide_text.h"
#include "typelib/access.h"
#include "typelib/platform_access.h"
#include "typelib/reader_choice.h"

namespace quenlor::typelib {

namespace {

// The platform lends its records (TYPEATTR, FUNCDESC, VARDESC, TLIBATTR) until they are given
// back; each is copied while lent and given back at once.
template <class Record, class Value, class Get, class Release>
HResult CopyRecord(Get get, Release release, Value (*convert)(const Record&), Value& out) {
  Record* record = nullptr;
  const HRESULT hr = get(&record);
  if (FAILED(hr)) return hr;
  if (!record) return kEFail;
  out = convert(*record);
  release(record);
  return hr;
}

// An interface a call handed out, wrapped as the port's object; a call that succeeded
// without handing one out is a failure.
template <class Access, class Port, class I>
HResult Wrap(HRESULT hr, com::Ptr<I> object, std::shared_ptr<Port>& out) {
  if (FAILED(hr)) return hr;
  if (!object) return kEFail;
  out = std::make_shared<Access>(std::move(object));
  return hr;
}

Guid ToGuid(const GUID& g) {
  Guid out;
  out.data1 = g.Data1;
  out.data2 = g.Data2;
  out.data3 = g.Data3;
  std::memcpy(out.data4, g.Data4, 8);
  return out;
}

Variant ToVariant(const VARIANT& v) {
  Variant out;
  out.vt = V_VT(&v);
  switch (V_VT(&v)) {
    case VT_I1: out.integer = V_I1(&v); break;
    case VT_UI1: out.integer = V_UI1(&v); break;
    case VT_I2: out.integer = V_I2(&v); break;
    case VT_UI2: out.integer = V_UI2(&v); break;
    case VT_I4: out.integer = V_I4(&v); break;
    case VT_UI4: out.integer = V_UI4(&v); break;
    case VT_INT: out.integer = V_INT(&v); break;
    case VT_UINT: out.integer = V_UINT(&v); break;
    case VT_I8: out.integer = V_I8(&v); break;
    case VT_UI8: out.integer = static_cast<std::int64_t>(V_UI8(&v)); break;
    case VT_ERROR: out.integer = V_ERROR(&v); break;
    case VT_HRESULT: out.integer = V_I4(&v); break;
    case VT_BOOL: out.integer = V_BOOL(&v) ? -1 : 0; break;
    case VT_CY: out.integer = V_CY(&v).int64; break;
    case VT_R4: out.real = V_R4(&v); break;
    case VT_R8: out.real = V_R8(&v); break;
    case VT_DATE: out.real = V_DATE(&v); break;
    case VT_BSTR:
      out.text = com::Utf8Of(V_BSTR(&v));
      break;
    case VT_DECIMAL: {
      const DECIMAL& d = V_DECIMAL(&v);
      out.decimal.scale = d.scale;
      out.decimal.sign = d.sign;
      out.decimal.hi32 = d.Hi32;
      out.decimal.lo64 = d.Lo64;
      break;
    }
    default: break;
  }
  return out;
}

TypeDesc ToTypeDesc(const TYPEDESC& t, int depth = 0);

ArrayDesc ToArrayDesc(const ARRAYDESC& a, int depth) {
  ArrayDesc out;
  out.element = ToTypeDesc(a.tdescElem, depth + 1);
  for (USHORT i = 0; i < a.cDims; ++i)
    out.bounds.push_back({a.rgbounds[i].cElements, a.rgbounds[i].lLbound});
  return out;
}

TypeDesc ToTypeDesc(const TYPEDESC& t, int depth) {
  TypeDesc out;
  out.vt = t.vt;
  // A chain deeper than any real declaration is cut rather than followed.
  if (depth > 64) return out;
  switch (t.vt) {
    case VT_PTR:
    case VT_SAFEARRAY:
      if (t.lptdesc && !IsBadReadPtr(t.lptdesc, 6))
        out.pointee = std::make_shared<TypeDesc>(ToTypeDesc(*t.lptdesc, depth + 1));
      break;
    case VT_CARRAY:
      if (t.lpadesc && !IsBadReadPtr(t.lpadesc, sizeof(ARRAYDESC)))
        out.array = std::make_shared<ArrayDesc>(ToArrayDesc(*t.lpadesc, depth));
      break;
    case VT_USERDEFINED:
      out.hreftype = t.hreftype;
      break;
    default: break;
  }
  return out;
}

ElemDesc ToElemDesc(const ELEMDESC& e) {
  ElemDesc out;
  out.tdesc = ToTypeDesc(e.tdesc);
  out.param_flags = e.paramdesc.wParamFlags;
  if ((e.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex)
    out.default_value = std::make_shared<const Variant>(ToVariant(e.paramdesc.pparamdescex->varDefaultValue));
  return out;
}

TypeAttr ToTypeAttr(const TYPEATTR& a) {
  TypeAttr out;
  out.guid = ToGuid(a.guid);
  out.lcid = a.lcid;
  out.memid_constructor = a.memidConstructor;
  out.memid_destructor = a.memidDestructor;
  out.cb_size_instance = a.cbSizeInstance;
  out.typekind = static_cast<TypeKind>(a.typekind);
  out.c_funcs = a.cFuncs;
  out.c_vars = a.cVars;
  out.c_impl_types = a.cImplTypes;
  out.cb_size_vft = a.cbSizeVft;
  out.cb_alignment = a.cbAlignment;
  out.w_type_flags = a.wTypeFlags;
  out.w_major_ver_num = a.wMajorVerNum;
  out.w_minor_ver_num = a.wMinorVerNum;
  out.tdesc_alias = a.typekind == TKIND_ALIAS ? ToTypeDesc(a.tdescAlias) : TypeDesc{};
  out.idl_flags = a.idldescType.wIDLFlags;
  return out;
}

FuncDesc ToFuncDesc(const FUNCDESC& f) {
  FuncDesc d;
  d.memid = f.memid;
  for (SHORT i = 0; i < f.cScodes && f.lprgscode; ++i) d.scodes.push_back(f.lprgscode[i]);
  for (SHORT i = 0; i < f.cParams && f.lprgelemdescParam; ++i) d.params.push_back(ToElemDesc(f.lprgelemdescParam[i]));
  d.funckind = f.funckind;
  d.invkind = f.invkind;
  d.callconv = f.callconv;
  d.c_params = f.cParams;
  d.c_params_opt = f.cParamsOpt;
  d.o_vft = f.oVft;
  d.c_scodes = f.cScodes;
  d.elemdesc_func = ToElemDesc(f.elemdescFunc);
  d.w_func_flags = f.wFuncFlags;
  return d;
}

VarDesc ToVarDesc(const VARDESC& v) {
  VarDesc d;
  d.memid = v.memid;
  d.varkind = v.varkind;
  if (v.varkind == VAR_CONST) {
    if (v.lpvarValue) d.value = ToVariant(*v.lpvarValue);
  } else {
    d.o_inst = v.oInst;
  }
  d.elemdesc_var = ToElemDesc(v.elemdescVar);
  d.w_var_flags = v.wVarFlags;
  return d;
}

LibAttr ToLibAttr(const TLIBATTR& a) {
  LibAttr out;
  out.guid = ToGuid(a.guid);
  out.lcid = a.lcid;
  out.syskind = a.syskind;
  out.w_major_ver_num = a.wMajorVerNum;
  out.w_minor_ver_num = a.wMinorVerNum;
  out.w_lib_flags = a.wLibFlags;
  return out;
}

// ITypeLib and ITypeInfo document themselves through the same call; the strings are taken
// (and freed) whether or not it succeeds.
template <class Source, class Index>
HResult ReadDocumentation(Source* source, Index index, Documentation& out) {
  com::Bstr name, doc, file;
  DWORD context = 0;
  const HRESULT hr = source->GetDocumentation(index, name.Out(), doc.Out(), &context, file.Out());
  Documentation d;
  d.name = name.Utf8();
  d.doc_string = doc.Utf8();
  d.help_file = file.Utf8();
  d.help_context = context;
  if (SUCCEEDED(hr)) out = std::move(d);
  return hr;
}

class PlatformTypeInfo final : public ITypeInfoAccess {
 public:
  explicit PlatformTypeInfo(com::Ptr<ITypeInfo> info) : info_(std::move(info)) {}

  HResult GetTypeAttr(TypeAttr& out) override {
    return CopyRecord([&](TYPEATTR** a) { return info_->GetTypeAttr(a); },
                      [&](TYPEATTR* a) { info_->ReleaseTypeAttr(a); }, ToTypeAttr, out);
  }

  HResult GetDocumentation(MemberId memid, Documentation& out) override {
    return ReadDocumentation(info_.get(), memid, out);
  }

  HResult GetFuncDesc(unsigned index, FuncDesc& out) override {
    return CopyRecord([&](FUNCDESC** f) { return info_->GetFuncDesc(index, f); },
                      [&](FUNCDESC* f) { info_->ReleaseFuncDesc(f); }, ToFuncDesc, out);
  }

  HResult GetVarDesc(unsigned index, VarDesc& out) override {
    return CopyRecord([&](VARDESC** v) { return info_->GetVarDesc(index, v); },
                      [&](VARDESC* v) { info_->ReleaseVarDesc(v); }, ToVarDesc, out);
  }

  HResult GetNames(MemberId memid, unsigned max_names, std::vector<std::string>& out) override {
    if (max_names > 4096) max_names = 4096;
    std::vector<BSTR> names(max_names ? max_names : 1, nullptr);
    UINT count = 0;
    const HRESULT hr = info_->GetNames(memid, names.data(), max_names, &count);
    std::vector<std::string> result;
    for (UINT i = 0; i < count && i < names.size(); ++i) result.push_back(com::Bstr(names[i]).Utf8());
    if (SUCCEEDED(hr)) out = std::move(result);
    return hr;
  }

  HResult GetRefTypeOfImplType(unsigned index, HRefType& out) override {
    HREFTYPE href = 0;
    const HRESULT hr = info_->GetRefTypeOfImplType(index, &href);
    if (SUCCEEDED(hr)) out = href;
    return hr;
  }

  HResult GetImplTypeFlags(unsigned index, std::int32_t& out) override {
    INT flags = 0;
    const HRESULT hr = info_->GetImplTypeFlags(index, &flags);
    if (SUCCEEDED(hr)) out = flags;
    return hr;
  }

  HResult GetRefTypeInfo(HRefType href, std::shared_ptr<ITypeInfoAccess>& out) override {
    com::Ptr<ITypeInfo> ref;
    const HRESULT hr = info_->GetRefTypeInfo(href, ref.Out());
    return Wrap<PlatformTypeInfo>(hr, std::move(ref), out);
  }

  HResult GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) override;

 private:
  com::Ptr<ITypeInfo> info_;
};

class PlatformTypeLib final : public ITypeLibAccess {
 public:
  explicit PlatformTypeLib(com::Ptr<ITypeLib> lib) : lib_(std::move(lib)) {}

  HResult GetDocumentation(int index, Documentation& out) override {
    return ReadDocumentation(lib_.get(), index, out);
  }

  unsigned GetTypeInfoCount() override { return lib_->GetTypeInfoCount(); }

  HResult GetTypeInfo(unsigned index, std::shared_ptr<ITypeInfoAccess>& out) override {
    com::Ptr<ITypeInfo> info;
    const HRESULT hr = lib_->GetTypeInfo(index, info.Out());
    return Wrap<PlatformTypeInfo>(hr, std::move(info), out);
  }

  HResult GetTypeInfoType(unsigned index, TypeKind& out) override {
    TYPEKIND kind = TKIND_ENUM;
    const HRESULT hr = lib_->GetTypeInfoType(index, &kind);
    if (SUCCEEDED(hr)) out = static_cast<TypeKind>(kind);
    return hr;
  }

  HResult GetLibAttr(LibAttr& out) override {
    return CopyRecord([&](TLIBATTR** a) { return lib_->GetLibAttr(a); },
                      [&](TLIBATTR* a) { lib_->ReleaseTLibAttr(a); }, ToLibAttr, out);
  }

 private:
  com::Ptr<ITypeLib> lib_;
};

HResult PlatformTypeInfo::GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) {
  com::Ptr<ITypeLib> lib;
  UINT i = 0;
  const HRESULT hr = info_->GetContainingTypeLib(lib.Out(), &i);
  const HResult result = Wrap<PlatformTypeLib>(hr, std::move(lib), out);
  if (SUCCEEDED(result)) index = i;
  return result;
}

}  // namespace

// Wine's ntdll exports its version; Windows' has no such export. Asked of the platform rather
// than of the environment, so that no setting can make Wine pass for Windows.
ReaderChoice PlatformReaderAdvice() {
  static const ReaderChoice advice = [] {
    using VersionFunction = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto wine_version =
        ntdll ? reinterpret_cast<VersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
              : nullptr;
    if (!wine_version) return ReaderChoice{ReaderKind::Platform, ReaderReason::OnWindows, "Windows"};
    const char* version = wine_version();
    return ReaderChoice{ReaderKind::Builtin, ReaderReason::UnderWine, std::string("Wine ") + (version ? version : "")};
  }();
  return advice;
}

HResult LoadPlatformTypeLibrary(const std::string& path, std::shared_ptr<ITypeLibAccess>& out) {
  com::Ptr<ITypeLib> lib;
  const HRESULT hr = LoadTypeLibEx(Wide(path).c_str(), REGKIND_NONE, lib.Out());
  // Callers take exactly kOk for success, so a success code other than S_OK is a failure here.
  if (hr != S_OK) return FAILED(hr) ? hr : kEFail;
  return Wrap<PlatformTypeLib>(hr, std::move(lib), out);
}

}  // namespace quenlor::typelib
