// The SLTG type library format: a header, a directory of named blocks, one block per type
// and a final library block holding the library's attributes, the type directory, the name
// table and the dictionary of the compressed help strings.
//
// Offsets inside a type block are 16-bit and relative to the block's member data, so every
// read goes through a Cursor bounded by the block; every chain (blocks, functions,
// variables, implemented types) is walked at most as many times as its count allows, and
// type descriptions nest at most kMaxTypeDepth levels. A structural fault fails the whole
// load; only the help strings, which the platform treats as optional text, are decoded
// leniently (a damaged dictionary yields what could be decoded).
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <new>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "typelib/reader/ansi.h"
#include "typelib/reader/bytes.h"
#include "typelib/reader/model.h"

namespace quenlor::typelib::reader {

namespace {

constexpr std::uint32_t kSltgMagic = 0x47544C53;
constexpr std::uint16_t kLibraryMagic = 0x51CC;
constexpr std::uint16_t kTypeInfoMagic = 0x0501;
constexpr std::uint16_t kImplMagic = 0x004A;
constexpr std::uint16_t kNoOffset = 0xFFFF;
constexpr std::size_t kHeaderSize = 0x24;
constexpr std::size_t kTypeHeaderSize = 0x22;
constexpr std::size_t kMemberHeaderSize = 9;
constexpr std::size_t kTailSize = 0x36;
constexpr std::size_t kImplRecordSize = 0x16;
// Pointer and array chains of real libraries are a few levels deep.
constexpr int kMaxTypeDepth = 32;
// A decoded help string longer than this comes from a damaged dictionary.
constexpr std::size_t kMaxHelpString = 0x10000;
// The handle of a reference the file cannot back (an index past the reference table, a
// type number past the library): it has no entry, so resolving it fails as on the platform.
constexpr HRefType kUnresolvedHref = 0x7FFFFFFCu;

// Type word bits.
constexpr std::uint16_t kVtMask = 0x003F;
constexpr std::uint16_t kRetvalBit = 0x0080;
constexpr std::uint16_t kCompactPointer = 0x0E00;
constexpr std::uint16_t kLcidBit = 0x2000;
constexpr std::uint16_t kDirectionMask = 0xC000;

// Variable record flag bits.
constexpr std::uint8_t kVarTypeInline = 0x02;
constexpr std::uint8_t kVarValueInline = 0x08;
constexpr std::uint8_t kVarConst = 0x10;
constexpr std::uint8_t kVarDispatch = 0x40;
constexpr std::uint8_t kVarReadOnly = 0x80;

struct Failure {};

void Require(bool condition) {
  if (!condition) throw Failure{};
}

struct Block {
  std::string name;
  Bytes data;
};

// One entry of a type's reference table: `*\R<lib>*#<n>`.
struct RefEntry {
  bool local = true;
  std::uint32_t index = 0;          // type number, in this library or the imported one
  std::uint32_t library_name = 0;   // imported: name-table offset of the library descriptor
};

// Member data of one type block: offsets are relative to `base`, reads may reach up to the
// end of the block.
struct Members {
  Bytes region;  // from the member base to the end of the block

  Cursor At(std::uint32_t offset) const {
    Require(offset < region.size());
    return Cursor(region, offset);
  }
};

class SltgParser {
 public:
  explicit SltgParser(Bytes image) : image_(image) {}

  void Parse(Library& lib) {
    lib_ = &lib;
    std::vector<Block> blocks = ReadBlocks();
    Require(blocks.size() >= 1);
    const Block& library_block = blocks.back();
    const std::size_t type_count = blocks.size() - 1;

    std::vector<Directory> directory = ReadLibraryBlock(library_block.data, type_count);
    lib.types.resize(type_count);
    for (std::size_t i = 0; i < type_count; ++i) {
      // The directory names the block of each type; blocks follow in the same order in
      // every library seen, but the name is what identifies them.
      const Block* block = nullptr;
      for (std::size_t b = 0; b < type_count; ++b) {
        if (blocks[b].name == directory[i].block_name) {
          block = &blocks[b];
          break;
        }
      }
      Require(block != nullptr);
      ReadTypeInfo(*block, directory[i], lib.types[i]);
    }
  }

 private:
  struct Directory {
    std::string block_name;
    std::string name;
    std::string doc_string;
    std::uint32_t help_context = 0;
    Guid guid;
    std::uint16_t kind = 0;
  };

