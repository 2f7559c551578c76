// The Windows registry adapter: HKEY_CLASSES_ROOT of the machine, opened for reading only.
#include <windows.h>

#include <vector>

#include "base/error.h"
#include "base/win32/wide_text.h"
#include "platform/registry.h"

namespace quenlor::platform {

namespace {

class Win32Reader final : public IRegistryReader {
 public:
  ~Win32Reader() override {
    if (current_) RegCloseKey(current_);
  }

  bool OpenKey(std::string_view path) override {
    const bool absolute = !path.empty() && path.front() == '\\';
    if (absolute) path.remove_prefix(1);
    HKEY base = (absolute || !current_) ? HKEY_CLASSES_ROOT : current_;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(base, Wide(path).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    if (current_) RegCloseKey(current_);
    current_ = opened;
    return true;
  }

  std::vector<std::string> GetKeyNames() override {
    std::vector<std::string> names;
    if (!current_) return names;
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyW(current_, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
      return names;
    }
    names.reserve(count);
    std::vector<wchar_t> buffer(static_cast<size_t>(longest) + 1 > 256 ? static_cast<size_t>(longest) + 1 : 256);
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LSTATUS status =
          RegEnumKeyExW(current_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_MORE_DATA) {
        buffer.resize(buffer.size() * 2);
        --index;
        continue;
      }
      if (status != ERROR_SUCCESS) break;
      names.push_back(Narrow(std::wstring_view(buffer.data(), length)));
    }
    return names;
  }

  std::string ReadDefaultString() override {
    if (!current_) return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(current_, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
    std::vector<BYTE> data;
    LSTATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
      data.resize(static_cast<size_t>(size) + sizeof(wchar_t));
      status = RegQueryValueExW(current_, nullptr, nullptr, &type, data.data(), &size);
    }
    if (status != ERROR_SUCCESS || size == 0) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw Error("Invalid data type for ''");
    const auto* text = reinterpret_cast<const wchar_t*>(data.data());
    size_t length = 0;
    while (length < size / sizeof(wchar_t) && text[length] != 0) ++length;
    return Narrow(std::wstring_view(text, length));
  }

 private:
  HKEY current_ = nullptr;  // owned; none until the first successful open
};

}  // namespace

std::string DefaultRegistryProblem() { return {}; }

bool RegistrySourceSupported() { return false; }

std::unique_ptr<IRegistryReader> OpenClassesRoot(const RegistrySource&) { return std::make_unique<Win32Reader>(); }

std::unique_ptr<IRegistryReader> OpenClassesRootPart(std::string_view, const RegistrySource& source) {
  return OpenClassesRoot(source);  // the platform's registry opens keys as they are asked for
}

}  // namespace quenlor::platform
