// Options of the allocator the Linux programs link (mimalloc).
//
// A description or a catalogue is tens of megabytes of small objects made within a fraction
// of a second, and on virtual machines every first touch of a 4 KiB page is a costly fault:
// more than half of `quenlor xml mshtml.tlb` and of `quenlor list` went to them. In 2 MiB
// pages (transparent huge pages, which the kernel gives to memory that asks for them) the
// same work faults a few dozen times.
//
// mimalloc takes that option only when the process starts (the C++ runtime has allocated
// its first segment before any code of ours runs), from MIMALLOC_LARGE_OS_PAGES. So a
// program started without it sets it and starts itself again, once, before main; when that
// cannot be done it simply runs on with small pages. A user's own setting is left alone.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* kOption = "MIMALLOC_LARGE_OS_PAGES";

void RestartWithLargePages() {
  if (std::getenv(kOption)) return;
  // The arguments as the kernel holds them: NUL-terminated strings, one after the other.
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string line((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (line.empty() || line.back() != '\0') return;
  std::vector<char*> argv;
  for (std::size_t at = 0; at < line.size(); at = line.find('\0', at) + 1) {
    argv.push_back(const_cast<char*>(line.c_str() + at));
  }
  argv.push_back(nullptr);
  // The program's own path rather than /proc/self/exe, which would rename the process "exe".
  std::string self(4096, '\0');
  const ssize_t size = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (size <= 0 || static_cast<std::size_t>(size) >= self.size() - 1) return;
  self.resize(static_cast<std::size_t>(size));
  if (setenv(kOption, "1", 0) != 0) return;
  execv(self.c_str(), argv.data());
  unsetenv(kOption);  // not restarted: nothing changes
}

const bool kRestarted = (RestartWithLargePages(), true);

}  // namespace
