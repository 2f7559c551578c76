// The locator over the registry port: HKCR\TypeLib on Windows, the Wine prefix's on Linux.
#include <cstdio>
#include <map>
#include <mutex>
#include <string_view>
#include <tuple>

#include "base/error.h"
#include "base/text.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "typelib/dump.h"
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

namespace {

std::string HexText(unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%x", value);
  return buffer;
}

bool ParseHex(const std::string& text, unsigned& value) {
  if (text.empty() || text.size() > 8) return false;
  value = 0;
  for (char c : text) {
    const int d = HexDigitValue(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<unsigned>(d);
  }
  return true;
}

class RegistryLocator final : public FileSearchLocator {
 public:
  std::string FindRegistered(const Guid& libid, std::uint16_t major, std::uint16_t minor, std::uint32_t lcid,
                             std::uint32_t syskind) override {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto key = std::make_tuple(GuidText(libid), major, minor, lcid, syskind);
    if (auto it = found_.find(key); it != found_.end()) return it->second;
    std::string path;
    try {
      path = Lookup(std::get<0>(key), major, minor, lcid, syskind);
    } catch (const Error&) {
      path.clear();
    }
    found_[key] = path;
    return path;
  }

 private:
  std::string Lookup(const std::string& guid, unsigned major, unsigned minor, unsigned lcid, unsigned syskind) {
    // Each library's lookup reads that library's keys only: on Linux the registry is a
    // prefix's hive files, and parsing all of them would cost more than the library itself.
    std::unique_ptr<platform::IRegistryReader> registry;
    try {
      registry = platform::OpenClassesRootPart("TypeLib\\" + guid);
    } catch (const Error&) {
      return {};
    }
    platform::IRegistryReader* reg = registry.get();
    const std::string base = "\\TypeLib\\" + guid;
    if (!reg->OpenKey(base)) return {};
    // The exact version, else the highest minor version above it of the same major.
    std::string version;
    unsigned best_minor = 0;
    for (const auto& name : reg->GetKeyNames()) {
      const auto dot = name.find('.');
      unsigned ma = 0, mi = 0;
      if (dot == std::string::npos || !ParseHex(name.substr(0, dot), ma) || !ParseHex(name.substr(dot + 1), mi)) continue;
      if (ma != major || mi < minor) continue;
      if (version.empty() || mi > best_minor) {
        version = name;
        best_minor = mi;
      }
      if (mi == minor) {
        version = name;
        break;
      }
    }
    if (version.empty()) return {};
    const std::string at_version = base + "\\" + version;
    for (unsigned locale : {lcid, lcid & 0x3FFu, 0u}) {
      for (const char* platform : {"win64", "win32"}) {
        if (syskind != 3 && std::string_view(platform) == "win64") continue;
        if (!reg->OpenKey(at_version + "\\" + HexText(locale) + "\\" + platform)) continue;
        const std::string raw = reg->ReadDefaultString();
        if (raw.empty()) continue;
        return platform::CleanLibraryPath(raw);
      }
    }
    return {};
  }

  std::mutex mutex_;
  std::map<std::tuple<std::string, unsigned, unsigned, unsigned, unsigned>, std::string> found_;
};

}  // namespace

std::shared_ptr<TypeLibLocator> NewDefaultLocator() { return std::make_shared<RegistryLocator>(); }

std::shared_ptr<TypeLibLocator> DefaultLocator() {
  static const auto locator = NewDefaultLocator();
  return locator;
}

}  // namespace quenlor::typelib
