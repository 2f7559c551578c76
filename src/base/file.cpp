#include "base/file.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>
#include <thread>

#include "base/error.h"

namespace quenlor {

namespace fs = std::filesystem;

namespace {
constexpr int kRenameAttempts = 40;
}  // namespace

fs::path PathFromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string PathToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::uint64_t max_bytes) {
  std::error_code ec;
  const fs::path p = PathFromUtf8(path);
  if (!fs::is_regular_file(p, ec)) return std::nullopt;
  const auto size = fs::file_size(p, ec);
  if (ec || size > max_bytes) return std::nullopt;
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return std::nullopt;
  }
  return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const fs::path target = PathFromUtf8(path);
  // A name of its own per write: two programs saving the same file at once (two `quenlor
  // list` runs, say) must not write into, or rename away, each other's temporary file.
  fs::path temp = target;
  temp += "." + std::to_string(std::random_device{}()) + ".tmp~";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw Error("cannot write '" + path + "'");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw Error("cannot write '" + path + "'");
    }
  }
  // Windows refuses a rename onto a file that another writer is renaming over at the same
  // moment; that clears within milliseconds, so a failed rename is tried again for a while
  // before it counts.
  std::error_code ec;
  for (int attempt = 0;; ++attempt) {
    fs::rename(temp, target, ec);
    if (!ec || attempt == kRenameAttempts) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw Error("cannot write '" + path + "': " + ec.message());
  }
}

}  // namespace quenlor
