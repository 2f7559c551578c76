// The MSFT type library format: a fixed header, a directory of fifteen segments, and
// per-type member blocks. Every offset in the file is checked against the segment it
// points into before it is used; counts are checked against the bytes that could hold
// them, so no allocation exceeds what the image can describe.
#include <algorithm>
#include <cstring>
#include <map>

#include "typelib/reader/ansi.h"
#include "typelib/reader/bytes.h"
#include "typelib/reader/container.h"
#include "typelib/reader/failure.h"
#include "typelib/reader/model.h"

namespace quenlor::typelib::reader {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::uint32_t kTypeInfoSize = 0x64;
// Pointer chains and array element chains in real libraries are a few levels deep; a
// longer chain is a loop in a corrupt file.
constexpr int kMaxTypeDepth = 32;

enum Segment {
  kTypeInfoTab = 0, kImportInfo = 1, kImportFiles = 2, kRefTab = 3, kGuidHash = 4, kGuidTab = 5,
  kNameHash = 6, kNameTab = 7, kStringTab = 8, kTypedescTab = 9, kArrayDescs = 10, kCustData = 11,
  kCustDataGuids = 12, kSegmentCount = 15,
};

class MsftParser {
 public:
  explicit MsftParser(Bytes image) : image_(image) {}

  void Parse(Library& lib) {
    Cursor h(image_);
    Require(h.U32() == kMsftMagic, 0, "no MSFT signature");
    h.U32();  // format version
    const std::uint32_t posguid = h.U32();
    h.U32();  // hashing locale
    lib.lcid = h.U32();
    const std::uint32_t varflags = h.U32();
    const std::uint32_t version = h.U32();
    const std::uint32_t flags = h.U32();
    const std::uint32_t type_count = h.U32();
    const std::uint32_t helpstring = h.U32();
    lib.help_string_context = h.U32();
    lib.help_context = h.U32();
    h.U32();
    h.U32();
    const std::uint32_t name = h.U32();
    const std::uint32_t helpfile = h.U32();
    const std::uint32_t custdata = h.U32();
    h.U32();
    h.U32();
    dispatch_pos_ = h.U32();
    import_count_ = h.U32();
    std::uint32_t helpdll = kNone;
    if (varflags & 0x100) helpdll = h.U32();
    Require(h.ok(), h.position(), "header truncated");
    // The offset array and the directory must fit before any type count is trusted.
    Require(type_count <= image_.size() / 4, 0x20, "type count beyond the image");
    // Type i's record lies where the offset array says; that offset is also its handle.
    type_offsets_.reserve(type_count);
    for (std::uint32_t i = 0; i < type_count; ++i) type_offsets_.push_back(h.U32());
    for (int i = 0; i < kSegmentCount; ++i) {
      const std::uint32_t offset = h.U32();
      const std::uint32_t length = h.U32();
      h.U32();
      h.U32();
      Require(h.ok(), h.position(), "segment directory truncated");
      if (offset == kNone || length == 0) continue;
      Cursor segment(image_, offset);
      segments_[i] = segment.Span(length);
      Require(segment.ok(), h.position() - 16, "segment outside the file");
    }
    Require(type_count <= segments_[kTypeInfoTab].size() / kTypeInfoSize, 0x20, "type count beyond the type table");
    for (std::uint32_t i = 0; i < type_count; ++i) {
      Require(InRange(type_offsets_[i], kTypeInfoSize, segments_[kTypeInfoTab].size()),
              image_, segments_[kTypeInfoTab], type_offsets_[i], "type record outside the type table");
      type_index_.emplace(type_offsets_[i], i);
    }
    type_count_ = type_count;

    lib.syskind = varflags & 0x0F;
    lib.major = static_cast<std::uint16_t>(version & 0xFFFF);
    lib.minor = static_cast<std::uint16_t>(version >> 16);
    lib.lib_flags = static_cast<std::uint16_t>(flags & 0xFFFF);
    if (posguid != kNone) lib.guid = GuidAt(posguid);
    lib.name = NameAt(name);
    lib.doc_string = StringAt(helpstring);
    if (varflags & 0x10) lib.help_file = StringAt(helpfile);
    lib.help_string_dll = StringAt(helpdll);
    lib.custom = CustomChain(custdata);

    lib_ = &lib;
    lib.types.resize(type_count);
    for (std::uint32_t i = 0; i < type_count; ++i) ParseTypeInfo(i, lib.types[i]);
    if (dispatch_pos_ != kNone && Resolve(dispatch_pos_)) lib.dispatch_href = dispatch_pos_;
  }

