#include "platform/registry_tree.h"

#include <algorithm>

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

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
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
                             [](const RegistryKey* k, std::string_view n) { return std::string_view(k->folded) < n; });
  if (it != children.end() && (*it)->folded == folded_child) return *it;
  return nullptr;
}

const RegistryKey* RegistryKey::Find(std::string_view child) const { return FindFolded(FoldKeyName(child)); }

const RegistryValue* RegistryKey::FindValue(std::string_view value_name) const {
  for (const auto& [entry_name, value] : values) {
    if (SameKeyName(entry_name, value_name)) return &value;
  }
  return nullptr;
}

void RegistryKey::SetValue(std::string_view value_name, RegistryValue value) {
  // Keys hold a handful of values; a linear search keeps the common case cheap.
  for (auto& [entry_name, existing] : values) {
    if (SameKeyName(entry_name, value_name)) {
      existing = std::move(value);
      return;
    }
  }
  values.emplace_back(std::string(value_name), std::move(value));
}

void RegistryKey::DeleteValue(std::string_view value_name) {
  std::erase_if(values, [&](const auto& v) { return SameKeyName(v.first, value_name); });
}

std::string RegistryValueText(const RegistryValue& value, std::string_view value_name) {
  if (value.data.empty()) return {};
  if (value.type != kRegSz && value.type != kRegExpandSz) {
    throw Error("Invalid data type for '" + std::string(value_name) + "'");
  }
  std::u16string units;
  units.reserve(value.data.size() / 2);
  for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                            (static_cast<unsigned char>(value.data[i + 1]) << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return Utf16ToUtf8(units);
}

RegistryTree::RegistryTree() : root_(&keys_.emplace_back()) {}

// Hive files list sub-keys in order, so a new name usually sorts after the last one and is
// appended without a search; only keys whose sub-keys arrive out of order get a hash index.
RegistryKey& RegistryTree::Child(RegistryKey& parent, std::string_view name) {
  FoldKeyName(name, scratch_);
  auto make = [&]() -> RegistryKey& {
    RegistryKey& key = keys_.emplace_back();
    key.name = name;
    key.folded = scratch_;
    parent.children.push_back(&key);
    if (parent.lookup_) parent.lookup_->emplace(key.folded, &key);
    return key;
  };
  if (!parent.lookup_) {
    if (parent.children.empty() || std::string_view(parent.children.back()->folded) < scratch_) return make();
    if (parent.children.back()->folded == scratch_) return *parent.children.back();
    parent.lookup_ = std::make_unique<std::unordered_map<std::string_view, RegistryKey*>>();
    parent.lookup_->reserve(parent.children.size() * 2);
    for (RegistryKey* child : parent.children) parent.lookup_->emplace(child->folded, child);
    parent.unsorted_ = true;
  }
  if (auto it = parent.lookup_->find(scratch_); it != parent.lookup_->end()) return *it->second;
  return make();
}

RegistryKey& RegistryTree::Force(const std::vector<std::string>& path) {
  RegistryKey* key = root_;
  for (const auto& name : path) key = &Child(*key, name);
  return *key;
}

void RegistryTree::Delete(const std::vector<std::string>& path) {
  if (path.empty()) return;
  RegistryKey* parent = root_;
  RegistryKey* doomed = nullptr;
  for (size_t i = 0; i < path.size(); ++i) {
    const std::string folded = FoldKeyName(path[i]);
    RegistryKey* found = nullptr;
    for (RegistryKey* child : parent->children) {
      if (child->folded == folded) {
        found = child;
        break;
      }
    }
    if (!found) return;
    if (i + 1 == path.size()) doomed = found;
    else parent = found;
  }
  std::erase(parent->children, doomed);
  if (parent->lookup_) parent->lookup_->erase(doomed->folded);
}

void RegistryTree::Finish() {
  for (RegistryKey& key : keys_) {
    if (key.unsorted_) {
      std::sort(key.children.begin(), key.children.end(),
                [](const RegistryKey* a, const RegistryKey* b) { return a->folded < b->folded; });
      key.unsorted_ = false;
    }
    key.lookup_.reset();
  }
}

const RegistryKey* RegistryTree::Find(const std::vector<std::string>& path) const {
  const RegistryKey* key = root_;
  for (const auto& name : path) {
    if (!key) break;
    key = key->Find(name);
  }
  return key;
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

class ClassesRootReader final : public IRegistryReader {
 public:
  explicit ClassesRootReader(std::shared_ptr<const RegistryHives> hives) : hives_(std::move(hives)) {
    root_ = {hives_->user.Find({"Software", "Classes"}), hives_->machine.Find({"Software", "Classes"})};
  }

  bool OpenKey(std::string_view path) override {
    const bool absolute = !path.empty() && path.front() == '\\';
    if (absolute) path.remove_prefix(1);
    // The walk opens paths that share most of their components with the open key's, so
    // the keys found for the open path are reused as far as the names agree.
    std::vector<std::string>& names = candidate_names_;
    std::vector<Pair>& chain = candidate_chain_;
    names.clear();
    chain.clear();
    if (!absolute && open_) {
      names = names_;
      chain = chain_;
    }
    size_t reuse = absolute && open_ ? 0 : names.size();
    if (!path.empty()) {
      size_t start = 0;
      while (true) {
        const size_t end = path.find('\\', start);
        const auto part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.empty()) return false;
        FoldKeyName(part, folded_);
        const size_t depth = names.size();
        if (absolute && open_ && depth == reuse && depth < names_.size() && names_[depth] == folded_) {
          ++reuse;
          names.push_back(folded_);
          chain.push_back(chain_[depth]);
        } else {
          const Pair parent = chain.empty() ? root_ : chain.back();
          const Pair child{parent.user ? parent.user->FindFolded(folded_) : nullptr,
                           parent.machine ? parent.machine->FindFolded(folded_) : nullptr};
          if (!child.user && !child.machine) return false;
          names.push_back(folded_);
          chain.push_back(child);
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
      }
    }
    const Pair key = chain.empty() ? root_ : chain.back();
    if (!key.user && !key.machine) return false;
    names_.swap(names);
    chain_.swap(chain);
    open_ = true;
    return true;
  }

  std::vector<std::string> GetKeyNames() override {
    std::vector<std::string> names;
    if (!open_) return names;
    const Pair key = Current();
    static const std::vector<RegistryKey*> kNone;
    const auto& a = key.user ? key.user->children : kNone;
    const auto& b = key.machine ? key.machine->children : kNone;
    names.reserve(a.size() + b.size());
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
      if (j == b.size()) {
        names.push_back(a[i++]->name);
      } else if (i == a.size()) {
        names.push_back(b[j++]->name);
      } else {
        const int c = a[i]->folded.compare(b[j]->folded);
        if (c <= 0) names.push_back(a[i++]->name);
        else names.push_back(b[j++]->name);
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

  std::shared_ptr<const RegistryHives> hives_;
  Pair root_;
  bool open_ = false;  // before the first successful open there is no key to list or read
  std::vector<std::string> names_;  // folded names of the open key's path
  std::vector<Pair> chain_;         // the keys along it
  std::vector<std::string> candidate_names_;
  std::vector<Pair> candidate_chain_;
  std::string folded_;
};

}  // namespace

std::unique_ptr<IRegistryReader> MakeClassesRootReader(std::shared_ptr<const RegistryHives> hives) {
  return std::make_unique<ClassesRootReader>(std::move(hives));
}

}  // namespace quenlor::platform
