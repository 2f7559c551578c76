// SLTG references and type descriptions: a type block's reference table, the imported
// libraries its entries name, the library-wide handles they become, and the type words
// that describe parameters, results, fields and aliases.
#include <memory>

#include "base/text.h"
#include "typelib/reader/sltg_parser.h"

namespace quenlor::typelib::reader::sltg {

namespace {

std::optional<std::uint32_t> Hex(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char ch : text) {
    const int digit = HexDigitValue(ch);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace

// --- references -----------------------------------------------------------------------

std::vector<RefEntry> SltgParser::ReadRefTable(Bytes block, std::int32_t offset) {
  std::vector<RefEntry> refs;
  if (offset == -1) return refs;
  Require(offset >= 0, image_, block, 2, "reference table offset negative");
  Cursor c(block, static_cast<std::uint32_t>(offset));
  Require(c.U8() == 0xDF, image_, block, static_cast<std::uint32_t>(offset), "reference table magic");
  c.Skip(0x43);
  const std::uint32_t bytes = c.U32();
  Require(c.ok() && bytes % 8 == 0 && bytes / 8 <= c.remaining() / 8, image_, c, "reference table outside the block");
  const std::uint32_t count = bytes / 8;
  c.Skip(bytes);
  c.U16();
  c.U8();
  c.U32();
  Require(c.ok(), image_, c, "reference table outside the block");
  refs.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t at = Where(c);
    const std::uint16_t length = c.U16();
    const std::string text = c.Text(length);
    Require(c.ok(), at, "reference text outside the block");
    refs.push_back(ParseRefText(text, at));
  }
  return refs;
}

// `*\R<lib>*#<n>`, both hexadecimal; <lib> ffff is this library.
RefEntry SltgParser::ParseRefText(std::string_view text, std::uint64_t at) const {
  Require(text.size() > 3 && text.substr(0, 3) == "*\\R", at, "reference text malformed");
  const std::size_t star = text.find("*#", 3);
  Require(star != std::string_view::npos, at, "reference text malformed");
  const std::optional<std::uint32_t> library = Hex(text.substr(3, star - 3));
  const std::optional<std::uint32_t> index = Hex(text.substr(star + 2));
  Require(library.has_value() && index.has_value(), at, "reference text malformed");
  RefEntry ref;
  ref.index = *index;
  ref.local = *library == 0xFFFF;
  ref.library_name = *library;
  return ref;
}

Guid SltgParser::ParseGuidText(std::string_view text, std::uint64_t at) const {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  Require(text.size() == 38 && text.front() == '{' && text.back() == '}' && text[9] == '-' && text[14] == '-' &&
              text[19] == '-' && text[24] == '-',
          at, "library GUID malformed");
  auto field = [&](std::size_t pos, std::size_t len) {
    const std::optional<std::uint32_t> v = Hex(text.substr(pos, len));
    Require(v.has_value(), at, "library GUID malformed");
    return *v;
  };
  Guid g;
  g.data1 = field(1, 8);
  g.data2 = static_cast<std::uint16_t>(field(10, 4));
  g.data3 = static_cast<std::uint16_t>(field(15, 4));
  g.data4[0] = static_cast<std::uint8_t>(field(20, 2));
  g.data4[1] = static_cast<std::uint8_t>(field(22, 2));
  for (std::size_t i = 0; i < 6; ++i) g.data4[2 + i] = static_cast<std::uint8_t>(field(25 + 2 * i, 2));
  return g;
}

// `*\G{libid}#maj.min#lcid#path#` in the name table; one ImportedLibrary per descriptor.
std::uint32_t SltgParser::ImportIndex(std::uint32_t name_offset) {
  const auto found = import_by_name_.find(name_offset);
  if (found != import_by_name_.end()) return found->second;
  const std::string text = Name(name_offset);
  const std::uint64_t at = Where(names_, name_offset);
  Require(text.size() > 3 && text.substr(0, 3) == "*\\G", at, "library descriptor malformed");
  std::vector<std::string_view> parts;
  std::string_view rest = std::string_view(text).substr(3);
  for (std::size_t hash; (hash = rest.find('#')) != std::string_view::npos;) {
    parts.push_back(rest.substr(0, hash));
    rest = rest.substr(hash + 1);
  }
  Require(parts.size() >= 4, at, "library descriptor malformed");
  ImportedLibrary import;
  import.libid = ParseGuidText(parts[0], at);
  const std::size_t dot = parts[1].find('.');
  Require(dot != std::string_view::npos, at, "library version malformed");
  const std::optional<std::uint32_t> major = Hex(parts[1].substr(0, dot));
  const std::optional<std::uint32_t> minor = Hex(parts[1].substr(dot + 1));
  const std::optional<std::uint32_t> lcid = Hex(parts[2]);
  Require(major && minor && lcid && *major <= 0xFFFF && *minor <= 0xFFFF, at, "library version malformed");
  import.major = static_cast<std::uint16_t>(*major);
  import.minor = static_cast<std::uint16_t>(*minor);
  import.lcid = *lcid;
  import.file_name = std::string(parts[3]);
  lib_->imports.push_back(std::move(import));
  const auto index = static_cast<std::uint32_t>(lib_->imports.size() - 1);
  import_by_name_.emplace(name_offset, index);
  return index;
}

// The library-wide handle of a type's reference; equal targets share one handle.
HRefType SltgParser::Intern(const RefEntry& ref) {
  RefTarget target;
  target.imported = !ref.local;
  if (ref.local) {
    if (ref.index >= lib_->types.size()) return kUnresolvedHref;
    target.local_index = ref.index;
  } else {
    target.library = ImportIndex(ref.library_name);
    target.index = ref.index;
  }
  const auto key = std::make_tuple(target.imported, target.local_index, target.library, target.index);
  const auto found = href_by_target_.find(key);
  if (found != href_by_target_.end()) return found->second;
  const HRefType href = static_cast<HRefType>(4 * (href_by_target_.size() + 1));
  Require(href < 0x01000000u, 0, "more references than handles");
  href_by_target_.emplace(key, href);
  lib_->refs.emplace(href, target);
  return href;
}

// --- type descriptions ----------------------------------------------------------------

HRefType SltgParser::UserDefined(const TypeContext& ctx, std::uint16_t word) {
  // Type words store the reference as an offset into the table of 4-byte-aligned entries.
  if (word % 4 != 0 || word / 4u >= ctx.refs->size()) return kUnresolvedHref;
  return Intern((*ctx.refs)[word / 4u]);
}

// The type whose VARTYPE is `vt`, its continuation words read from `c`.
TypeDesc SltgParser::Continue(const TypeContext& ctx, std::uint16_t vt, Cursor& c, int depth) {
  Require(depth < kMaxTypeDepth, image_, c, "type description nests too deep");
  TypeDesc t;
  t.vt = vt;
  switch (vt) {
    case VT_PTR_:
      t.pointee = std::make_shared<TypeDesc>(Words(ctx, c, depth + 1));
      break;
    case VT_SAFEARRAY_:
      c.U16();
      t.pointee = std::make_shared<TypeDesc>(Words(ctx, c, depth + 1));
      break;
    case VT_CARRAY_: {
      const std::uint16_t descriptor = c.U16();
      Require(c.ok(), image_, c, "type description outside the block");
      auto array = std::make_shared<ArrayDesc>();
      Cursor d = ctx.members->At(descriptor);
      const std::uint16_t dims = d.U16();
      d.Skip(2 + 4 + 4 + 4);  // features, element size, locks, data
      Require(d.ok() && dims > 0 && dims <= d.remaining() / 8, image_, d, "array description outside the block");
      array->bounds.resize(dims);
      for (SafeArrayBound& bound : array->bounds) {
        bound.elements = d.U32();
        bound.lower_bound = d.I32();
      }
      Require(d.ok(), image_, d, "array description outside the block");
      array->element = Words(ctx, c, depth + 1);
      t.array = std::move(array);
      break;
    }
    case VT_USERDEFINED_:
      t.hreftype = UserDefined(ctx, c.U16());
      break;
    default:
      break;
  }
  Require(c.ok(), image_, c, "type description outside the block");
  return t;
}

// One type at the cursor: a type word and its continuation.
TypeDesc SltgParser::Words(const TypeContext& ctx, Cursor& c, int depth, std::uint16_t* first) {
  const std::uint16_t word = c.U16();
  Require(c.ok(), image_, c, "type description outside the block");
  if (first) *first = word;
  const std::uint16_t vt = word & kVtMask;
  if ((word & kCompactPointer) == kCompactPointer) {
    Require(depth + 1 < kMaxTypeDepth, image_, c, "type description nests too deep");
    TypeDesc t;
    t.vt = VT_PTR_;
    t.pointee = std::make_shared<TypeDesc>(Continue(ctx, vt, c, depth + 1));
    return t;
  }
  return Continue(ctx, vt, c, depth);
}

// A type field: the type word itself when `inline_word`, else the member offset of the
// type's words. `word` receives the first type word (it carries parameter flags).
TypeDesc SltgParser::TypeField(const TypeContext& ctx, std::uint16_t field, bool inline_word, std::uint16_t& word) {
  if (inline_word) {
    std::uint8_t bytes[2] = {static_cast<std::uint8_t>(field & 0xFF), static_cast<std::uint8_t>(field >> 8)};
    Cursor c(Bytes(bytes, 2));
    return Words(ctx, c, 0, &word);
  }
  Cursor c = ctx.members->At(field);
  return Words(ctx, c, 0, &word);
}

std::uint16_t ParamFlags(std::uint16_t word) {
  std::uint16_t flags = 0;
  switch (word & kDirectionMask) {
    case 0x0000: flags = kParamIn; break;
    case 0x4000: flags = kParamOut; break;
    case 0x8000: flags = kParamIn | kParamOut; break;
    default: break;
  }
  if (word & kRetvalBit) flags |= kParamRetval;
  if (word & kLcidBit) flags |= kParamLcid;
  return flags;
}

}  // namespace quenlor::typelib::reader::sltg
