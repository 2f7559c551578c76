#include "typelib/reader/container.h"

#include <string>

namespace quenlor::typelib::reader {

namespace {

// Resource trees are three levels deep; a walk never goes further, whatever the offsets say.
constexpr int kMaxResourceEntries = 65536;

struct Section {
  std::uint32_t virtual_address, virtual_size, raw_size, raw_offset;
};

struct PeImage {
  std::vector<Section> sections;
  Bytes resources;              // the resource section's bytes from the root, within the file
  std::uint32_t resource_rva = 0;
};

bool ResourceNameIs(Bytes root, std::uint32_t offset, const char* name) {
  Cursor c(root, offset);
  const std::uint16_t length = c.U16();
  std::string text;
  for (std::uint16_t i = 0; i < length && c.ok(); ++i) {
    const std::uint16_t ch = c.U16();
    text += ch < 0x80 ? static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch) : '?';
  }
  return c.ok() && text == name;
}

// Maps an RVA range to file bytes through the section table; the data must lie in the file.
std::optional<Bytes> MapRva(Bytes file, const std::vector<Section>& sections, std::uint32_t rva, std::uint32_t size) {
  for (const auto& s : sections) {
    const std::uint64_t extent = std::max(s.virtual_size, s.raw_size);
    if (rva < s.virtual_address || rva - s.virtual_address >= extent) continue;
    const std::uint64_t delta = rva - s.virtual_address;
    if (delta > s.raw_size || size > s.raw_size - delta) return std::nullopt;
    const std::uint64_t offset = s.raw_offset + delta;
    if (!InRange(offset, size, file.size())) return std::nullopt;
    return file.subspan(static_cast<std::size_t>(offset), size);
  }
  return std::nullopt;
}

std::optional<PeImage> ReadPe(Bytes file) {
  Cursor c(file);
  if (c.U16() != 0x5A4D) return std::nullopt;
  c.Seek(0x3C);
  const std::uint32_t lfanew = c.U32();
  c.Seek(lfanew);
  if (c.U32() != 0x00004550 || !c.ok()) return std::nullopt;
  c.Skip(2);
  const std::uint16_t section_count = c.U16();
  c.Skip(12);
  const std::uint16_t optional_size = c.U16();
  c.Skip(2);
  const std::uint64_t optional = c.position();
  const std::uint16_t magic = c.U16();
  if (!c.ok() || (magic != 0x10B && magic != 0x20B)) return std::nullopt;
  const bool plus = magic == 0x20B;
  c.Seek(optional + (plus ? 108 : 92));
  const std::uint32_t dir_count = c.U32();
  if (dir_count <= 2) return PeImage{};
  c.Seek(optional + (plus ? 128 : 112));
  const std::uint32_t rsrc_rva = c.U32();
  const std::uint32_t rsrc_size = c.U32();
  PeImage pe;
  c.Seek(optional + optional_size);
  for (std::uint16_t i = 0; i < section_count && c.ok(); ++i) {
    c.Skip(8);
    Section s;
    s.virtual_size = c.U32();
    s.virtual_address = c.U32();
    s.raw_size = c.U32();
    s.raw_offset = c.U32();
    c.Skip(16);
    if (c.ok()) pe.sections.push_back(s);
  }
  if (!c.ok()) return std::nullopt;
  if (rsrc_rva == 0 || rsrc_size == 0) return pe;
  // The resource tree addresses everything from its root; take what the section holds.
  for (const auto& s : pe.sections) {
    const std::uint64_t extent = std::max(s.virtual_size, s.raw_size);
    if (rsrc_rva < s.virtual_address || rsrc_rva - s.virtual_address >= extent) continue;
    const std::uint64_t delta = rsrc_rva - s.virtual_address;
    if (delta >= s.raw_size) break;
    const std::uint64_t offset = s.raw_offset + delta;
    if (offset >= file.size()) break;
    const std::uint64_t available = std::min<std::uint64_t>(s.raw_size - delta, file.size() - offset);
    pe.resources = file.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(available));
    pe.resource_rva = rsrc_rva;
    break;
  }
  return pe;
}

// Entries of the resource directory table at `offset`: (name-or-id word, target word).
std::vector<std::pair<std::uint32_t, std::uint32_t>> DirectoryEntries(Bytes root, std::uint32_t offset) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
  Cursor c(root, offset);
  c.Skip(12);
  const std::uint32_t count = static_cast<std::uint32_t>(c.U16()) + c.U16();
  if (!c.ok()) return entries;
  for (std::uint32_t i = 0; i < count && i < kMaxResourceEntries; ++i) {
    const std::uint32_t name = c.U32();
    const std::uint32_t target = c.U32();
    if (!c.ok()) break;
    entries.emplace_back(name, target);
  }
  return entries;
}

// The TYPELIB type's name-level directory, or nullopt.
std::optional<std::uint32_t> TypeLibDirectory(Bytes root) {
  for (const auto& [name, target] : DirectoryEntries(root, 0)) {
    if ((name & 0x80000000u) && (target & 0x80000000u) && ResourceNameIs(root, name & 0x7FFFFFFFu, "TYPELIB"))
      return target & 0x7FFFFFFFu;
  }
  return std::nullopt;
}

