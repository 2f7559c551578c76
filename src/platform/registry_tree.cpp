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

char32_t NextChar(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  // Names come from our own parsers as well-formed UTF-8; anything else compares bytewise.
  size_t len = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 1;
  if (len == 1 || s.size() - i < len) {
    ++i;
    return 0x110000 + b0;
  }
  char32_t c = b0 & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  i += len;
  return c;
}

}  // namespace

int CompareKeyNames(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t ca = FoldChar(NextChar(a, i));
    const char32_t cb = FoldChar(NextChar(b, j));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool SameKeyName(std::string_view a, std::string_view b) { return CompareKeyNames(a, b) == 0; }

static std::string FoldName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const char32_t c = FoldChar(NextChar(name, i));
    out.append(reinterpret_cast<const char*>(&c), sizeof c);
  }
  return out;
}

const RegistryKey* RegistryKey::Find(std::string_view child) const {
  auto it = std::lower_bound(children.begin(), children.end(), child,
                             [](const std::unique_ptr<RegistryKey>& k, std::string_view n) {
                               return CompareKeyNames(k->name, n) < 0;
                             });
  if (it != children.end() && SameKeyName((*it)->name, child)) return it->get();
  return nullptr;
}

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

RegistryTree::RegistryTree() : root_(std::make_unique<RegistryKey>()) {}

std::string RegistryTree::IndexKey(const RegistryKey* parent, std::string_view name) {
  std::string key(reinterpret_cast<const char*>(&parent), sizeof parent);
  key += FoldName(name);
  return key;
}

RegistryKey& RegistryTree::Force(const std::vector<std::string>& path) {
  RegistryKey* key = root_.get();
  for (const auto& name : path) {
    auto [it, inserted] = index_.try_emplace(IndexKey(key, name), nullptr);
    if (inserted) {
      auto child = std::make_unique<RegistryKey>();
      child->name = name;
      it->second = child.get();
      key->children.push_back(std::move(child));
    }
    key = it->second;
  }
  return *key;
}

void RegistryTree::Delete(const std::vector<std::string>& path) {
  if (path.empty()) return;
  RegistryKey* parent = root_.get();
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    auto it = index_.find(IndexKey(parent, path[i]));
    if (it == index_.end()) return;
    parent = it->second;
  }
  auto it = index_.find(IndexKey(parent, path.back()));
  if (it == index_.end()) return;
  RegistryKey* doomed = it->second;
  index_.erase(it);
  auto& siblings = parent->children;
  for (auto c = siblings.begin(); c != siblings.end(); ++c) {
    if (c->get() == doomed) {
      deleted_.push_back(std::move(*c));
      siblings.erase(c);
      break;
    }
  }
}

void RegistryTree::Finish() {
  std::vector<RegistryKey*> pending{root_.get()};
  while (!pending.empty()) {
    RegistryKey* key = pending.back();
    pending.pop_back();
    std::sort(key->children.begin(), key->children.end(),
              [](const auto& a, const auto& b) { return CompareKeyNames(a->name, b->name) < 0; });
    for (auto& child : key->children) pending.push_back(child.get());
  }
  index_.clear();
  deleted_.clear();
}

const RegistryKey* RegistryTree::Find(const std::vector<std::string>& path) const {
  const RegistryKey* key = root_.get();
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
    machine_root_ = hives_->machine.Find({"Software", "Classes"});
    user_root_ = hives_->user.Find({"Software", "Classes"});
  }

  bool OpenKey(std::string_view path) override {
    const bool absolute = !path.empty() && path.front() == '\\';
    if (absolute) path.remove_prefix(1);
    const RegistryKey* machine = machine_root_;
    const RegistryKey* user = user_root_;
    if (!absolute && open_) {
      machine = machine_;
      user = user_;
    }
    if (!path.empty()) {
      for (const auto& name : SplitKeyPath(path)) {
        if (name.empty()) return false;
        machine = machine ? machine->Find(name) : nullptr;
        user = user ? user->Find(name) : nullptr;
        if (!machine && !user) return false;
      }
    }
    if (!machine && !user) return false;
    open_ = true;
    machine_ = machine;
    user_ = user;
    return true;
  }

  std::vector<std::string> GetKeyNames() override {
    std::vector<std::string> names;
    if (!open_) return names;
    static const std::vector<std::unique_ptr<RegistryKey>> kNone;
    const auto& a = user_ ? user_->children : kNone;
    const auto& b = machine_ ? machine_->children : kNone;
    names.reserve(a.size() + b.size());
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
      if (j == b.size()) {
        names.push_back(a[i++]->name);
      } else if (i == a.size()) {
        names.push_back(b[j++]->name);
      } else {
        const int c = CompareKeyNames(a[i]->name, b[j]->name);
        if (c <= 0) names.push_back(a[i++]->name);
        else names.push_back(b[j++]->name);
        if (c == 0) ++j;  // the user's key hides the machine's of the same name
      }
    }
    return names;
  }

  std::string ReadDefaultString() override {
    if (!open_) return {};
    const RegistryKey* key = user_ ? user_ : machine_;
    const RegistryValue* value = key ? key->FindValue("") : nullptr;
    return value ? RegistryValueText(*value, "") : std::string();
  }

 private:
  std::shared_ptr<const RegistryHives> hives_;
  const RegistryKey* machine_root_ = nullptr;
  const RegistryKey* user_root_ = nullptr;
  bool open_ = false;  // before the first successful open there is no key to list or read
  const RegistryKey* machine_ = nullptr;
  const RegistryKey* user_ = nullptr;
};

}  // namespace

std::unique_ptr<IRegistryReader> MakeClassesRootReader(std::shared_ptr<const RegistryHives> hives) {
  return std::make_unique<ClassesRootReader>(std::move(hives));
}

}  // namespace quenlor::platform