 private:
  // --- tables -------------------------------------------------------------------------

  std::string NameAt(std::uint32_t offset) {
    if (offset == kNone) return {};
    Cursor c(segments_[kNameTab], offset);
    c.Skip(8);
    const std::uint8_t length = c.U8();
    c.Skip(3);
    std::string text = c.Text(length);
    Require(c.ok(), image_, c, "name outside the name table");
    return AnsiToUtf8(text);
  }

  std::string StringAt(std::uint32_t offset) {
    if (offset == kNone) return {};
    Cursor c(segments_[kStringTab], offset);
    const std::uint16_t length = c.U16();
    std::string text = c.Text(length);
    Require(c.ok(), image_, c, "string outside the string table");
    return AnsiToUtf8(text);
  }

  Guid GuidAt(std::uint32_t offset) {
    Guid g;
    // A negative offset is no GUID: the platform reads it as the null GUID (widl writes
    // one for a library imported twice).
    if (offset & 0x80000000u) return g;
    Cursor c(segments_[kGuidTab], offset);
    g.data1 = c.U32();
    g.data2 = c.U16();
    g.data3 = c.U16();
    for (auto& b : g.data4) b = c.U8();
    Require(c.ok(), image_, c, "GUID outside the GUID table");
    return g;
  }

  // --- values ---------------------------------------------------------------------------

  static Variant InlineValue(std::uint32_t ref) {
    const auto vt = static_cast<std::uint16_t>((ref >> 26) & 0x1F);
    const std::uint32_t raw = ref & 0x03FFFFFF;
    Variant v;
    v.vt = vt;
    switch (vt) {
      case VT_I1_: v.integer = static_cast<std::int8_t>(raw & 0xFF); break;
      case VT_UI1_: v.integer = raw & 0xFF; break;
      case VT_I2_: v.integer = static_cast<std::int16_t>(raw & 0xFFFF); break;
      case VT_UI2_: v.integer = raw & 0xFFFF; break;
      case VT_BOOL_: v.integer = (raw & 0xFFFF) ? -1 : 0; break;
      case VT_R4_: {
        float f;
        std::uint32_t bits = raw;
        std::memcpy(&f, &bits, 4);
        v.real = f;
        break;
      }
      default: v.integer = raw; break;
    }
    return v;
  }

