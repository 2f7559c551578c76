// An in-memory registry: the keys and values read from a Wine prefix's hive files or from a
// .reg export, and the HKEY_CLASSES_ROOT view over them. Portable, so the parsers are
// tested and fuzzed on every build.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

namespace quenlor::platform {

// Registry value types (the platform's REG_ constants).
enum RegistryType : std::uint32_t {
  kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegLink = 6,
  kRegMultiSz = 7,
};

// Data as the platform stores it: strings are UTF-16LE bytes with their terminating NUL.
struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::string data;
};

// The order in which Wine lists sub-keys (measured with RegEnumKeyExW): names compared
// character by character after lower-casing, a name that is a prefix of another first.
// Lower-casing puts "_" before letters; Windows itself upper-cases, which differs only for
// the characters between "Z" and "a".
int CompareKeyNames(std::string_view a, std::string_view b);
bool SameKeyName(std::string_view a, std::string_view b);
// The lower-cased form in which names compare bytewise in listing order.
std::string FoldKeyName(std::string_view name);
void FoldKeyName(std::string_view name, std::string& out);

struct RegistryKey {
  std::string name;
  std::string folded;                   // FoldKeyName(name)
  std::vector<RegistryKey*> children;   // in listing order once the tree is finished
  std::vector<std::pair<std::string, RegistryValue>> values;  // "" is the default value

  const RegistryKey* Find(std::string_view child) const;
  const RegistryKey* FindFolded(std::string_view folded_child) const;
  const RegistryValue* FindValue(std::string_view value_name) const;
  void SetValue(std::string_view value_name, RegistryValue value);
  void DeleteValue(std::string_view value_name);

 private:
  friend class RegistryTree;
  // Made only when sub-keys arrive out of listing order (files need not be sorted).
  std::unique_ptr<std::unordered_map<std::string_view, RegistryKey*>> lookup_;
  bool unsorted_ = false;
};

// A text value of REG_SZ or REG_EXPAND_SZ cut at its first NUL, as UTF-8. Other types give
// Error("Invalid data type for '<name>'") unless they hold no data at all (read as empty).
std::string RegistryValueText(const RegistryValue& value, std::string_view value_name);

// One hive (HKLM or HKCU). Keys are made while a file is parsed; Finish sorts them.
class RegistryTree {
 public:
  RegistryTree();
  RegistryTree(const RegistryTree&) = delete;
  RegistryTree& operator=(const RegistryTree&) = delete;
  RegistryKey& Root() { return *root_; }
  const RegistryKey& Root() const { return *root_; }
  // The sub-key of parent named name, made when missing.
  RegistryKey& Child(RegistryKey& parent, std::string_view name);
  // The key at path (components below the root), created with its parents when missing.
  RegistryKey& Force(const std::vector<std::string>& path);
  // Removes the key at path with everything below it; nothing when it does not exist.
  void Delete(const std::vector<std::string>& path);
  // Sorts every key's sub-keys into listing order; lookups by name need it.
  void Finish();
  const RegistryKey* Find(const std::vector<std::string>& path) const;

 private:
  std::deque<RegistryKey> keys_;  // every key ever made; deleted ones are only unlinked
  RegistryKey* root_;
  std::string scratch_;
};

// The registry as Wine or a .reg export gives it: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
struct RegistryHives {
  RegistryTree machine;
  RegistryTree user;
  void Finish() {
    machine.Finish();
    user.Finish();
  }
};

// A reader over HKEY_CLASSES_ROOT as the platform presents it: HKCU\Software\Classes merged
// over HKLM\Software\Classes. A key present in both lists the union of their sub-keys and
// reads its values from the user's key. The hives must be finished.
std::unique_ptr<IRegistryReader> MakeClassesRootReader(std::shared_ptr<const RegistryHives> hives);

// Splits a key path at backslashes; empty components are kept so callers can refuse them.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace quenlor::platform
