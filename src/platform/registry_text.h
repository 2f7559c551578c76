// Readers of the registry's text forms: a Wine prefix's hive files ("WINE REGISTRY
// Version 2": system.reg for HKEY_LOCAL_MACHINE, user.reg for HKEY_CURRENT_USER) and .reg
// exports ("REGEDIT4" in 8-bit text, "Windows Registry Editor Version 5.00" in UTF-16LE).
// Both are outside input: a malformed file throws Error("FILE:LINE: what is wrong"), and
// nothing grows beyond a small multiple of the file's size.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/registry_tree.h"

namespace quenlor::platform {

// Limits of the platform's own registry, applied to what the files may declare.
inline constexpr size_t kMaxKeyNameLength = 255;   // UTF-16 code units of one key name
inline constexpr size_t kMaxKeyDepth = 512;
inline constexpr size_t kMaxValueNameLength = 16383;

bool IsWineHive(std::string_view bytes);
bool IsRegExport(std::string_view bytes);

// Adds the keys and values of one hive file to tree. With only_under, the
// key path parts of one subtree, only the keys at or below it are read: the rest of the file
// is skipped by its section headers, unchecked, so that one lookup costs a scan of the file
// instead of a whole tree.
void ParseWineHive(std::string_view bytes, const std::string& file_name, RegistryTreeBuilder& tree,
                   std::span<const std::string> only_under = {});

// Adds the keys and values of a .reg export to hives. HKEY_CLASSES_ROOT goes
// to HKLM\Software\Classes, as the platform's import puts new keys there; HKEY_USERS and
// HKEY_CURRENT_CONFIG are read and left out. "[-KEY]" and "NAME"=- delete.
void ParseRegExport(std::string_view bytes, const std::string& file_name, RegistryHivesBuilder& hives);

}  // namespace quenlor::platform
