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
#include <new>
#include <stdexcept>

#include "typelib/reader/ansi.h"
#include "typelib/reader/sltg_parser.h"

namespace quenlor::typelib::reader {
namespace sltg {

void SltgParser::Parse(Library& lib) {
  lib_ = &lib;
  std::vector<Block> blocks = ReadBlocks();
  Require(blocks.size() >= 1, 10, "no blocks");
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
    Require(block != nullptr, image_, library_block.data, 0, "directory names no block");
    ReadTypeInfo(*block, directory[i], lib.types[i]);
  }
}

// --- file header and blocks -----------------------------------------------------------

std::vector<Block> SltgParser::ReadBlocks() {
  Cursor h(image_);
  Require(h.U32() == kSltgMagic, 0, "no SLTG signature");
  const std::uint16_t block_entries_plus_one = h.U16();
  const std::uint16_t pad_size = h.U16();
  const std::uint16_t strings_size = h.U16();
  const std::uint16_t first = h.U16();
  Require(h.ok(), h.position(), "header truncated");
  Require(block_entries_plus_one >= 2, 4, "no block entries");
  const std::size_t entry_count = block_entries_plus_one - 1u;

  struct Entry {
    std::uint32_t length;
    std::uint16_t name;
    std::uint16_t next;
  };
  Cursor e(image_, kHeaderSize);
  std::vector<Entry> entries;
  Require(InRange(kHeaderSize, 8ull * entry_count, image_.size()), kHeaderSize, "block entries outside the file");
  entries.reserve(entry_count);
  for (std::size_t i = 0; i < entry_count; ++i) {
    Entry entry{e.U32(), e.U16(), e.U16()};
    entries.push_back(entry);
  }
  const Bytes strings = e.Span(strings_size);
  e.Skip(pad_size);
  Require(e.ok(), e.position(), "block names outside the file");

  std::vector<Block> blocks;
  std::vector<bool> visited(entry_count, false);
  std::uint64_t position = e.position();
  for (std::uint16_t current = first, previous = 0; current != 0;) {
    // Where the link to this entry is stored: the header's first, or the previous entry.
    const std::uint64_t link = previous == 0 ? 10 : kHeaderSize + 8ull * (previous - 1u) + 6;
    Require(current <= entry_count, link, "block chain names a missing entry");
    Require(!visited[current - 1u], link, "block chain loops");
    visited[current - 1u] = true;
    const Entry& entry = entries[current - 1u];
    Cursor data(image_, position);
    Block block;
    block.data = data.Span(entry.length);
    Require(data.ok(), kHeaderSize + 8ull * (current - 1u), "block outside the file");
    block.name = CString(strings, entry.name, "block name outside the name strings");
    blocks.push_back(std::move(block));
    position += entry.length;
    previous = current;
    current = entry.next;
  }
  return blocks;
}

std::string SltgParser::CString(Bytes area, std::size_t offset, const char* reason) const {
  Cursor c(area, offset);
  const Bytes text = c.UntilNul();
  Require(c.ok(), image_, area, offset, reason);
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// WORD length (0xFFFF: none) and that many bytes.
std::optional<std::string> SltgParser::CountedString(Cursor& c) const {
  const std::uint16_t length = c.U16();
  if (length == 0xFFFF) return std::nullopt;
  std::string text = c.Text(length);
  Require(c.ok(), image_, c, "counted string outside the block");
  return text;
}

Guid SltgParser::ReadGuid(Cursor& c) const {
  Guid g;
  g.data1 = c.U32();
  g.data2 = c.U16();
  g.data3 = c.U16();
  const Bytes tail = c.Span(8);
  Require(c.ok(), image_, c, "GUID outside the block");
  std::memcpy(g.data4, tail.data(), 8);
  return g;
}

// --- library block --------------------------------------------------------------------

std::vector<Directory> SltgParser::ReadLibraryBlock(Bytes block, std::size_t type_count) {
  Library& lib = *lib_;
  Cursor c(block);
  Require(c.U16() == kLibraryMagic, image_, block, 0, "library block magic");
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
  const std::uint64_t count_at = Where(c);
  const std::uint16_t count = c.U16();
  Require(c.ok(), image_, c, "library block truncated");
  Require(count == type_count, count_at, "type count disagrees with the blocks");

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
    Require(c.ok(), image_, c, "type directory truncated");
  }

  const std::uint32_t name_table = c.U32();
  c.U16();  // longest decoded help string
  const std::uint32_t dictionary_size = c.U32();
  dictionary_ = c.Span(dictionary_size);
  Require(c.ok(), image_, c, "help dictionary outside the block");

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

void SltgParser::ReadNameTable(Bytes block, std::uint32_t offset) {
  Cursor c(block, offset);
  const std::uint16_t jump = c.U16();
  if (jump == 0xFFFF) c.Skip(10);
  else if (jump == 0x0200) c.Skip(0x2A);
  else Fail(Where(block, offset), "name table jump");
  c.Skip(0x200);  // hash buckets
  const std::uint32_t size = c.U32();
  Require(c.ok(), image_, c, "name table outside the block");
  const std::uint64_t available = c.remaining();
  names_ = c.Span(std::min<std::uint64_t>(size, available));
  Require(c.ok(), image_, c, "name table outside the block");
}

// A name offset points at the record's 8-byte prefix; the characters follow it.
std::string SltgParser::Name(std::uint32_t offset) const {
  Require(offset <= names_.size() && names_.size() - offset > 8, image_, names_, 0, "name outside the name table");
  return AnsiToUtf8(CString(names_, offset + 8u, "name outside the name table"));
}

// Help strings are bit streams walked through the dictionary's binary tree: a node byte
// 0x80 is followed by the big-endian position of its 0-branch (the 1-branch is the next
// node); any other byte starts a leaf whose NUL-terminated word is appended. An empty
// word ends the string.
std::string SltgParser::HelpString(Bytes packed) const {
  std::string out;
  if (packed.empty() || dictionary_.empty()) return out;
  const std::size_t bit_count = packed.size() * 8;
  std::size_t bit = 0;
  std::size_t node = 0;
  // Every step consumes a bit or emits a word; a word emitted without a bit consumed
  // since the last one would repeat forever (a leaf at the root), so it ends the string.
  bool moved = true;
  while (out.size() < kMaxHelpString) {
    Cursor n(dictionary_, node);
    const std::uint8_t kind = n.U8();
    if (!n.ok()) break;
    if (kind == 0x80) {
      const std::uint8_t high = n.U8();
      const std::uint8_t low = n.U8();
      if (bit >= bit_count || !n.ok()) break;
      const bool one = (Cursor(packed, bit / 8).U8() >> (7 - bit % 8)) & 1;
      ++bit;
      moved = true;
      node = one ? node + 3 : (static_cast<std::size_t>(high) << 8) | low;
      continue;
    }
    const Bytes word = n.UntilNul();
    if (!n.ok() || word.empty()) break;
    if (!moved) break;
    if (!out.empty()) out += ' ';
    out.append(reinterpret_cast<const char*>(word.data()), word.size());
    moved = false;
    node = 0;
  }
  return AnsiToUtf8(out);
}

// A member's help string is at a member-data offset, without a length: decode from there
// to the end of the block at most.
std::string SltgParser::MemberHelpString(const Members& m, std::uint16_t offset) const {
  if (offset == kNoOffset || offset >= m.region.size()) return {};
  Cursor c(m.region, offset);
  return HelpString(c.Span(c.remaining()));
}

}  // namespace sltg

ReadResult ParseSltg(std::span<const std::uint8_t> image, Library& out) {
  try {
    Library lib;
    sltg::SltgParser(image).Parse(lib);
    out = std::move(lib);
    return {};
  } catch (const ReadFailure& failure) {
    return {kTypeECantLoadLibrary, failure};
  } catch (const std::bad_alloc&) {
    return {kEOutOfMemory, {0, "out of memory"}};
  } catch (const std::length_error&) {
    return {kTypeECantLoadLibrary, {0, "count beyond what can be held"}};
  }
}

}  // namespace quenlor::typelib::reader
