// The registry port: the read-only view of HKEY_CLASSES_ROOT that the catalogue walk and the
// type library reader use. Windows: the Win32 registry. Linux: a Wine prefix's hive files
// (HKCU\Software\Classes over HKLM\Software\Classes) or a .reg export.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quenlor::platform {

// One reader serves a whole walk. It has one key open at a time; OpenKey moves it and a
// failed OpenKey leaves it on the key it had. Names compare without regard to ASCII case.
class IRegistryReader {
 public:
  virtual ~IRegistryReader() = default;
  // "\A\B" opens from the root key; "A\B" opens relative to the open key. Never creates.
  virtual bool OpenKey(std::string_view path) = 0;
  // Sub-key names of the open key, in the order the registry lists them.
  virtual std::vector<std::string> GetKeyNames() = 0;
  // The default (unnamed) value of the open key: REG_SZ or REG_EXPAND_SZ text cut at its
  // first NUL; empty when missing. Any other type throws Error("Invalid data type for ''").
  virtual std::string ReadDefaultString() = 0;
};

// Where the Linux adapter reads its registry from: a Wine prefix folder, or a .reg file.
// Empty means the platform's own registry: $WINEPREFIX or ~/.wine on Linux, the real
// registry on Windows (which supports no other source).
struct RegistrySource {
  std::string path;
};

// Whether OpenClassesRoot honours RegistrySource::path. The Windows build reads the machine's
// own registry only, so a command line offering a source rejects it there.
bool RegistrySourceSupported();

// Why the platform's own registry cannot be read, in words for a user; empty when it can. On
// Linux: the Wine prefix it lives in does not exist.
std::string DefaultRegistryProblem();

// A reader at HKEY_CLASSES_ROOT, with no key open yet: until the first successful OpenKey it
// lists no sub-keys and reads no value, and a relative OpenKey starts from the root. Throws Error naming the file and line when a hive
// or .reg file cannot be parsed.
std::unique_ptr<IRegistryReader> OpenClassesRoot(const RegistrySource& source = {});

// A reader for lookups at or below one key of HKEY_CLASSES_ROOT ("TypeLib\{...}", say);
// keys elsewhere may be missing from it. Where the registry is read from files, only that
// part of them is parsed, so that one lookup does not pay for a whole registry.
std::unique_ptr<IRegistryReader> OpenClassesRootPart(std::string_view key_path, const RegistrySource& source = {});

}  // namespace quenlor::platform
