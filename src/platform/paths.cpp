#include "base/file.h"
#include "platform/paths.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/registry_tree.h"

namespace quenlor::platform {

namespace fs = std::filesystem;

std::string RemoveQuotes(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c != '"') out.push_back(c);
  }
  return out;
}

std::string ExpandReferences(std::string_view text, const EnvironmentLookup& lookup) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      const size_t next = text.find('%', i);
      const size_t stop = next == std::string_view::npos ? text.size() : next;
      out.append(text.substr(i, stop - i));
      i = stop;
      continue;
    }
    const size_t close = text.find('%', i + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    const auto name = text.substr(i + 1, close - i - 1);
    std::optional<std::string> value;
    if (!name.empty()) value = lookup(name);
    if (value) out += *value;
    else out.append(text.substr(i, close - i + 1));
    i = close + 1;
  }
  return out;
}

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The entry of folder named like name without regard to case; an exact match wins.
std::optional<fs::path> FindEntry(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  const fs::path exact = folder / PathFromUtf8(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (SameKeyName(PathToUtf8(it->path().filename()), name)) return it->path();
  }
  return std::nullopt;
}

}  // namespace

std::string MapWindowsPath(std::string_view windows_path, const std::string& prefix) {
  std::string_view path = windows_path;
  if (path.substr(0, 4) == "\\\\?\\") path.remove_prefix(4);
  if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != ':') return std::string(windows_path);
  const char drive[3] = {static_cast<char>(path[0] | 0x20), ':', 0};
  auto root = FindEntry(PathFromUtf8(prefix) / "dosdevices", drive);
  if (!root) return std::string(windows_path);
  path.remove_prefix(2);

  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    const auto part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }

  std::error_code ec;
  fs::path current = fs::weakly_canonical(*root, ec);
  if (ec) current = *root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i + 1 == parts.size() && AllDigits(parts[i]) && fs::is_regular_file(current, ec)) {
      return PathToUtf8(current) + "\\" + parts[i];
    }
    auto found = FindEntry(current, parts[i]);
    if (!found) {
      for (size_t k = i; k < parts.size(); ++k) current /= PathFromUtf8(parts[k]);
      break;
    }
    current = *found;
  }
  return PathToUtf8(current);
}

}  // namespace quenlor::platform