  // --- file header and blocks -------------------------------------------------------

  std::vector<Block> ReadBlocks() {
    Cursor h(image_);
    Require(h.U32() == kSltgMagic);
    const std::uint16_t block_entries_plus_one = h.U16();
    const std::uint16_t pad_size = h.U16();
    const std::uint16_t strings_size = h.U16();
    const std::uint16_t first = h.U16();
    Require(h.ok() && block_entries_plus_one >= 2);
    const std::size_t entry_count = block_entries_plus_one - 1u;

    struct Entry {
      std::uint32_t length;
      std::uint16_t name;
      std::uint16_t next;
    };
    Cursor e(image_, kHeaderSize);
    std::vector<Entry> entries;
    Require(InRange(kHeaderSize, 8ull * entry_count, image_.size()));
    entries.reserve(entry_count);
    for (std::size_t i = 0; i < entry_count; ++i) {
      Entry entry{e.U32(), e.U16(), e.U16()};
      entries.push_back(entry);
    }
    const Bytes strings = e.Span(strings_size);
    e.Skip(pad_size);
    Require(e.ok());

    std::vector<Block> blocks;
    std::vector<bool> visited(entry_count, false);
    std::uint64_t position = e.position();
    for (std::uint16_t current = first; current != 0;) {
      Require(current <= entry_count && !visited[current - 1u]);
      visited[current - 1u] = true;
      const Entry& entry = entries[current - 1u];
      Require(InRange(position, entry.length, image_.size()));
      Block block;
      block.name = CString(strings, entry.name);
      block.data = image_.subspan(static_cast<std::size_t>(position), entry.length);
      blocks.push_back(std::move(block));
      position += entry.length;
      current = entry.next;
    }
    return blocks;
  }

  static std::string CString(Bytes area, std::size_t offset) {
    Require(offset < area.size());
    const auto* begin = area.data() + offset;
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(begin, 0, area.size() - offset));
    Require(end != nullptr);
    return std::string(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
  }

  // WORD length (0xFFFF: none) and that many bytes.
  static std::optional<std::string> CountedString(Cursor& c) {
    const std::uint16_t length = c.U16();
    if (length == 0xFFFF) return std::nullopt;
    std::string text = c.Text(length);
    Require(c.ok());
    return text;
  }

  static Guid ReadGuid(Cursor& c) {
    Guid g;
    g.data1 = c.U32();
    g.data2 = c.U16();
    g.data3 = c.U16();
    const Bytes tail = c.Span(8);
    Require(c.ok());
    std::memcpy(g.data4, tail.data(), 8);
    return g;
  }

  // --- library block ----------------------------------------------------------------

  std::vector<Directory> ReadLibraryBlock(Bytes block, std::size_t type_count) {
    Library& lib = *lib_;
    Cursor c(block);
    Require(c.U16() == kLibraryMagic);
    c.U16();
    const std::uint16_t name = c.U16();
    const std::uint16_t skipped = c.U16();
    if (skipped != 0xFFFF) c.Skip(skipped);
    const std::optional<std::string> doc = CountedString(c);
    const std::optional<std::string> help_file = CountedString(c);
    lib.help_context = c.U32();
    lib.syskind = c.U16();
    const std::uint16_t langid = c.U16();
    // Only a language-neutral sublanguage is reported as the library's locale.
    lib.lcid = (langid >> 10) == 0 ? langid : 0;
    c.U32();
    lib.lib_flags = c.U16();
    lib.sltg = true;
    lib.major = c.U16();
    lib.minor = c.U16();
    lib.guid = ReadGuid(c);
    c.Skip(0x40);
    const std::uint16_t count = c.U16();
    Require(c.ok() && count == type_count);

    std::vector<std::uint16_t> name_offsets;
    std::vector<Bytes> packed_docs;
    std::vector<Directory> directory(count);
    for (Directory& d : directory) {
      d.block_name = CountedString(c).value_or("");
      CountedString(c);  // a second generated name
      c.U16();
      name_offsets.push_back(c.U16());
      const std::uint16_t packed = c.U16();
      packed_docs.push_back(c.Span(packed));
      c.U16();
      d.help_context = c.U32();
      c.U16();
      d.guid = ReadGuid(c);
      d.kind = c.U16();
      Require(c.ok());
    }

    const std::uint32_t name_table = c.U32();
    c.U16();  // longest decoded help string
    const std::uint32_t dictionary_size = c.U32();
    dictionary_ = c.Span(dictionary_size);
    Require(c.ok());

    ReadNameTable(block, name_table);
    lib.name = Name(name);
    if (doc) lib.doc_string = AnsiToUtf8(*doc);
    if (help_file) lib.help_file = AnsiToUtf8(*help_file);
    for (std::size_t i = 0; i < directory.size(); ++i) {
      directory[i].name = Name(name_offsets[i]);
      directory[i].doc_string = HelpString(packed_docs[i]);
    }
    return directory;
  }

