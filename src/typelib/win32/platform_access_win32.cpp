// The access port over the platform's OLE Automation: LoadTypeLibEx, ITypeLib, ITypeInfo.
// Records are copied into value records at once and given back to the platform, so no
// platform memory outlives a call.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <utility>

#include "base/text.h"
#include "typelib/access.h"
#include "typelib/platform_access.h"
#include "typelib/reader_choice.h"

namespace quenlor::typelib {

namespace {

// Owns one COM reference.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* p) : p_(p) {}
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p_) p_->Release();
  }
  T* get() const { return p_; }
  T** put() { return &p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

// Takes ownership of a BSTR and converts it to UTF-8.
std::string TakeBstr(BSTR text) {
  if (!text) return {};
  std::string result = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
  SysFreeString(text);
  return result;
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
      if (V_BSTR(&v))
        out.text = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(V_BSTR(&v)), SysStringLen(V_BSTR(&v))));
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

class PlatformTypeLib;

// ITypeLib and ITypeInfo document themselves through the same call; the strings are taken
// (and freed) whether or not it succeeds.
template <class Source, class Index>
HResult ReadDocumentation(Source* source, Index index, Documentation& out) {
  BSTR name = nullptr, doc = nullptr, file = nullptr;
  DWORD context = 0;
  const HRESULT hr = source->GetDocumentation(index, &name, &doc, &context, &file);
  Documentation d;
  d.name = TakeBstr(name);
  d.doc_string = TakeBstr(doc);
  d.help_file = TakeBstr(file);
  d.help_context = context;
  if (SUCCEEDED(hr)) out = std::move(d);
  return hr;
}

class PlatformTypeInfo final : public ITypeInfoAccess {
 public:
  explicit PlatformTypeInfo(ITypeInfo* info) : info_(info) {}

  HResult GetTypeAttr(TypeAttr& out) override {
    TYPEATTR* a = nullptr;
    const HRESULT hr = info_->GetTypeAttr(&a);
    if (FAILED(hr)) return hr;
    if (!a) return kEFail;
    out.guid = ToGuid(a->guid);
    out.lcid = a->lcid;
    out.memid_constructor = a->memidConstructor;
    out.memid_destructor = a->memidDestructor;
    out.cb_size_instance = a->cbSizeInstance;
    out.typekind = static_cast<TypeKind>(a->typekind);
    out.c_funcs = a->cFuncs;
    out.c_vars = a->cVars;
    out.c_impl_types = a->cImplTypes;
    out.cb_size_vft = a->cbSizeVft;
    out.cb_alignment = a->cbAlignment;
    out.w_type_flags = a->wTypeFlags;
    out.w_major_ver_num = a->wMajorVerNum;
    out.w_minor_ver_num = a->wMinorVerNum;
    out.tdesc_alias = a->typekind == TKIND_ALIAS ? ToTypeDesc(a->tdescAlias) : TypeDesc{};
    out.idl_flags = a->idldescType.wIDLFlags;
    info_->ReleaseTypeAttr(a);
    return hr;
  }

  HResult GetDocumentation(MemberId memid, Documentation& out) override {
    return ReadDocumentation(info_.get(), memid, out);
  }

  HResult GetFuncDesc(unsigned index, FuncDesc& out) override {
    FUNCDESC* f = nullptr;
    const HRESULT hr = info_->GetFuncDesc(index, &f);
    if (FAILED(hr)) return hr;
    if (!f) return kEFail;
    FuncDesc d;
    d.memid = f->memid;
    for (SHORT i = 0; i < f->cScodes && f->lprgscode; ++i) d.scodes.push_back(f->lprgscode[i]);
    for (SHORT i = 0; i < f->cParams && f->lprgelemdescParam; ++i)
      d.params.push_back(ToElemDesc(f->lprgelemdescParam[i]));
    d.funckind = f->funckind;
    d.invkind = f->invkind;
    d.callconv = f->callconv;
    d.c_params = f->cParams;
    d.c_params_opt = f->cParamsOpt;
    d.o_vft = f->oVft;
    d.c_scodes = f->cScodes;
    d.elemdesc_func = ToElemDesc(f->elemdescFunc);
    d.w_func_flags = f->wFuncFlags;
    info_->ReleaseFuncDesc(f);
    out = std::move(d);
    return hr;
  }

