// The SLTG parser's shared parts: the format's constants and the parser itself, whose
// members are defined by role in sltg.cpp (header, blocks, library block, names and help
// strings), sltg_types.cpp (references and type descriptions) and sltg_members.cpp (type
// blocks and their functions, variables and implemented types). Internal to the reader.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "typelib/reader/bytes.h"
#include "typelib/reader/container.h"
#include "typelib/reader/failure.h"
#include "typelib/reader/model.h"

namespace quenlor::typelib::reader::sltg {

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

// Member data of one type block: offsets are relative to the member base, reads may reach
// up to the end of the block.
struct Members {
  Bytes image;   // the whole image, for the offsets of failures
  Bytes region;  // from the member base to the end of the block

  Cursor At(std::uint32_t offset) const {
    Require(offset < region.size(), image, region, offset, "member offset outside the block");
    return Cursor(region, offset);
  }
};

// A type library's entry in the library block's directory.
struct Directory {
  std::string block_name;
  std::string name;
  std::string doc_string;
  std::uint32_t help_context = 0;
  Guid guid;
  std::uint16_t kind = 0;
};

struct TypeContext {
  const Members* members;
  const std::vector<RefEntry>* refs;
};

class SltgParser {
 public:
  explicit SltgParser(Bytes image) : image_(image) {}

  void Parse(Library& lib);

 private:
  std::uint64_t Where(const Cursor& c) const { return ImageOffset(image_, c); }
  std::uint64_t Where(Bytes part, std::uint64_t position) const { return ImageOffset(image_, part, position); }

  // sltg.cpp: file header, blocks, library block, names and help strings.
  std::vector<Block> ReadBlocks();
  std::string CString(Bytes area, std::size_t offset, const char* reason) const;
  std::optional<std::string> CountedString(Cursor& c) const;
  Guid ReadGuid(Cursor& c) const;
  std::vector<Directory> ReadLibraryBlock(Bytes block, std::size_t type_count);
  void ReadNameTable(Bytes block, std::uint32_t offset);
  std::string Name(std::uint32_t offset) const;
  std::string HelpString(Bytes packed) const;
  std::string MemberHelpString(const Members& m, std::uint16_t offset) const;

  // sltg_types.cpp: reference tables, imported libraries and type descriptions.
  std::vector<RefEntry> ReadRefTable(Bytes block, std::int32_t offset);
  RefEntry ParseRefText(std::string_view text, std::uint64_t at) const;
  Guid ParseGuidText(std::string_view text, std::uint64_t at) const;
  std::uint32_t ImportIndex(std::uint32_t name_offset);
  HRefType Intern(const RefEntry& ref);
  HRefType UserDefined(const TypeContext& ctx, std::uint16_t word);
  TypeDesc Continue(const TypeContext& ctx, std::uint16_t vt, Cursor& c, int depth);
  TypeDesc Words(const TypeContext& ctx, Cursor& c, int depth, std::uint16_t* first = nullptr);
  TypeDesc TypeField(const TypeContext& ctx, std::uint16_t field, bool inline_word, std::uint16_t& word);

  // sltg_members.cpp: type blocks.
  void ReadTypeInfo(const Block& block, const Directory& dir, TypeInfo& type);
  void ReadFunctions(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type);
  Variant ConstValue(const TypeContext& ctx, std::uint16_t vt, std::uint8_t flags, std::uint16_t field);
  void ReadVariables(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type);
  void ReadImplTypes(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type);

  Bytes image_;
  Library* lib_ = nullptr;
  Bytes names_;
  Bytes dictionary_;
  std::map<std::uint32_t, std::uint32_t> import_by_name_;
  std::map<std::tuple<bool, std::uint32_t, std::uint32_t, std::uint32_t>, HRefType> href_by_target_;
};

// PARAMFLAGS of a type word's direction, [retval] and [lcid] bits.
std::uint16_t ParamFlags(std::uint16_t word);

}  // namespace quenlor::typelib::reader::sltg