  void ReadNameTable(Bytes block, std::uint32_t offset) {
    Cursor c(block, offset);
    const std::uint16_t jump = c.U16();
    if (jump == 0xFFFF) c.Skip(10);
    else if (jump == 0x0200) c.Skip(0x2A);
    else throw Failure{};
    c.Skip(0x200);  // hash buckets
    const std::uint32_t size = c.U32();
    Require(c.ok());
    const std::uint64_t available = c.remaining();
    names_ = c.Span(std::min<std::uint64_t>(size, available));
    Require(c.ok());
  }

  // A name offset points at the record's 8-byte prefix; the characters follow it.
  std::string Name(std::uint32_t offset) const {
    Require(offset <= names_.size() && names_.size() - offset > 8);
    return AnsiToUtf8(CString(names_, offset + 8u));
  }

  // Help strings are bit streams walked through the dictionary's binary tree: a node byte
  // 0x80 is followed by the big-endian position of its 0-branch (the 1-branch is the next
  // node); any other byte starts a leaf whose NUL-terminated word is appended. An empty
  // word ends the string.
  std::string HelpString(Bytes packed) const {
    std::string out;
    if (packed.empty() || dictionary_.empty()) return out;
    const std::size_t bit_count = packed.size() * 8;
    std::size_t bit = 0;
    std::size_t node = 0;
    // Every step consumes a bit or emits a word; a word emitted without a bit consumed
    // since the last one would repeat forever (a leaf at the root), so it ends the string.
    bool moved = true;
    while (out.size() < kMaxHelpString) {
      if (node >= dictionary_.size()) break;
      if (dictionary_[node] == 0x80) {
        if (bit >= bit_count || node + 2 >= dictionary_.size()) break;
        const bool one = (packed[bit / 8] >> (7 - bit % 8)) & 1;
        ++bit;
        moved = true;
        node = one ? node + 3 : (static_cast<std::size_t>(dictionary_[node + 1]) << 8) | dictionary_[node + 2];
        continue;
      }
      const std::size_t start = node + 1;
      if (start >= dictionary_.size()) break;
      const auto* begin = dictionary_.data() + start;
      const auto* end = static_cast<const std::uint8_t*>(std::memchr(begin, 0, dictionary_.size() - start));
      if (end == nullptr || end == begin) break;
      if (!moved) break;
      if (!out.empty()) out += ' ';
      out.append(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
      moved = false;
      node = 0;
    }
    return AnsiToUtf8(out);
  }

  // A member's help string is at a member-data offset, without a length: decode from there
  // to the end of the block at most.
  std::string MemberHelpString(const Members& m, std::uint16_t offset) const {
    if (offset == kNoOffset || offset >= m.region.size()) return {};
    return HelpString(m.region.subspan(offset));
  }

  // --- references -------------------------------------------------------------------

  std::vector<RefEntry> ReadRefTable(Bytes block, std::int32_t offset) {
    std::vector<RefEntry> refs;
    if (offset == -1) return refs;
    Require(offset >= 0);
    Cursor c(block, static_cast<std::uint32_t>(offset));
    Require(c.U8() == 0xDF);
    c.Skip(0x43);
    const std::uint32_t bytes = c.U32();
    Require(c.ok() && bytes % 8 == 0 && bytes / 8 <= c.remaining() / 8);
    const std::uint32_t count = bytes / 8;
    c.Skip(bytes);
    c.U16();
    c.U8();
    c.U32();
    Require(c.ok());
    refs.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint16_t length = c.U16();
      const std::string text = c.Text(length);
      Require(c.ok());
      refs.push_back(ParseRefText(text));
    }
    return refs;
  }

  static std::optional<std::uint32_t> Hex(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char ch : text) {
      const int digit = HexDigitValue(ch);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
  }