HResult FindPeResource(Bytes file, const PeImage& pe, std::uint32_t id, Bytes& image) {
  const auto dir = TypeLibDirectory(pe.resources);
  if (!dir) return kTypeECantLoadLibrary;
  for (const auto& [name, target] : DirectoryEntries(pe.resources, *dir)) {
    if ((name & 0x80000000u) || name != id) continue;
    std::uint32_t data_entry = target;
    if (target & 0x80000000u) {
      // The language level: take the first entry.
      const auto languages = DirectoryEntries(pe.resources, target & 0x7FFFFFFFu);
      if (languages.empty() || (languages.front().second & 0x80000000u)) return kTypeECantLoadLibrary;
      data_entry = languages.front().second;
    }
    Cursor c(pe.resources, data_entry);
    const std::uint32_t rva = c.U32();
    const std::uint32_t size = c.U32();
    if (!c.ok()) return kTypeECantLoadLibrary;
    const auto bytes = MapRva(file, pe.sections, rva, size);
    if (!bytes) return kTypeECantLoadLibrary;
    image = *bytes;
    return kOk;
  }
  return kTypeECantLoadLibrary;
}

// 16-bit NE images: the TYPELIB resource with ID 0x8000 | id.
HResult FindNeResource(Bytes file, std::uint32_t id, Bytes& image) {
  Cursor c(file, 0x3C);
  const std::uint32_t ne = c.U32();
  c.Seek(ne);
  if (c.U16() != 0x454E) return kTypeECantLoadLibrary;
  c.Seek(static_cast<std::uint64_t>(ne) + 0x24);
  const std::uint16_t table = c.U16();
  const std::uint16_t resident = c.U16();
  if (!c.ok() || resident <= table) return kTypeECantLoadLibrary;
  const std::uint64_t table_start = static_cast<std::uint64_t>(ne) + table;
  const std::uint64_t table_end = static_cast<std::uint64_t>(ne) + resident;
  if (table_end > file.size()) return kTypeECantLoadLibrary;
  Bytes rt = file.subspan(static_cast<std::size_t>(table_start), static_cast<std::size_t>(table_end - table_start));
  Cursor r(rt);
  const std::uint16_t shift = r.U16();
  if (shift > 16) return kTypeECantLoadLibrary;
  while (r.ok()) {
    const std::uint16_t type = r.U16();
    if (type == 0 || !r.ok()) break;
    const std::uint16_t count = r.U16();
    r.Skip(4);
    bool typelib = false;
    if (!(type & 0x8000)) {
      Cursor n(rt, type);
      const std::uint8_t length = n.U8();
      std::string text = n.Text(length);
      for (auto& ch : text) ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
      typelib = n.ok() && text == "TYPELIB";
    }
    for (std::uint16_t i = 0; i < count && r.ok(); ++i) {
      const std::uint64_t offset = static_cast<std::uint64_t>(r.U16()) << shift;
      const std::uint64_t length = static_cast<std::uint64_t>(r.U16()) << shift;
      r.Skip(2);
      const std::uint16_t rid = r.U16();
      r.Skip(4);
      if (typelib && r.ok() && rid == (0x8000 | id)) {
        if (offset >= file.size()) return kTypeECantLoadLibrary;
        image = file.subspan(static_cast<std::size_t>(offset),
                             static_cast<std::size_t>(std::min<std::uint64_t>(length, file.size() - offset)));
        return kOk;
      }
    }
  }
  return kTypeECantLoadLibrary;
}

bool HasTypeLibSignature(Bytes image) {
  const ImageFormat format = DetectFormat(image);
  return format == ImageFormat::Msft || format == ImageFormat::Sltg;
}

}  // namespace

ImageFormat DetectFormat(Bytes bytes) {
  Cursor c(bytes);
  if (c.U16() == 0x5A4D && c.ok()) return ImageFormat::Executable;
  c.Seek(0);
  const std::uint32_t magic = c.U32();
  if (!c.ok()) return ImageFormat::Unknown;
  if (magic == kMsftMagic) return ImageFormat::Msft;
  if (magic == kSltgMagic) return ImageFormat::Sltg;
  return ImageFormat::Unknown;
}

ReadResult FindTypeLibImage(Bytes file, std::uint32_t resource_id, Bytes& image) {
  if (DetectFormat(file) == ImageFormat::Executable) {
    Bytes found;
    HResult hr = kTypeECantLoadLibrary;
    if (const auto pe = ReadPe(file)) {
      hr = FindPeResource(file, *pe, resource_id, found);
    } else {
      hr = FindNeResource(file, resource_id, found);
    }
    if (hr != kOk) return {kTypeECantLoadLibrary, {0, "no such TYPELIB resource"}};
    if (!HasTypeLibSignature(found))
      return {kTypeECantLoadLibrary, {ImageOffset(file, found, 0), "resource holds no type library"}};
    image = found;
    return {};
  }
  if (!HasTypeLibSignature(file)) return {kTypeECantLoadLibrary, {0, "no type library signature"}};
  image = file;
  return {};
}

std::vector<std::uint32_t> ListTypeLibResources(Bytes file) {
  std::vector<std::uint32_t> ids;
  const auto pe = ReadPe(file);
  if (!pe) return ids;
  const auto dir = TypeLibDirectory(pe->resources);
  if (!dir) return ids;
  for (const auto& [name, target] : DirectoryEntries(pe->resources, *dir))
    if (!(name & 0x80000000u)) ids.push_back(name);
  return ids;
}

}  // namespace quenlor::typelib::reader