  HResult GetVarDesc(unsigned index, VarDesc& out) override {
    VARDESC* v = nullptr;
    const HRESULT hr = info_->GetVarDesc(index, &v);
    if (FAILED(hr)) return hr;
    if (!v) return kEFail;
    VarDesc d;
    d.memid = v->memid;
    d.varkind = v->varkind;
    if (v->varkind == VAR_CONST) {
      if (v->lpvarValue) d.value = ToVariant(*v->lpvarValue);
    } else {
      d.o_inst = v->oInst;
    }
    d.elemdesc_var = ToElemDesc(v->elemdescVar);
    d.w_var_flags = v->wVarFlags;
    info_->ReleaseVarDesc(v);
    out = std::move(d);
    return hr;
  }

  HResult GetNames(MemberId memid, unsigned max_names, std::vector<std::string>& out) override {
    if (max_names > 4096) max_names = 4096;
    std::vector<BSTR> names(max_names ? max_names : 1, nullptr);
    UINT count = 0;
    const HRESULT hr = info_->GetNames(memid, names.data(), max_names, &count);
    std::vector<std::string> result;
    for (UINT i = 0; i < count && i < names.size(); ++i) result.push_back(TakeBstr(names[i]));
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
    ComRef<ITypeInfo> ref;
    const HRESULT hr = info_->GetRefTypeInfo(href, ref.put());
    if (FAILED(hr)) return hr;
    if (!ref.get()) return kEFail;
    ref->AddRef();
    out = std::make_shared<PlatformTypeInfo>(ref.get());
    return hr;
  }

  HResult GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) override;

 private:
  ComRef<ITypeInfo> info_;
};

class PlatformTypeLib final : public ITypeLibAccess {
 public:
  explicit PlatformTypeLib(ITypeLib* lib) : lib_(lib) {}

  HResult GetDocumentation(int index, Documentation& out) override {
    return ReadDocumentation(lib_.get(), index, out);
  }

  unsigned GetTypeInfoCount() override { return lib_->GetTypeInfoCount(); }

  HResult GetTypeInfo(unsigned index, std::shared_ptr<ITypeInfoAccess>& out) override {
    ITypeInfo* info = nullptr;
    const HRESULT hr = lib_->GetTypeInfo(index, &info);
    if (FAILED(hr)) return hr;
    if (!info) return kEFail;
    out = std::make_shared<PlatformTypeInfo>(info);
    return hr;
  }

  HResult GetTypeInfoType(unsigned index, TypeKind& out) override {
    TYPEKIND kind = TKIND_ENUM;
    const HRESULT hr = lib_->GetTypeInfoType(index, &kind);
    if (SUCCEEDED(hr)) out = static_cast<TypeKind>(kind);
    return hr;
  }

  HResult GetLibAttr(LibAttr& out) override {
    TLIBATTR* a = nullptr;
    const HRESULT hr = lib_->GetLibAttr(&a);
    if (FAILED(hr)) return hr;
    if (!a) return kEFail;
    out.guid = ToGuid(a->guid);
    out.lcid = a->lcid;
    out.syskind = a->syskind;
    out.w_major_ver_num = a->wMajorVerNum;
    out.w_minor_ver_num = a->wMinorVerNum;
    out.w_lib_flags = a->wLibFlags;
    lib_->ReleaseTLibAttr(a);
    return hr;
  }

 private:
  ComRef<ITypeLib> lib_;
};

HResult PlatformTypeInfo::GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) {
  ITypeLib* lib = nullptr;
  UINT i = 0;
  const HRESULT hr = info_->GetContainingTypeLib(&lib, &i);
  if (FAILED(hr)) return hr;
  if (!lib) return kEFail;
  out = std::make_shared<PlatformTypeLib>(lib);
  index = i;
  return hr;
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
  const std::u16string wide = Utf8ToUtf16(path);
  ITypeLib* lib = nullptr;
  const HRESULT hr = LoadTypeLibEx(reinterpret_cast<const wchar_t*>(wide.c_str()), REGKIND_NONE, &lib);
  if (hr != S_OK) {
    if (lib) lib->Release();
    return FAILED(hr) ? hr : kEFail;
  }
  if (!lib) return kEFail;
  out = std::make_shared<PlatformTypeLib>(lib);
  return kOk;
}

}  // namespace quenlor::typelib