  Variant ValueAt(std::uint32_t ref) {
    if (ref & 0x80000000u) return InlineValue(ref);
    Cursor c(segments_[kCustData], ref);
    Variant v;
    v.vt = c.U16();
    switch (v.vt) {
      case VT_I1_: v.integer = static_cast<std::int8_t>(c.U32() & 0xFF); break;
      case VT_UI1_: v.integer = c.U32() & 0xFF; break;
      case VT_I2_: v.integer = static_cast<std::int16_t>(c.U32() & 0xFFFF); break;
      case VT_UI2_: v.integer = c.U32() & 0xFFFF; break;
      case VT_BOOL_: v.integer = (c.U32() & 0xFFFF) ? -1 : 0; break;
      case VT_I4_: case VT_INT_: case VT_ERROR_: case VT_HRESULT_: v.integer = c.I32(); break;
      case VT_UI4_: case VT_UINT_: v.integer = c.U32(); break;
      case VT_R4_: {
        float f;
        const std::uint32_t bits = c.U32();
        std::memcpy(&f, &bits, 4);
        v.real = f;
        break;
      }
      case VT_R8_: case VT_DATE_: {
        const std::uint64_t bits = c.U64();
        std::memcpy(&v.real, &bits, 8);
        break;
      }
      case VT_I8_: case VT_UI8_: case VT_CY_: v.integer = static_cast<std::int64_t>(c.U64()); break;
      case VT_BSTR_: {
        const std::uint32_t length = c.U32();
        if (length != kNone) v.text = AnsiToUtf8(c.Text(length));
        break;
      }
      case VT_DECIMAL_: {
        c.Skip(2);  // the DECIMAL's reserved word
        v.decimal.scale = c.U8();
        v.decimal.sign = c.U8();
        v.decimal.hi32 = c.U32();
        v.decimal.lo64 = c.U64();
        break;
      }
      default: break;
    }
    Require(c.ok(), image_, c, "value outside the custom data");
    return v;
  }

  std::vector<CustomDatum> CustomChain(std::uint32_t offset) {
    std::vector<CustomDatum> items;
    const std::size_t limit = segments_[kCustDataGuids].size() / 12;
    while (offset != kNone) {
      Require(items.size() < limit, image_, segments_[kCustDataGuids], offset, "custom data chain loops");
      Cursor c(segments_[kCustDataGuids], offset);
      const std::uint32_t guid = c.U32();
      const std::uint32_t value = c.U32();
      offset = c.U32();
      Require(c.ok(), image_, c, "custom data entry outside its table");
      items.push_back({GuidAt(guid), ValueAt(value)});
    }
    return items;
  }

  // --- types ----------------------------------------------------------------------------

  // Records what a stored HRefType refers to; false when it refers to nothing.
  bool Resolve(HRefType href) {
    if (lib_->refs.count(href)) return true;
    RefTarget target;
    if ((href & 3) == 0) {
      const auto it = type_index_.find(href);
      if (it == type_index_.end()) return false;
      target.local_index = it->second;
    } else if ((href & 3) == 1) {
      Cursor c(segments_[kImportInfo], href - 1);
      const std::uint32_t flags = c.U32();
      const std::uint32_t file = c.U32();
      const std::uint32_t which = c.U32();
      if (!c.ok() || (href - 1) % 12 != 0) return false;
      target.imported = true;
      target.library = ImportedLibraryAt(file);
      target.by_guid = (flags & 0x10000) != 0;
      if (target.by_guid) target.guid = GuidAt(which);
      else target.index = which;
    } else {
      return false;
    }
    lib_->refs.emplace(href, target);
    return true;
  }

  std::uint32_t ImportedLibraryAt(std::uint32_t offset) {
    if (auto it = import_index_.find(offset); it != import_index_.end()) return it->second;
    Cursor c(segments_[kImportFiles], offset);
    ImportedLibrary imp;
    const std::uint32_t guid = c.U32();
    imp.lcid = c.U32();
    const std::uint32_t version = c.U32();
    const std::uint16_t size = c.U16();
    imp.file_name = AnsiToUtf8(c.Text(size >> 2));
    Require(c.ok(), image_, c, "import file entry outside its table");
    imp.libid = GuidAt(guid);
    imp.major = static_cast<std::uint16_t>(version & 0xFFFF);
    imp.minor = static_cast<std::uint16_t>(version >> 16);
    const auto index = static_cast<std::uint32_t>(lib_->imports.size());
    lib_->imports.push_back(std::move(imp));
    import_index_.emplace(offset, index);
    return index;
  }

