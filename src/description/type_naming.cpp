#include "description/type_naming.h"

#include <array>
#include <string_view>

#include "base/text.h"

namespace quenlor::description {

namespace {

constexpr std::string_view kArrayOf = "Array of %s";
constexpr std::uint16_t kFlagBits = VT_VECTOR_ | VT_ARRAY_ | VT_BYREF_ | VT_RESERVED_;

std::string Hex(std::uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
  return text;
}

std::string UnknownCode(std::uint16_t code) { return "<Unknown " + Hex(code, 8) + ">"; }

constexpr std::int32_t kImplTypeDefault = 0x1;
constexpr std::int32_t kImplTypeSource = 0x2;

// The built-in type texts a library's own type must not take, folded: a unit declaring a
// record Integer would mean the record wherever the library means the built-in type.
// IUnknown and IDispatch are left out: a library declaring them declares those very types.
constexpr std::array<std::string_view, 25> kBuiltInTexts = {
    "smallint", "longint",  "single",   "double",  "currency",  "toledate",  "widestring",
    "hresult",  "wordbool", "olevariant", "decimal", "tdecimal", "char",     "byte",
    "word",     "longword", "int64",    "integer", "cardinal",  "pointer",   "pchar",
    "pwidechar", "tguid",   "psafearray", "toleenum"};

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A coclass is no type a declaration can use: a reference to one stands for its default
// interface (the first one not marked as a source of events), as a client of the coclass
// gets it. Empty when the coclass names none that can be read.
std::string DefaultInterfaceName(typelib::ITypeInfoAccess& coclass, const typelib::TypeAttr& attr) {
  std::string fallback;
  for (unsigned index = 0; index < attr.c_impl_types; ++index) {
    std::int32_t flags = 0;
    typelib::HRefType href = 0;
    std::shared_ptr<typelib::ITypeInfoAccess> implemented;
    if (typelib::Failed(coclass.GetImplTypeFlags(index, flags)) || (flags & kImplTypeSource)) continue;
    if (typelib::Failed(coclass.GetRefTypeOfImplType(index, href))) continue;
    if (typelib::Failed(coclass.GetRefTypeInfo(href, implemented)) || !implemented) continue;
    std::string name = MemberName(*implemented, typelib::kMemberIdNil);
    if (flags & kImplTypeDefault) return name;
    if (fallback.empty()) fallback = std::move(name);
  }
  return fallback;
}

std::string ReferencedTypeName(typelib::ITypeInfoAccess& referenced) {
  typelib::TypeAttr attr;
  if (typelib::Succeeded(referenced.GetTypeAttr(attr)) && attr.typekind == typelib::TKIND_COCLASS_) {
    std::string name = DefaultInterfaceName(referenced, attr);
    if (!name.empty()) return name;
  }
  return MemberName(referenced, typelib::kMemberIdNil);
}

std::string ArrayText(typelib::ITypeInfoAccess& type_info, const typelib::ArrayDesc& array) {
  std::string text = "array";
  for (const auto& bound : array.bounds) {
    // 64-bit so that a bound near the 32-bit limits prints the value it stands for.
    const std::int64_t lower = bound.lower_bound;
    const std::int64_t upper = lower + static_cast<std::int64_t>(bound.elements) - 1;
    text += "[" + std::to_string(lower) + ".." + std::to_string(upper) + "]";
  }
  text += " of ";
  // A record, union or other type of the library is named like any reference to it; its
  // bare code (29) names nothing a declaration could use.
  text += array.element.vt == VT_USERDEFINED_ ? TypeDescText(type_info, array.element)
                                              : ElementTypeText(array.element.vt);
  return text;
}

}  // namespace

std::string VarTypeName(std::uint16_t var_type) {
  switch (var_type) {
    case 0: return "";
    case 1: return "VT_NULL";
    case 2: return "Smallint";
    case 3: return "Longint";
    case 4: return "Single";
    case 5: return "Double";
    case 6: return "Currency";
    case 7: return "TOleDate";
    case 8: return "WideString";
    case 9: return "IDispatch";
    case 10: return "HResult";
    case 11: return "WordBool";
    case 12: return "OleVariant";
    case 13: return "IUnknown";
    case 14: return "Decimal";
    case 16: return "Char";
    case 17: return "Byte";
    case 18: return "Word";
    case 19: return "LongWord";
    case 20: return "Int64";
    case 21: return "Int64";
    case 22: return "Integer";
    case 23: return "Cardinal";
    // A function returning nothing reads like one returning an HRESULT; the generator's
    // dispinterface rules depend on that.
    case 24: return "HResult";
    case 25: return "HResult";
    case 26: return "Pointer";
    case 30: return "PChar";
    case 31: return "PWideChar";
    case 64: return "VT_FILETIME";
    case 65: return "VT_BLOB";
    case 66: return "VT_STREAM";
    case 67: return "VT_STORAGE";
    case 68: return "VT_STREAMED_OBJECT";
    case 69: return "VT_STORED_OBJECT";
    case 70: return "VT_BLOB_OBJECT";
    case 71: return "VT_CF";
    case 72: return "TGUID";
    case 8192: return "PSafeArray";
    case 65535: return "VT_ILLEGAL";
    default: return std::to_string(var_type);
  }
}

std::string ElementTypeText(std::uint16_t var_type) {
  if (var_type <= VT_CLSID_ || var_type == VT_ARRAY_ || var_type == VT_ILLEGAL_) return VarTypeName(var_type);
  const std::uint16_t base = var_type & static_cast<std::uint16_t>(~kFlagBits);
  // A flag around VT_EMPTY, or a base code beyond the table, names nothing a reader could use.
  if (base == VT_EMPTY_ || base > VT_CLSID_) return UnknownCode(var_type);
  // Read from the outside in: "RESERVED (Vector of Array of BYREF Longint)".
  std::string text = VarTypeName(base);
  if (var_type & VT_BYREF_) text = "BYREF " + text;
  if (var_type & VT_ARRAY_) {
    std::string array_of(kArrayOf);
    text = array_of.replace(array_of.find("%s"), 2, text);
  }
  if (var_type & VT_VECTOR_) text = "Vector of " + text;
  if (var_type & VT_RESERVED_) text = "RESERVED (" + text + ")";
  return text;
}

std::string TypeDescText(typelib::ITypeInfoAccess& type_info, const typelib::TypeDesc& desc) {
  // A pointer is named by what it points to, through any number of levels. Walked as a loop
  // so that a hostile chain of pointers cannot exhaust the stack.
  const typelib::TypeDesc* current = &desc;
  while (current->vt == VT_PTR_ && current->pointee) current = current->pointee.get();

  std::string text;
  // A pointer to nothing (void*) is an untyped pointer, not a pointer to a result code.
  const int vt = current->vt == VT_VOID_ && current != &desc ? static_cast<int>(VT_PTR_) : current->vt;
  switch (vt) {
    case VT_PTR_:  // its target is unreadable, or nothing
      text = "Pointer";
      break;
    case VT_SAFEARRAY_:
      text = "OleVariant";
      break;
    case VT_CARRAY_:
      if (current->array) text = ArrayText(type_info, *current->array);
      break;
    case VT_USERDEFINED_: {
      std::shared_ptr<typelib::ITypeInfoAccess> referenced;
      if (typelib::Succeeded(type_info.GetRefTypeInfo(current->hreftype, referenced)) && referenced)
        text = ReferencedTypeName(*referenced);
      break;
    }
    default:
      text = VarTypeName(current->vt);
      break;
  }
  if (text == "GUID") text = "TGUID";
  if (text.empty()) text = kCannotConvert;
  return text;
}

std::string MemberName(typelib::ITypeInfoAccess& type_info, typelib::MemberId member_id) {
  typelib::Documentation doc;
  if (typelib::Failed(type_info.GetDocumentation(member_id, doc))) return {};
  return member_id == typelib::kMemberIdNil ? TypeOwnName(doc.name) : IdentifierText(doc.name);
}

std::string IdentifierText(std::string_view name) {
  // Blanks around a name are no part of it (the description's readers trim them anyway).
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!name.empty() && is_blank(name.front())) name.remove_prefix(1);
  while (!name.empty() && is_blank(name.back())) name.remove_suffix(1);
  std::string text;
  text.reserve(name.size() + 1);
  for (const char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) continue;
    text += code >= 0x80 || IsIdentifierChar(c) ? c : '_';
  }
  if (!text.empty() && text[0] >= '0' && text[0] <= '9') text.insert(text.begin(), '_');
  return text;
}

std::string TypeOwnName(std::string_view documented_name) {
  std::string text = IdentifierText(documented_name);
  const std::string folded = AsciiLower(text);
  for (std::string_view built_in : kBuiltInTexts) {
    if (folded == built_in) return text + "_";
  }
  return text;
}

}  // namespace quenlor::description
