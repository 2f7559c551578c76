#include "typelib/dump.h"

#include <charconv>
#include <cstdio>

namespace quenlor::typelib {

namespace {

std::string Hex(std::uint64_t value, int digits = 0) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return buffer;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Real(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string VariantText(const Variant& v) {
  const std::string vt = "vt=" + std::to_string(v.vt) + " ";
  switch (v.vt) {
    case VT_EMPTY_: return "EMPTY";
    case VT_NULL_: return "NULL";
    case VT_R4_:
    case VT_R8_:
    case VT_DATE_: return vt + Real(v.real);
    case VT_BSTR_:
    case VT_LPSTR_:
    case VT_LPWSTR_: return vt + Quote(v.text);
    case VT_DECIMAL_:
      return vt + "scale=" + std::to_string(v.decimal.scale) + " sign=" + std::to_string(v.decimal.sign) +
             " hi=" + std::to_string(v.decimal.hi32) + " lo=" + std::to_string(v.decimal.lo64);
    default: return vt + std::to_string(v.integer);
  }
}

class Dumper {
 public:
  explicit Dumper(ITypeLibAccess& lib) : lib_(lib) {}

  std::string Run() {
    Documentation doc;
    const HResult dhr = lib_.GetDocumentation(-1, doc);
    Line(0, "library " + DocText(dhr, doc));
    LibAttr attr;
    const HResult ahr = lib_.GetLibAttr(attr);
    if (Failed(ahr)) {
      Line(1, "libattr " + HResultText(ahr));
    } else {
      Line(1, "libattr guid=" + GuidText(attr.guid) + " lcid=" + Hex(attr.lcid) + " syskind=" +
                  std::to_string(attr.syskind) + " version=" + std::to_string(attr.w_major_ver_num) + "." +
                  std::to_string(attr.w_minor_ver_num) + " flags=" + Hex(attr.w_lib_flags));
    }
    const unsigned count = lib_.GetTypeInfoCount();
    Line(1, "types " + std::to_string(count));
    for (unsigned i = 0; i < count; ++i) {
      Documentation type_doc;
      const HResult thr = lib_.GetDocumentation(static_cast<int>(i), type_doc);
      TypeKind kind{};
      const HResult khr = lib_.GetTypeInfoType(i, kind);
      Line(0, "type " + std::to_string(i) + " kind=" + (Failed(khr) ? HResultText(khr) : std::to_string(kind)) +
                  " " + DocText(thr, type_doc));
      std::shared_ptr<ITypeInfoAccess> info;
      const HResult ihr = lib_.GetTypeInfo(i, info);
      if (Failed(ihr)) {
        Line(1, "typeinfo " + HResultText(ihr));
        continue;
      }
      DumpType(*info, 1, true);
    }
    return std::move(out_);
  }

 private:
  void Line(int depth, const std::string& text) {
    out_.append(static_cast<std::size_t>(depth) * 2, ' ');
    out_ += text;
    out_ += '\n';
  }

  static std::string DocText(HResult hr, const Documentation& doc) {
    if (Failed(hr)) return "doc " + HResultText(hr);
    return "name=" + Quote(doc.name) + " doc=" + Quote(doc.doc_string) + " helpcontext=" +
           std::to_string(doc.help_context) + " helpfile=" + Quote(doc.help_file);
  }

  // The name of the type `href` refers to, with its library, as the description writer
  // would find it.
  std::string RefText(ITypeInfoAccess& info, HRefType href) {
    std::shared_ptr<ITypeInfoAccess> ref;
    const HResult hr = info.GetRefTypeInfo(href, ref);
    if (Failed(hr)) return "<" + HResultText(hr) + ">";
    return TypeIdentity(*ref);
  }

  std::string TypeIdentity(ITypeInfoAccess& ref) {
    Documentation doc;
    const HResult dhr = ref.GetDocumentation(kMemberIdNil, doc);
    std::string text = Failed(dhr) ? "<" + HResultText(dhr) + ">" : doc.name;
    std::shared_ptr<ITypeLibAccess> lib;
    unsigned index = 0;
    const HResult lhr = ref.GetContainingTypeLib(lib, index);
    if (Failed(lhr)) return text + "@<" + HResultText(lhr) + ">";
    Documentation lib_doc;
    const HResult ldhr = lib->GetDocumentation(-1, lib_doc);
    LibAttr attr;
    const HResult lahr = lib->GetLibAttr(attr);
    text += "@" + (Failed(ldhr) ? "<" + HResultText(ldhr) + ">" : lib_doc.name);
    text += (Failed(lahr) ? "<" + HResultText(lahr) + ">" : GuidText(attr.guid) + "/" +
                                  std::to_string(attr.w_major_ver_num) + "." + std::to_string(attr.w_minor_ver_num));
    text += "#" + std::to_string(index);
    TypeAttr ta;
    const HResult tahr = ref.GetTypeAttr(ta);
    text += Failed(tahr) ? " kind=<" + HResultText(tahr) + ">" : " kind=" + std::to_string(ta.typekind);
    return text;
  }

  std::string TypeDescText(ITypeInfoAccess& info, const TypeDesc& t, int depth = 0) {
    if (depth > 64) return "...";
    switch (t.vt) {
      case VT_PTR_:
      case VT_SAFEARRAY_:
        return std::string(t.vt == VT_PTR_ ? "PTR(" : "SAFEARRAY(") +
               (t.pointee ? TypeDescText(info, *t.pointee, depth + 1) : std::string("<unreadable>")) + ")";
      case VT_CARRAY_: {
        if (!t.array) return "CARRAY(<unreadable>)";
        std::string text = "CARRAY(" + TypeDescText(info, t.array->element, depth + 1);
        for (const auto& b : t.array->bounds)
          text += " [" + std::to_string(b.lower_bound) + ":" + std::to_string(b.elements) + "]";
        return text + ")";
      }
      case VT_USERDEFINED_: return "USERDEFINED(" + RefText(info, t.hreftype) + ")";
      default: return std::to_string(t.vt);
    }
  }

  std::string ElemText(ITypeInfoAccess& info, const ElemDesc& e) {
    std::string text = TypeDescText(info, e.tdesc) + " pflags=" + Hex(e.param_flags);
    if (e.default_value) text += " default=" + VariantText(*e.default_value);
    return text;
  }

  std::string NamesText(ITypeInfoAccess& info, MemberId memid, unsigned max_names) {
    std::vector<std::string> names;
    const HResult hr = info.GetNames(memid, max_names, names);
    if (Failed(hr)) return "names " + HResultText(hr);
    std::string text = "names " + std::to_string(names.size());
    for (const auto& name : names) text += " " + Quote(name);
    return text;
  }

  void DumpType(ITypeInfoAccess& info, int depth, bool with_partner) {
    TypeAttr a;
    const HResult ahr = info.GetTypeAttr(a);
    if (Failed(ahr)) {
      Line(depth, "typeattr " + HResultText(ahr));
      return;
    }
    Documentation doc;
    Line(depth, "doc " + DocText(info.GetDocumentation(kMemberIdNil, doc), doc));
    Line(depth, "typeattr guid=" + GuidText(a.guid) + " lcid=" + Hex(a.lcid) + " ctor=" +
                    std::to_string(a.memid_constructor) + " dtor=" + std::to_string(a.memid_destructor) +
                    " cbinstance=" + std::to_string(a.cb_size_instance) + " kind=" + std::to_string(a.typekind) +
                    " funcs=" + std::to_string(a.c_funcs) + " vars=" + std::to_string(a.c_vars) +
                    " impls=" + std::to_string(a.c_impl_types) + " cbvft=" + std::to_string(a.cb_size_vft) +
                    " align=" + std::to_string(a.cb_alignment) + " flags=" + Hex(a.w_type_flags) +
                    " version=" + std::to_string(a.w_major_ver_num) + "." + std::to_string(a.w_minor_ver_num) +
                    " idlflags=" + Hex(a.idl_flags));
    if (a.typekind == TKIND_ALIAS_) Line(depth + 1, "alias " + TypeDescText(info, a.tdesc_alias));
    for (unsigned i = 0; i < a.c_funcs; ++i) {
      FuncDesc f;
      const HResult fhr = info.GetFuncDesc(i, f);
      if (Failed(fhr)) {
        Line(depth + 1, "func " + std::to_string(i) + " " + HResultText(fhr));
        continue;
      }
      Line(depth + 1, "func " + std::to_string(i) + " memid=" + Hex(static_cast<std::uint32_t>(f.memid), 8) +
                          " funckind=" + std::to_string(f.funckind) + " invkind=" + std::to_string(f.invkind) +
                          " callconv=" + std::to_string(f.callconv) + " params=" + std::to_string(f.c_params) +
                          " opt=" + std::to_string(f.c_params_opt) + " vft=" + std::to_string(f.o_vft) +
                          " scodes=" + std::to_string(f.c_scodes) + " flags=" + Hex(f.w_func_flags));
      for (auto scode : f.scodes) Line(depth + 2, "scode " + Hex(static_cast<std::uint32_t>(scode), 8));
      Line(depth + 2, "return " + ElemText(info, f.elemdesc_func));
      for (std::size_t p = 0; p < f.params.size(); ++p)
        Line(depth + 2, "param " + std::to_string(p) + " " + ElemText(info, f.params[p]));
      Line(depth + 2, NamesText(info, f.memid, static_cast<unsigned>(f.params.size()) + 1));
      Documentation fdoc;
      Line(depth + 2, "doc " + DocText(info.GetDocumentation(f.memid, fdoc), fdoc));
    }
    for (unsigned i = 0; i < a.c_vars; ++i) {
      VarDesc v;
      const HResult vhr = info.GetVarDesc(i, v);
      if (Failed(vhr)) {
        Line(depth + 1, "var " + std::to_string(i) + " " + HResultText(vhr));
        continue;
      }
      std::string text = "var " + std::to_string(i) + " memid=" + Hex(static_cast<std::uint32_t>(v.memid), 8) +
                         " varkind=" + std::to_string(v.varkind) + " flags=" + Hex(v.w_var_flags);
      if (v.varkind == 2)
        text += " value=" + (v.value ? VariantText(*v.value) : std::string("<none>"));
      else
        text += " oinst=" + std::to_string(v.o_inst);
      Line(depth + 1, text);
      Line(depth + 2, "type " + ElemText(info, v.elemdesc_var));
      Line(depth + 2, NamesText(info, v.memid, 1));
      Documentation vdoc;
      Line(depth + 2, "doc " + DocText(info.GetDocumentation(v.memid, vdoc), vdoc));
    }
    for (unsigned i = 0; i < a.c_impl_types; ++i) {
      HRefType href = 0;
      const HResult rhr = info.GetRefTypeOfImplType(i, href);
      std::int32_t flags = 0;
      const HResult fhr = info.GetImplTypeFlags(i, flags);
      Line(depth + 1, "impl " + std::to_string(i) + " flags=" + (Failed(fhr) ? HResultText(fhr) : Hex(static_cast<std::uint32_t>(flags))) +
                          " type=" + (Failed(rhr) ? HResultText(rhr) : RefText(info, href)));
    }
    HRefType partner = 0;
    const HResult phr = info.GetRefTypeOfImplType(static_cast<unsigned>(-1), partner);
    if (Failed(phr)) {
      Line(depth + 1, "partner " + HResultText(phr));
    } else {
      std::shared_ptr<ITypeInfoAccess> view;
      const HResult vhr = info.GetRefTypeInfo(partner, view);
      if (Failed(vhr)) {
        Line(depth + 1, "partner " + HResultText(vhr));
      } else if (with_partner) {
        Line(depth + 1, "partner " + TypeIdentity(*view));
        DumpType(*view, depth + 2, false);
      } else {
        Line(depth + 1, "partner " + TypeIdentity(*view));
      }
    }
  }

  ITypeLibAccess& lib_;
  std::string out_;
};

}  // namespace

std::string HResultText(HResult hr) { return Hex(static_cast<std::uint32_t>(hr), 8); }

std::string DumpTypeLibrary(ITypeLibAccess& lib) { return Dumper(lib).Run(); }

}  // namespace quenlor::typelib