  TypeDesc DataType(std::uint32_t encoded, int depth = 0) {
    TypeDesc t;
    if (encoded & 0x80000000u) {
      t.vt = static_cast<std::uint16_t>(encoded & 0x0FFF);
      return t;
    }
    Require(depth <= kMaxTypeDepth, image_, segments_[kTypedescTab], encoded, "type description nests too deep");
    if (auto it = typedescs_.find(encoded); it != typedescs_.end()) return it->second;
    Cursor c(segments_[kTypedescTab], encoded);
    t.vt = static_cast<std::uint16_t>(c.U16() & 0x0FFF);
    c.U16();
    const std::uint32_t payload = c.U32();
    Require(c.ok(), image_, c, "type description outside its table");
    switch (t.vt) {
      case VT_PTR_:
      case VT_SAFEARRAY_:
        t.pointee = std::make_shared<const TypeDesc>(DataType(payload, depth + 1));
        break;
      case VT_CARRAY_:
        t.array = std::make_shared<const ArrayDesc>(ArrayDescAt(payload, depth + 1));
        break;
      case VT_USERDEFINED_:
        t.hreftype = payload;
        Resolve(payload);
        break;
      default: break;
    }
    typedescs_.emplace(encoded, t);
    return t;
  }

  ArrayDesc ArrayDescAt(std::uint32_t offset, int depth) {
    Cursor c(segments_[kArrayDescs], offset);
    ArrayDesc a;
    const std::uint32_t element = c.U32();
    const std::uint16_t dims = c.U16();
    c.U16();
    Require(c.ok() && dims <= c.remaining() / 8, image_, c, "array description outside its table");
    for (std::uint16_t i = 0; i < dims; ++i) {
      SafeArrayBound b;
      b.elements = c.U32();
      b.lower_bound = c.I32();
      a.bounds.push_back(b);
    }
    a.element = DataType(element, depth);
    return a;
  }

  void ParseTypeInfo(std::uint32_t index, TypeInfo& t) {
    Cursor c(segments_[kTypeInfoTab], type_offsets_[index]);
    const std::uint32_t kind = c.U32();
    const std::uint32_t memoffset = c.U32();
    c.Skip(16);
    const std::uint32_t elements = c.U32();
    c.Skip(16);
    const std::uint32_t posguid = c.U32();
    t.flags = static_cast<std::uint16_t>(c.U32() & 0xFFFF);
    const std::uint32_t name = c.U32();
    const std::uint32_t version = c.U32();
    const std::uint32_t docstring = c.U32();
    t.help_string_context = c.U32();
    t.help_context = c.U32();
    const std::uint32_t custdata = c.U32();
    const std::uint16_t impl_count = c.U16();
    t.cb_size_vft = c.U16();
    t.cb_size_instance = c.U32();
    const std::uint32_t datatype1 = c.U32();
    c.U32();
    Require(c.ok(), image_, c, "type record truncated");

    t.kind = static_cast<TypeKind>(kind & 0x0F);
    t.cb_alignment = static_cast<std::uint16_t>((kind >> 11) & 0x1F);
    t.name = NameAt(name);
    if (posguid != kNone) t.guid = GuidAt(posguid);
    t.major = static_cast<std::uint16_t>(version & 0xFFFF);
    t.minor = static_cast<std::uint16_t>(version >> 16);
    t.doc_string = StringAt(docstring);
    t.custom = CustomChain(custdata);

    switch (t.kind) {
      case TKIND_COCLASS_: ParseImplChain(datatype1, impl_count, t); break;
      case TKIND_INTERFACE_:
      case TKIND_DISPATCH_:
        if (datatype1 != kNone) {
          Resolve(datatype1);
          t.impls.push_back({datatype1, 0, {}});
        }
        break;
      case TKIND_ALIAS_: t.alias = DataType(datatype1); break;
      case TKIND_MODULE_: t.dll_name = StringAt(datatype1); break;
      default: break;
    }
    const std::uint32_t funcs = elements & 0xFFFF;
    const std::uint32_t vars = elements >> 16;
    if (funcs + vars > 0) ParseMembers(memoffset, funcs, vars, t);
  }

