// An in-memory registry: the keys and values read from a Wine prefix's hive files or from a
// .reg export, and the HKEY_CLASSES_ROOT view over them. Portable, so the parsers are
// tested and fuzzed on every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/large_memory.h"
#include "platform/registry.h"

namespace quenlor::platform {

// Registry value types (the platform's REG_ constants).
enum RegistryType : std::uint32_t {
  kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegLink = 6,
  kRegMultiSz = 7,
};

// Data as the platform stores it: strings are UTF-16LE bytes with their terminating NUL. The
// bytes belong to the tree that holds the value.
struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::string_view data;
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

struct RegistryValueEntry {
  std::string_view name;  // "" is the default value
  RegistryValue value;
  RegistryValueEntry* next = nullptr;
};

// A key's values in the order they were first set.
class RegistryValueList {
 public:
  class iterator {
   public:
    using value_type = RegistryValueEntry;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    explicit iterator(const RegistryValueEntry* entry) : entry_(entry) {}
    const RegistryValueEntry& operator*() const { return *entry_; }
    const RegistryValueEntry* operator->() const { return entry_; }
    iterator& operator++() {
      entry_ = entry_->next;
      return *this;
    }
    iterator operator++(int) {
      iterator old = *this;
      entry_ = entry_->next;
      return old;
    }
    bool operator==(const iterator&) const = default;

   private:
    const RegistryValueEntry* entry_ = nullptr;
  };
  iterator begin() const { return iterator(first_); }
  iterator end() const { return iterator(); }
  bool empty() const { return first_ == nullptr; }

 private:
  friend class RegistryTreeBuilder;
  RegistryValueEntry* first_ = nullptr;
};

// A key of a finished tree. Keys, their names and values live in their tree's memory and go
// with it; a finished tree hands them out only as const.
struct RegistryKey {
  std::string_view name;
  std::string_view folded;                       // FoldKeyName(name)
  std::span<const RegistryKey* const> children;  // in listing order
  RegistryValueList values;

  const RegistryKey* Find(std::string_view child) const;
  const RegistryKey* FindFolded(std::string_view folded_child) const;
  const RegistryValue* FindValue(std::string_view value_name) const;
};

// A text value of REG_SZ or REG_EXPAND_SZ cut at its first NUL, as UTF-8. Other types give
// Error("Invalid data type for '<name>'") unless they hold no data at all (read as empty).
std::string RegistryValueText(const RegistryValue& value, std::string_view value_name);

// The large blocks everything a tree holds is carved out of: a prefix's hive has a few hundred
// thousand keys, and one allocation each would cost more than parsing them.
class RegistryMemory {
 public:
  // A hint: about this many bytes of registry text are coming, so blocks are taken in a
  // fitting size.
  void ExpectText(std::size_t bytes);
  void* Allocate(std::size_t size, std::size_t align);
  std::string_view Copy(std::string_view text);
  template <class T>
  T* Make() {
    return new (Allocate(sizeof(T), alignof(T))) T();
  }

 private:
  std::vector<LargeMemory> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t block_size_ = std::size_t{16} << 10;
};

// One finished hive (HKLM or HKCU), read-only: sub-keys in listing order, found by name.
class RegistryTree {
 public:
  RegistryTree();  // no keys but the root
  RegistryTree(RegistryTree&&) noexcept = default;
  RegistryTree& operator=(RegistryTree&&) noexcept = default;
  const RegistryKey& Root() const { return *root_; }
  const RegistryKey* Find(const std::vector<std::string>& path) const;

 private:
  friend class RegistryTreeBuilder;
  RegistryTree(RegistryMemory memory, const RegistryKey* root) : memory_(std::move(memory)), root_(root) {}
  RegistryMemory memory_;
  const RegistryKey* root_;
};

// Makes a tree while files are parsed. Keys are made in file order, each new sub-key appended
// to its parent's list; Finish sorts them into the read-only tree.
class RegistryTreeBuilder {
 public:
  class Key;  // a key while it is built

  RegistryTreeBuilder();
  ~RegistryTreeBuilder();
  RegistryTreeBuilder(const RegistryTreeBuilder&) = delete;
  RegistryTreeBuilder& operator=(const RegistryTreeBuilder&) = delete;
  Key& Root() { return *root_; }
  void ExpectText(std::size_t bytes);
  // The sub-key of parent named name, made when missing.
  Key& Child(Key& parent, std::string_view name);
  // The key at path (components below the root), created with its parents when missing.
  Key& Force(const std::vector<std::string>& path);
  // Removes the key at path with everything below it; nothing when it does not exist.
  void Delete(const std::vector<std::string>& path);
  // Sets (or replaces) a value of key; the name and bytes are copied.
  void SetValue(Key& key, std::string_view value_name, std::uint32_t type, std::string_view data);
  void DeleteValue(Key& key, std::string_view value_name);
  // The tree of everything added so far, every key's sub-keys in listing order; the builder
  // starts again empty.
  RegistryTree Finish();

 private:
  void Reset();

  RegistryMemory memory_;
  std::vector<Key*> keys_;  // every key ever made, in the order made
  std::vector<Key*> unsorted_;
  std::vector<std::unique_ptr<std::unordered_map<std::string_view, Key*>>> lookups_;
  Key* root_ = nullptr;
  std::string scratch_;
};

// The registry as Wine or a .reg export gives it: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
struct RegistryHives {
  RegistryTree machine;
  RegistryTree user;
};

struct RegistryHivesBuilder {
  RegistryTreeBuilder machine;
  RegistryTreeBuilder user;
  RegistryHives Finish() { return {machine.Finish(), user.Finish()}; }
};

// A reader over HKEY_CLASSES_ROOT as the platform presents it: HKCU\Software\Classes merged
// over HKLM\Software\Classes. A key present in both lists the union of their sub-keys and
// reads its values from the user's key.
std::unique_ptr<IRegistryReader> MakeClassesRootReader(std::shared_ptr<const RegistryHives> hives);

// Splits a key path at backslashes; empty components are kept so callers can refuse them.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace quenlor::platform
