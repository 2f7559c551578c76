#include "platform/registry_tree.h"

#include <algorithm>
#include <cstring>

#include "base/error.h"
#include "base/text.h"

namespace quenlor::platform {

namespace {

// Lower-case mapping of the scripts key names use in practice (Latin, Greek, Cyrillic);
// other characters compare as they are.
char32_t FoldChar(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x100 && c <= 0x137) return c | 1;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  return c;
}


int CompareBytes(std::string_view a, std::string_view b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

// Folded names are UTF-8, whose byte order is code point order, so they compare bytewise.
void FoldKeyName(std::string_view name, std::string& out) {
  out.clear();
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const auto b0 = static_cast<unsigned char>(name[i]);
    if (b0 < 0x80) {
      out.push_back(static_cast<char>(b0 >= 'A' && b0 <= 'Z' ? b0 + 32 : b0));
      ++i;
      continue;
    }
    const size_t len = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 1;
    if (len == 1 || name.size() - i < len) {
      out.push_back(static_cast<char>(b0));  // not UTF-8: compares as the byte it is
      ++i;
      continue;
    }
    char32_t c = b0 & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(name[i + k]) & 0x3F);
    AppendUtf8(out, FoldChar(c));
    i += len;
  }
}

std::string FoldKeyName(std::string_view name) {
  std::string out;
  FoldKeyName(name, out);
  return out;
}

int CompareKeyNames(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 0x80 || cb >= 0x80) return CompareBytes(FoldKeyName(a.substr(i)), FoldKeyName(b.substr(i)));
    if (ca >= 'A' && ca <= 'Z') ca += 32;
    if (cb >= 'A' && cb <= 'Z') cb += 32;
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameKeyName(std::string_view a, std::string_view b) { return CompareKeyNames(a, b) == 0; }

const RegistryKey* RegistryKey::FindFolded(std::string_view folded_child) const {
  auto it = std::lower_bound(children.begin(), children.end(), folded_child,
                             [](const RegistryKey* k, std::string_view n) { return k->folded < n; });
  if (it != children.end() && (*it)->folded == folded_child) return *it;
  return nullptr;
}

const RegistryKey* RegistryKey::Find(std::string_view child) const { return FindFolded(FoldKeyName(child)); }

const RegistryValue* RegistryKey::FindValue(std::string_view value_name) const {
  for (const RegistryValueEntry& entry : values) {
    if (SameKeyName(entry.name, value_name)) return &entry.value;
  }
  return nullptr;
}