  void ParseImplChain(std::uint32_t offset, std::uint16_t count, TypeInfo& t) {
    const std::size_t limit = segments_[kRefTab].size() / 16;
    for (std::uint16_t i = 0; i < count && offset != kNone; ++i) {
      Require(t.impls.size() < limit, image_, segments_[kRefTab], offset, "implemented type chain loops");
      Cursor c(segments_[kRefTab], offset);
      ImplType impl;
      impl.href = c.U32();
      impl.flags = c.I32();
      const std::uint32_t custdata = c.U32();
      offset = c.U32();
      Require(c.ok(), image_, c, "implemented type entry outside its table");
      impl.custom = CustomChain(custdata);
      Resolve(impl.href);
      t.impls.push_back(std::move(impl));
    }
  }

  void ParseMembers(std::uint32_t memoffset, std::uint32_t funcs, std::uint32_t vars, TypeInfo& t) {
    Cursor c(image_, memoffset);
    const std::uint32_t area_size = c.U32();
    const Bytes area = c.Span(area_size);
    Require(c.ok(), memoffset, "member area outside the file");
    // Three tables follow the records, one word per member each: ids, names, record offsets.
    const std::uint64_t count = static_cast<std::uint64_t>(funcs) + vars;
    const std::uint64_t tables = c.position();
    Require(InRange(tables, 12 * count, image_.size()), tables, "member tables outside the file");
    Cursor ids(image_, tables);
    Cursor names(image_, tables + 4 * count);
    Cursor records(image_, tables + 8 * count);
    t.funcs.reserve(funcs);
    for (std::uint32_t i = 0; i < funcs; ++i) {
      Func f = ParseFunc(area, records.U32());
      f.memid = static_cast<MemberId>(ids.U32());
      const std::uint32_t name = names.U32();
      // An accessor stored after its partner may leave its name out.
      if (name == kNone && i > 0) f.name = t.funcs.back().name;
      else f.name = NameAt(name);
      t.funcs.push_back(std::move(f));
    }
    t.vars.reserve(vars);
    for (std::uint32_t i = 0; i < vars; ++i) {
      Var v = ParseVar(area, records.U32());
      v.memid = static_cast<MemberId>(ids.U32());
      v.name = NameAt(names.U32());
      t.vars.push_back(std::move(v));
    }
  }