  // `*\R<lib>*#<n>`, both hexadecimal; <lib> ffff is this library.
  static RefEntry ParseRefText(std::string_view text) {
    Require(text.size() > 3 && text.substr(0, 3) == "*\\R");
    const std::size_t star = text.find("*#", 3);
    Require(star != std::string_view::npos);
    const std::optional<std::uint32_t> library = Hex(text.substr(3, star - 3));
    const std::optional<std::uint32_t> index = Hex(text.substr(star + 2));
    Require(library.has_value() && index.has_value());
    RefEntry ref;
    ref.index = *index;
    ref.local = *library == 0xFFFF;
    ref.library_name = *library;
    return ref;
  }

  static Guid ParseGuidText(std::string_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    Require(text.size() == 38 && text.front() == '{' && text.back() == '}' && text[9] == '-' &&
            text[14] == '-' && text[19] == '-' && text[24] == '-');
    auto field = [&](std::size_t pos, std::size_t len) {
      const std::optional<std::uint32_t> v = Hex(text.substr(pos, len));
      Require(v.has_value());
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
  std::uint32_t ImportIndex(std::uint32_t name_offset) {
    const auto found = import_by_name_.find(name_offset);
    if (found != import_by_name_.end()) return found->second;
    const std::string text = Name(name_offset);
    Require(text.size() > 3 && text.substr(0, 3) == "*\\G");
    std::vector<std::string_view> parts;
    std::string_view rest = std::string_view(text).substr(3);
    for (std::size_t hash; (hash = rest.find('#')) != std::string_view::npos;) {
      parts.push_back(rest.substr(0, hash));
      rest = rest.substr(hash + 1);
    }
    Require(parts.size() >= 4);
    ImportedLibrary import;
    import.libid = ParseGuidText(parts[0]);
    const std::size_t dot = parts[1].find('.');
    Require(dot != std::string_view::npos);
    const std::optional<std::uint32_t> major = Hex(parts[1].substr(0, dot));
    const std::optional<std::uint32_t> minor = Hex(parts[1].substr(dot + 1));
    const std::optional<std::uint32_t> lcid = Hex(parts[2]);
    Require(major && minor && lcid && *major <= 0xFFFF && *minor <= 0xFFFF);
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
  HRefType Intern(const RefEntry& ref) {
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
    Require(href < 0x01000000u);
    href_by_target_.emplace(key, href);
    lib_->refs.emplace(href, target);
    return href;
  }

  // --- type descriptions ------------------------------------------------------------

  struct TypeContext {
    const Members* members;
    const std::vector<RefEntry>* refs;
  };

  HRefType UserDefined(const TypeContext& ctx, std::uint16_t word) {
    // Type words store the reference as an offset into the table of 4-byte-aligned entries.
    if (word % 4 != 0 || word / 4u >= ctx.refs->size()) return kUnresolvedHref;
    return Intern((*ctx.refs)[word / 4u]);
  }

  // The type whose VARTYPE is `vt`, its continuation words read from `c`.
  TypeDesc Continue(const TypeContext& ctx, std::uint16_t vt, Cursor& c, int depth) {
    Require(depth < kMaxTypeDepth);
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
        Require(c.ok());
        auto array = std::make_shared<ArrayDesc>();
        Cursor d = ctx.members->At(descriptor);
        const std::uint16_t dims = d.U16();
        d.Skip(2 + 4 + 4 + 4);  // features, element size, locks, data
        Require(d.ok() && dims > 0 && dims <= d.remaining() / 8);
        array->bounds.resize(dims);
        for (SafeArrayBound& bound : array->bounds) {
          bound.elements = d.U32();
          bound.lower_bound = d.I32();
        }
        Require(d.ok());
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
    Require(c.ok());
    return t;
  }

  // One type at the cursor: a type word and its continuation.
  TypeDesc Words(const TypeContext& ctx, Cursor& c, int depth, std::uint16_t* first = nullptr) {
    const std::uint16_t word = c.U16();
    Require(c.ok());
    if (first) *first = word;
    const std::uint16_t vt = word & kVtMask;
    if ((word & kCompactPointer) == kCompactPointer) {
      Require(depth + 1 < kMaxTypeDepth);
      TypeDesc t;
      t.vt = VT_PTR_;
      t.pointee = std::make_shared<TypeDesc>(Continue(ctx, vt, c, depth + 1));
      return t;
    }
    return Continue(ctx, vt, c, depth);
  }

  // A type field: the type word itself when `inline_word`, else the member offset of the
  // type's words. `word` receives the first type word (it carries parameter flags).
  TypeDesc TypeField(const TypeContext& ctx, std::uint16_t field, bool inline_word, std::uint16_t& word) {
    if (inline_word) {
      std::uint8_t bytes[2] = {static_cast<std::uint8_t>(field & 0xFF), static_cast<std::uint8_t>(field >> 8)};
      Cursor c(Bytes(bytes, 2));
      return Words(ctx, c, 0, &word);
    }
    Cursor c = ctx.members->At(field);
    return Words(ctx, c, 0, &word);
  }

  static std::uint16_t ParamFlags(std::uint16_t word) {
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

  // --- type blocks ------------------------------------------------------------------

  void ReadTypeInfo(const Block& block, const Directory& dir, TypeInfo& type) {
    Cursor h(block.data);
    Require(h.U16() == kTypeInfoMagic);
    const std::int32_t ref_table = h.I32();
    h.U32();
    const std::uint32_t member_header = h.U32();
    h.U32();
    type.major = h.U16();
    type.minor = h.U16();
    h.U32();
    const std::uint8_t flags_low = h.U8();
    const std::uint8_t flags_high = h.U8();
    h.U8();
    const std::uint8_t kind = h.U8();
    h.U32();
    Require(h.ok() && h.position() == kTypeHeaderSize && kind <= TKIND_UNION_);

    type.name = dir.name;
    type.doc_string = dir.doc_string;
    type.help_context = dir.help_context;
    type.guid = dir.guid;
    type.flags = static_cast<std::uint16_t>((flags_low >> 3) | (flags_high << 5));
    type.kind = static_cast<TypeKind>(kind);
    // A dual interface is the dispatch type over its vtable functions.
    if (type.kind == TKIND_INTERFACE_ && (type.flags & kTypeFlagDual)) type.kind = TKIND_DISPATCH_;

    const std::vector<RefEntry> refs = ReadRefTable(block.data, ref_table);

    Cursor mh(block.data, member_header);
    mh.Skip(5);
    const std::uint32_t extra = mh.U32();
    Require(mh.ok() && mh.position() == std::uint64_t{member_header} + kMemberHeaderSize &&
            InRange(mh.position(), std::uint64_t{extra} + kTailSize, block.data.size()));
    Members members{block.data.subspan(static_cast<std::size_t>(mh.position()))};
    const TypeContext ctx{&members, &refs};

    Cursor t = members.At(extra);
    const std::uint16_t func_count = t.U16();
    const std::uint16_t var_count = t.U16();
    const std::uint16_t impl_count = t.U16();
    t.U16();
    const std::uint16_t first_func = t.U16();
    const std::uint16_t first_var = t.U16();
    const std::uint16_t first_impl = t.U16();
    t.Skip(6);
    const std::uint16_t alias = t.U16();
    t.Skip(6);
    const std::uint16_t simple_alias = t.U16();
    t.U16();
    type.cb_size_instance = t.U16();
    type.cb_alignment = t.U16();
    t.Skip(4);
    type.cb_size_vft = t.U16();
    Require(t.ok());

    if (type.kind == TKIND_ALIAS_) {
      std::uint16_t word = 0;
      type.alias = TypeField(ctx, alias, simple_alias != 0, word);
    }

    // Each record is at least a few bytes, so a count beyond the block's size is corrupt.
    Require(func_count <= members.region.size() / 0x16 && var_count <= members.region.size() / 0x12 &&
            impl_count <= members.region.size() / kImplRecordSize);
    ReadFunctions(ctx, first_func, func_count, type);
    ReadVariables(ctx, first_var, var_count, type);
    ReadImplTypes(ctx, first_impl, impl_count, type);
    // A pure dispinterface's stored base is IDispatch; the access layer presents it from
    // the library's IDispatch reference.
    if (type.kind == TKIND_DISPATCH_ && !(type.flags & kTypeFlagDual)) {
      if (!type.impls.empty() && !lib_->dispatch_href) lib_->dispatch_href = type.impls.front().href;
      type.impls.clear();
    }
  }

  void ReadFunctions(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type) {
    type.funcs.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
      Require(offset != kNoOffset);
      Cursor c = ctx.members->At(offset);
      const std::uint8_t magic = c.U8();
      const std::uint8_t invoke = c.U8();
      const std::uint16_t next = c.U16();
      const std::uint16_t name = c.U16();
      Func f;
      f.memid = c.I32();
      const std::uint16_t help_context = c.U16();
      const std::uint16_t help_string = c.U16();
      const std::uint16_t args = c.U16();
      const std::uint8_t cc = c.U8();
      const std::uint8_t ret_info = c.U8();
      const std::uint16_t ret = c.U16();
      const std::uint16_t vtable = c.U16();
      if (magic & 0x20) f.flags = c.U16();
      Require(c.ok());

      switch (magic & ~0x20) {
        case 0x4C: f.funckind = 1; break;  // FUNC_PUREVIRTUAL
        case 0x8B: f.funckind = 3; break;  // FUNC_STATIC
        case 0xCB: f.funckind = 4; break;  // FUNC_DISPATCH
        default: throw Failure{};
      }
      f.invkind = invoke >> 4;
      Require(f.invkind == 1 || f.invkind == 2 || f.invkind == 4 || f.invkind == 8);
      f.callconv = cc & 0x07;
      const unsigned param_count = cc >> 3;
      f.c_params_opt = static_cast<std::int16_t>((ret_info >> 1) & 0x3F);
      Require(static_cast<unsigned>(f.c_params_opt) <= param_count);
      f.o_vft = static_cast<std::int16_t>(vtable & ~1u);
      f.name = Name(name);
      f.help_context = help_context == 0xFFFE ? 0 : help_context;
      f.doc_string = MemberHelpString(*ctx.members, help_string);

      std::uint16_t ret_word = 0;
      f.ret.tdesc = TypeField(ctx, ret, (ret_info & 0x80) != 0, ret_word);
      f.ret.param_flags = ParamFlags(ret_word);

      if (param_count > 0) {
        Require(args != kNoOffset);
        Cursor a = ctx.members->At(args);
        f.params.resize(param_count);
        for (unsigned p = 0; p < param_count; ++p) {
          const std::uint16_t pname = a.U16();
          const std::uint16_t ptype = a.U16();
          Require(a.ok());
          Param& param = f.params[p];
          bool inline_type;
          if (pname == 0xFFFF) {
            inline_type = true;
          } else if (pname == 0xFFFE) {
            inline_type = false;
          } else {
            inline_type = (pname & 1) != 0;
            param.name = Name(pname & ~1u);
          }
          std::uint16_t word = 0;
          param.elem.tdesc = TypeField(ctx, ptype, inline_type, word);
          param.elem.param_flags = ParamFlags(word);
          if (p >= param_count - static_cast<unsigned>(f.c_params_opt)) param.elem.param_flags |= kParamOpt;
        }
      }
      type.funcs.push_back(std::move(f));
      offset = next;
    }
  }

  Variant ConstValue(const TypeContext& ctx, std::uint16_t vt, std::uint8_t flags, std::uint16_t field) {
    // Enumerators and other user-typed constants hold 4-byte integers.
    const std::uint16_t value_vt = vt == VT_USERDEFINED_ ? std::uint16_t{VT_I4_} : vt;
    if (flags & kVarValueInline) {
      switch (value_vt) {
        case VT_UI1_: case VT_UI2_: case VT_UI4_: case VT_UI8_: case VT_UINT_:
          return Variant::Int(field, value_vt);
        case VT_BOOL_:
          return Variant::Bool(field != 0);
        default:
          return Variant::Int(static_cast<std::int16_t>(field), value_vt);
      }
    }
    Cursor c = ctx.members->At(field);
    Variant v;
    switch (value_vt) {
      case VT_BSTR_: case VT_LPSTR_: case VT_LPWSTR_: {
        const std::uint16_t length = c.U16();
        v = Variant::String(AnsiToUtf8(c.Text(length)));
        v.vt = value_vt;
        break;
      }
      case VT_I1_: v = Variant::Int(static_cast<std::int8_t>(c.U32()), value_vt); break;
      case VT_I2_: v = Variant::Int(static_cast<std::int16_t>(c.U32()), value_vt); break;
      case VT_UI1_: v = Variant::Int(static_cast<std::uint8_t>(c.U32()), value_vt); break;
      case VT_UI2_: v = Variant::Int(static_cast<std::uint16_t>(c.U32()), value_vt); break;
      case VT_UI4_: case VT_UINT_: v = Variant::Int(c.U32(), value_vt); break;
      case VT_BOOL_: v = Variant::Bool(static_cast<std::int16_t>(c.U32()) != 0); break;
      case VT_R4_: {
        const std::uint32_t bits = c.U32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        v = Variant::Real(f, VT_R4_);
        break;
      }
      case VT_R8_: case VT_DATE_: {
        const std::uint64_t bits = c.U64();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        v = Variant::Real(d, value_vt);
        break;
      }
      case VT_I8_: case VT_UI8_: case VT_CY_:
        v = Variant::Int(static_cast<std::int64_t>(c.U64()), value_vt);
        break;
      default:
        v = Variant::Int(c.I32(), value_vt);
        break;
    }
    Require(c.ok());
    return v;
  }

  void ReadVariables(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type) {
    type.vars.reserve(count);
    std::string previous_name;
    for (std::uint16_t i = 0; i < count; ++i) {
      Require(offset != kNoOffset);
      Cursor c = ctx.members->At(offset);
      const std::uint8_t magic = c.U8();
      const std::uint8_t flags = c.U8();
      const std::uint16_t next = c.U16();
      const std::uint16_t name = c.U16();
      const std::uint16_t value = c.U16();
      const std::uint16_t type_field = c.U16();
      Var v;
      v.memid = c.I32();
      const std::uint16_t help_context = c.U16();
      const std::uint16_t help_string = c.U16();
      if (magic == 0x2A) v.flags = c.U16();
      else Require(magic == 0x0A);
      Require(c.ok());

      v.name = name == 0xFFFE ? previous_name : Name(name);
      previous_name = v.name;
      v.help_context = help_context == 0xFFFE ? 0 : help_context;
      v.doc_string = MemberHelpString(*ctx.members, help_string);
      if (flags & kVarReadOnly) v.flags |= kVarFlagReadOnly;

      std::uint16_t word = 0;
      v.elem.tdesc = TypeField(ctx, type_field, (flags & kVarTypeInline) != 0, word);
      // Fields carry the same direction bits as parameters; the platform reports them.
      v.elem.param_flags = ParamFlags(word);
      if (flags & kVarConst) {
        v.varkind = 2;  // VAR_CONST
        v.value = ConstValue(ctx, v.elem.tdesc.vt, flags, value);
      } else if (flags & kVarDispatch) {
        v.varkind = 3;  // VAR_DISPATCH
      } else {
        v.varkind = 0;  // VAR_PERINSTANCE
        v.o_inst = value;
      }
      type.vars.push_back(std::move(v));
      offset = next;
    }
  }

  void ReadImplTypes(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type) {
    type.impls.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
      Require(offset != kNoOffset);
      Cursor c = ctx.members->At(offset);
      Require(c.U16() == kImplMagic);
      const std::uint16_t next = c.U16();
      c.U16();
      const std::uint8_t flags = c.U8();
      c.U8();
      c.U16();
      const std::uint16_t reference = c.U16();
      c.Skip(kImplRecordSize - 12);
      Require(c.ok());
      // Libraries written by the platform's old tools hold the table index; some writers
      // store it as a 4-byte-aligned offset, recognisable when the index is out of range.
      std::size_t index = reference;
      if (index >= ctx.refs->size() && reference % 4 == 0) index = reference / 4u;
      ImplType impl;
      impl.flags = flags;
      impl.href = index < ctx.refs->size() ? Intern((*ctx.refs)[index]) : kUnresolvedHref;
      type.impls.push_back(std::move(impl));
      offset = next;
    }
  }

  Bytes image_;
  Library* lib_ = nullptr;
  Bytes names_;
  Bytes dictionary_;
  std::map<std::uint32_t, std::uint32_t> import_by_name_;
  std::map<std::tuple<bool, std::uint32_t, std::uint32_t, std::uint32_t>, HRefType> href_by_target_;
};

}  // namespace

HResult ParseSltg(std::span<const std::uint8_t> image, Library& out) {
  try {
    Library lib;
    SltgParser(image).Parse(lib);
    out = std::move(lib);
    return kOk;
  } catch (const Failure&) {
    return kTypeECantLoadLibrary;
  } catch (const std::bad_alloc&) {
    return kEOutOfMemory;
  } catch (const std::length_error&) {
    return kTypeECantLoadLibrary;
  }
}

}  // namespace quenlor::typelib::reader