std::string RegistryValueText(const RegistryValue& value, std::string_view value_name) {
  if (value.data.empty()) return {};
  if (value.type != kRegSz && value.type != kRegExpandSz) {
    throw Error("Invalid data type for '" + std::string(value_name) + "'");
  }
  const std::string_view data = value.data;
  const size_t count = data.size() / 2;
  // Most registry text is ASCII, whose UTF-8 is the low byte of each unit.
  std::string ascii;
  ascii.reserve(count);
  size_t i = 0;
  for (; i < count; ++i) {
    const auto low = static_cast<unsigned char>(data[2 * i]);
    if (data[2 * i + 1] != 0 || low >= 0x80) break;
    if (low == 0) return ascii;
    ascii.push_back(static_cast<char>(low));
  }
  if (i == count) return ascii;
  std::u16string units;
  units.reserve(count);
  for (i = 0; i < count; ++i) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                            (static_cast<unsigned char>(data[2 * i + 1]) << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return Utf16ToUtf8(units);
}

namespace {

constexpr std::size_t kLargestBlock = std::size_t{16} << 20;

}  // namespace

void RegistryMemory::ExpectText(std::size_t bytes) {
  // Parsed keys and values take about as much memory as their text.
  block_size_ = std::clamp(bytes, block_size_, kLargestBlock);
}

// align is a power of two; the padding is taken with a mask rather than a division, which
// for a million small carvings showed in the parse (bench_catalogue BM_LoadHives).
void* RegistryMemory::Allocate(std::size_t size, std::size_t align) {
  std::size_t pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (align - 1);
  if (pad + size > left_) {
    const std::size_t block = std::max(block_size_, size + align);
    blocks_.push_back(AllocateLargeMemory(block));
    next_ = blocks_.back().get();
    left_ = block;
    block_size_ = std::min(block_size_ * 2, kLargestBlock);
    pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (align - 1);
  }
  char* at = next_ + pad;
  next_ = at + size;
  left_ -= pad + size;
  return at;
}

std::string_view RegistryMemory::Copy(std::string_view text) {
  if (text.empty()) return {};
  char* at = static_cast<char*>(Allocate(text.size(), 1));
  std::memcpy(at, text.data(), text.size());
  return {at, text.size()};
}

RegistryTree::RegistryTree() : root_(memory_.Make<RegistryKey>()) {}

const RegistryKey* RegistryTree::Find(const std::vector<std::string>& path) const {
  const RegistryKey* key = root_;
  for (const auto& name : path) {
    if (!key) break;
    key = key->Find(name);
  }
  return key;
}

// The finished key and what only the building needs: sub-keys as they are made, in a list,
// which Finish turns into the sorted children.
class RegistryTreeBuilder::Key {
 public:
  RegistryKey key;
  Key* parent = nullptr;
  Key* first_child = nullptr;
  Key* last_child = nullptr;
  Key* next_sibling = nullptr;
  std::size_t child_count = 0;
  // Made only when sub-keys arrive out of listing order (files need not be sorted); the
  // builder owns it.
  std::unordered_map<std::string_view, Key*>* lookup = nullptr;
  bool unsorted = false;  // sub-keys came out of listing order: Finish sorts them
  bool deleted = false;  // taken out of its parent's list
};

RegistryTreeBuilder::RegistryTreeBuilder() { Reset(); }

RegistryTreeBuilder::~RegistryTreeBuilder() = default;

void RegistryTreeBuilder::Reset() {
  memory_ = RegistryMemory();
  keys_.clear();
  unsorted_.clear();
  lookups_.clear();
  root_ = memory_.Make<Key>();
  keys_.push_back(root_);
}

void RegistryTreeBuilder::ExpectText(std::size_t bytes) {
  memory_.ExpectText(bytes);
  keys_.reserve(keys_.size() + bytes / 128);  // a key takes a header line of some 100 bytes
}

// Hive files list sub-keys in order, so a new name usually sorts after the last one and is
// appended without a search. Sub-keys out of order are searched for in the list while they are
// few, as a version's locales often are, and through a hash index past that: an index for each
// of tens of thousands of small keys cost more than the search (bench_catalogue BM_LoadHives).
RegistryTreeBuilder::Key& RegistryTreeBuilder::Child(Key& parent, std::string_view name) {
  constexpr std::size_t kListSearchLimit = 16;
  FoldKeyName(name, scratch_);
  auto make = [&]() -> Key& {
    Key& key = *memory_.Make<Key>();
    keys_.push_back(&key);
    key.parent = &parent;
    key.key.name = memory_.Copy(name);
    key.key.folded = scratch_ == name ? key.key.name : memory_.Copy(scratch_);
    if (parent.last_child) parent.last_child->next_sibling = &key;
    else parent.first_child = &key;
    parent.last_child = &key;
    ++parent.child_count;
    if (parent.lookup) parent.lookup->emplace(key.key.folded, &key);
    return key;
  };
  if (!parent.unsorted) {
    Key* last = parent.last_child;
    if (!last || last->key.folded < std::string_view(scratch_)) return make();
    if (last->key.folded == scratch_) return *last;
    parent.unsorted = true;
    unsorted_.push_back(&parent);
  }
  if (!parent.lookup && parent.child_count <= kListSearchLimit) {
    for (Key* child = parent.first_child; child; child = child->next_sibling) {
      if (child->key.folded == scratch_) return *child;
    }
    return make();
  }
  if (!parent.lookup) {
    lookups_.push_back(std::make_unique<std::unordered_map<std::string_view, Key*>>());
    parent.lookup = lookups_.back().get();
    parent.lookup->reserve(parent.child_count * 2);
    for (Key* child = parent.first_child; child; child = child->next_sibling) {
      parent.lookup->emplace(child->key.folded, child);
    }
  }
  if (auto it = parent.lookup->find(scratch_); it != parent.lookup->end()) return *it->second;
  return make();
}

RegistryTreeBuilder::Key& RegistryTreeBuilder::Force(const std::vector<std::string>& path) {
  Key* key = root_;
  for (const auto& name : path) key = &Child(*key, name);
  return *key;
}

void RegistryTreeBuilder::Delete(const std::vector<std::string>& path) {
  if (path.empty()) return;
  Key* parent = root_;
  for (size_t i = 0; i < path.size(); ++i) {
    const std::string folded = FoldKeyName(path[i]);
    Key* before = nullptr;
    Key* found = parent->first_child;
    while (found && found->key.folded != folded) {
      before = found;
      found = found->next_sibling;
    }
    if (!found) return;
    if (i + 1 < path.size()) {
      parent = found;
      continue;
    }
    if (before) before->next_sibling = found->next_sibling;
    else parent->first_child = found->next_sibling;
    if (parent->last_child == found) parent->last_child = before;
    --parent->child_count;
    found->deleted = true;
    if (parent->lookup) parent->lookup->erase(found->key.folded);
  }
}

void RegistryTreeBuilder::SetValue(Key& key, std::string_view value_name, std::uint32_t type, std::string_view data) {
  // Keys hold a handful of values; a linear search keeps the common case cheap.
  RegistryValueEntry** tail = &key.key.values.first_;
  for (RegistryValueEntry* entry = key.key.values.first_; entry; entry = entry->next) {
    if (SameKeyName(entry->name, value_name)) {
      entry->value = {type, memory_.Copy(data)};
      return;
    }
    tail = &entry->next;
  }
  RegistryValueEntry* entry = memory_.Make<RegistryValueEntry>();
  entry->name = memory_.Copy(value_name);
  entry->value = {type, memory_.Copy(data)};
  *tail = entry;
}

void RegistryTreeBuilder::DeleteValue(Key& key, std::string_view value_name) {
  RegistryValueEntry** link = &key.key.values.first_;
  while (*link) {
    if (SameKeyName((*link)->name, value_name)) *link = (*link)->next;
    else link = &(*link)->next;
  }
}

// Every key gets its children as one array. Keys were made in file order, which is nearly
// always listing order below each parent, so one pass in that order fills the arrays (following
// the sibling lists instead would jump across the whole tree); keys whose sub-keys came out of
// order are then sorted.
RegistryTree RegistryTreeBuilder::Finish() {
  for (Key* key : keys_) {
    Key* parent = key->parent;
    if (!parent || key->deleted) continue;
    auto** array = const_cast<const RegistryKey**>(parent->key.children.data());
    const std::size_t n = parent->key.children.size();
    if (n == parent->child_count) continue;  // cannot happen: a list holds its live keys
    if (!array) {
      array = static_cast<const RegistryKey**>(
          memory_.Allocate(sizeof(RegistryKey*) * parent->child_count, alignof(RegistryKey*)));
    }
    array[n] = &key->key;
    parent->key.children = std::span<const RegistryKey* const>(array, n + 1);
  }
  for (Key* key : unsorted_) {
    auto** array = const_cast<const RegistryKey**>(key->key.children.data());
    std::sort(array, array + key->key.children.size(),
              [](const RegistryKey* a, const RegistryKey* b) { return a->folded < b->folded; });
  }
  RegistryTree tree(std::move(memory_), &root_->key);
  Reset();
  return tree;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = path.find('\\', start);
    parts.emplace_back(path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

namespace {

// Whether FoldKeyName(name) == folded, without making the folded copy when name is ASCII.
bool FoldsTo(std::string_view name, std::string_view folded) {
  if (name.size() != folded.size()) return FoldKeyName(name) == folded;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 0x80) return FoldKeyName(name) == folded;
    if (static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c) != folded[i]) return false;
  }
  return true;
}

class ClassesRootReader final : public IRegistryReader {
 public:
  explicit ClassesRootReader(std::shared_ptr<const RegistryHives> hives) : hives_(std::move(hives)) {
    root_ = {hives_->user.Find({"Software", "Classes"}), hives_->machine.Find({"Software", "Classes"})};
  }

  bool OpenKey(std::string_view path) override {
    const bool absolute = !path.empty() && path.front() == '\\';
    if (absolute) path.remove_prefix(1);
    // The walk opens paths that share most of their components with the open key's, so the
    // keys found for the open path are reused as far as the names agree. Nothing changes
    // until the whole path is found.
    size_t depth = absolute || !open_ ? 0 : chain_.size();
    bool reusing = absolute && open_;
    found_.clear();
    if (!path.empty()) {
      size_t start = 0;
      while (true) {
        const size_t end = path.find('\\', start);
        const auto part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.empty()) return false;
        if (reusing && depth < chain_.size() && FoldsTo(part, Folded(chain_[depth]))) {
          ++depth;
        } else {
          reusing = false;
          FoldKeyName(part, folded_);
          const Pair parent = !found_.empty() ? found_.back() : depth == 0 ? root_ : chain_[depth - 1];
          const Pair child{parent.user ? parent.user->FindFolded(folded_) : nullptr,
                           parent.machine ? parent.machine->FindFolded(folded_) : nullptr};
          if (!child.user && !child.machine) return false;
          found_.push_back(child);
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
      }
    }
    const Pair key = !found_.empty() ? found_.back() : depth == 0 ? root_ : chain_[depth - 1];
    if (!key.user && !key.machine) return false;
    chain_.resize(depth);
    chain_.insert(chain_.end(), found_.begin(), found_.end());
    open_ = true;
    return true;
  }

  std::vector<std::string> GetKeyNames() override {
    std::vector<std::string> names;
    if (!open_) return names;
    const Pair key = Current();
    const std::span<const RegistryKey* const> a = key.user ? key.user->children : std::span<const RegistryKey* const>();
    const std::span<const RegistryKey* const> b = key.machine ? key.machine->children : std::span<const RegistryKey* const>();
    names.reserve(a.size() + b.size());
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
      if (j == b.size()) {
        names.emplace_back(a[i++]->name);
      } else if (i == a.size()) {
        names.emplace_back(b[j++]->name);
      } else {
        const int c = a[i]->folded.compare(b[j]->folded);
        if (c <= 0) names.emplace_back(a[i++]->name);
        else names.emplace_back(b[j++]->name);
        if (c == 0) ++j;  // the user's key hides the machine's of the same name
      }
    }
    return names;
  }

  std::string ReadDefaultString() override {
    if (!open_) return {};
    const Pair key = Current();
    const RegistryKey* holder = key.user ? key.user : key.machine;
    const RegistryValue* value = holder ? holder->FindValue("") : nullptr;
    return value ? RegistryValueText(*value, "") : std::string();
  }

 private:
  struct Pair {
    const RegistryKey* user = nullptr;
    const RegistryKey* machine = nullptr;
  };
  Pair Current() const { return chain_.empty() ? root_ : chain_.back(); }
  static std::string_view Folded(const Pair& pair) { return pair.user ? pair.user->folded : pair.machine->folded; }

  std::shared_ptr<const RegistryHives> hives_;
  Pair root_;
  bool open_ = false;  // before the first successful open there is no key to list or read
  std::vector<Pair> chain_;  // the keys along the open key's path
  std::vector<Pair> found_;  // the keys of a path being opened, below what it shares with chain_
  std::string folded_;
};

}  // namespace

std::unique_ptr<IRegistryReader> MakeClassesRootReader(std::shared_ptr<const RegistryHives> hives) {
  return std::make_unique<ClassesRootReader>(std::move(hives));
}

}  // namespace quenlor::platform