  Func ParseFunc(Bytes area, std::uint32_t offset) {
    Cursor c(area, offset);
    const std::uint32_t info = c.U32();
    const std::uint32_t size = info & 0xFFFF;
    const std::uint32_t datatype = c.U32();
    const std::uint32_t flags = c.U32();
    const std::uint16_t vtable = c.U16();
    c.U16();
    const std::uint32_t bits = c.U32();
    const std::uint16_t nargs = c.U16();
    const std::int16_t nopt = c.I16();
    Require(c.ok() && InRange(offset, size, area.size()), image_, area, offset, "function record outside the member area");
    const bool has_defaults = (bits & 0x1000) != 0;
    const std::uint64_t fixed = 24 + 12ull * nargs + (has_defaults ? 4ull * nargs : 0);
    Require(size >= fixed, image_, area, offset, "function record shorter than its parameters");
    const std::uint64_t slots = (size - fixed) / 4;
    auto slot = [&](std::uint64_t k) -> std::uint32_t {
      return k < slots ? Cursor(area, offset + 24 + 4 * k).U32() : kNone;
    };

    Func f;
    f.funckind = bits & 0x7;
    f.invkind = (bits >> 3) & 0xF;
    f.callconv = (bits >> 8) & 0xF;
    f.c_params_opt = nopt;
    f.o_vft = static_cast<std::int16_t>(vtable & 0xFFFC);
    f.flags = static_cast<std::uint16_t>(flags & 0xFFFF);
    f.ret.tdesc = DataType(datatype);
    f.help_context = slots > 0 ? slot(0) : 0;
    f.doc_string = StringAt(slot(1));
    if (slots > 2 && slot(2) != kNone) {
      if (bits & 0x2000) f.entry_ordinal = static_cast<std::uint16_t>(slot(2) & 0xFFFF);
      else f.entry_name = StringAt(slot(2));
    }
    f.help_string_context = slots > 5 ? slot(5) : 0;
    const bool has_custom = (bits & 0x80) != 0;
    if (has_custom && slots > 6) f.custom = CustomChain(slot(6));

    const std::uint64_t params_at = offset + size - 12ull * nargs;
    const std::uint64_t defaults_at = params_at - (has_defaults ? 4ull * nargs : 0);
    f.params.resize(nargs);
    Cursor p(area, params_at);
    Cursor defaults(area, defaults_at);
    for (std::uint16_t j = 0; j < nargs; ++j) {
      const std::uint32_t type = p.U32();
      const std::uint32_t name = p.U32();
      const std::uint32_t param_flags = p.U32();
      const std::uint32_t value = has_defaults ? defaults.U32() : kNone;
      Param& param = f.params[j];
      param.elem.tdesc = DataType(type);
      param.name = NameAt(name);
      param.elem.param_flags = static_cast<std::uint16_t>(param_flags & 0xFFFF);
      if (has_defaults && (param.elem.param_flags & 0x20)) {
        if (value != kNone) param.elem.default_value = std::make_shared<const Variant>(ValueAt(value));
      }
      if (has_custom && slots > 7ull + j) param.custom = CustomChain(slot(7 + j));
    }
    return f;
  }

  Var ParseVar(Bytes area, std::uint32_t offset) {
    Cursor c(area, offset);
    const std::uint32_t info = c.U32();
    const std::uint32_t size = info & 0xFF;
    const std::uint32_t datatype = c.U32();
    const std::uint32_t flags = c.U32();
    const std::uint16_t kind = c.U16();
    c.U16();
    const std::uint32_t value = c.U32();
    Require(c.ok() && InRange(offset, std::max<std::uint32_t>(size, 20), area.size()), image_, area, offset,
            "variable record outside the member area");
    const std::uint64_t slots = size > 20 ? (size - 20) / 4 : 0;
    auto slot = [&](std::uint64_t k) -> std::uint32_t {
      return k < slots ? Cursor(area, offset + 20 + 4 * k).U32() : kNone;
    };
    Var v;
    v.elem.tdesc = DataType(datatype);
    v.flags = static_cast<std::uint16_t>(flags & 0xFFFF);
    v.varkind = kind;
    if (kind == 2) v.value = ValueAt(value);
    else v.o_inst = value;
    v.help_context = slots > 0 ? slot(0) : 0;
    v.doc_string = StringAt(slot(1));
    if (slots > 3) v.custom = CustomChain(slot(3));
    v.help_string_context = slots > 4 ? slot(4) : 0;
    return v;
  }

  Bytes image_;
  Bytes segments_[kSegmentCount];
  std::uint32_t type_count_ = 0;
  std::uint32_t dispatch_pos_ = kNone;
  std::uint32_t import_count_ = 0;
  Library* lib_ = nullptr;
  std::map<std::uint32_t, std::uint32_t> import_index_;
  std::vector<std::uint32_t> type_offsets_;
  std::unordered_map<std::uint32_t, std::uint32_t> type_index_;
  std::map<std::uint32_t, TypeDesc> typedescs_;
};

}  // namespace

ReadResult ParseMsft(Bytes image, Library& out) {
  try {
    MsftParser(image).Parse(out);
    return {};
  } catch (const ReadFailure& failure) {
    return {kTypeECantLoadLibrary, failure};
  } catch (const std::bad_alloc&) {
    return {kEOutOfMemory, {0, "out of memory"}};
  }
}

}  // namespace quenlor::typelib::reader
