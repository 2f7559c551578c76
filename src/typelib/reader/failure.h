// Why the built-in reader refused an image: the offset in the image where the failing check
// looked and a short static text naming that check. The access layer reports only the
// platform's code; the reason is for tests and for whoever debugs a file that will not load.
#pragma once

#include <cstdint>

#include "typelib/access.h"
#include "typelib/reader/bytes.h"

namespace quenlor::typelib::reader {

struct ReadFailure {
  std::uint64_t offset = 0;
  const char* reason = "";
};

// What a parse gives back: kOk, or the platform's failure code with the check that fired.
struct ReadResult {
  HResult code = kOk;
  ReadFailure failure;

  bool ok() const { return code == kOk; }
};

// Parsers throw the failure from deep inside a record; their entry point turns it into a
// ReadResult.
[[noreturn]] inline void Fail(std::uint64_t offset, const char* reason) { throw ReadFailure{offset, reason}; }

inline void Require(bool condition, std::uint64_t offset, const char* reason) {
  if (!condition) [[unlikely]] Fail(offset, reason);
}

// The offset in `image` of `position` within `part`, a view into the image; `position`
// itself when `part` lies elsewhere (an empty table, a buffer of the parser's own).
inline std::uint64_t ImageOffset(Bytes image, Bytes part, std::uint64_t position) {
  const auto base = reinterpret_cast<std::uintptr_t>(image.data());
  const auto at = reinterpret_cast<std::uintptr_t>(part.data());
  if (part.data() == nullptr || at < base || at - base > image.size()) return position;
  return static_cast<std::uint64_t>(at - base) + position;
}

inline std::uint64_t ImageOffset(Bytes image, const Cursor& c) { return ImageOffset(image, c.data(), c.position()); }

// Checks whose offset is a place in a view of the image; the offset is worked out only when
// the check fails, as these sit on every record's path.
inline void Require(bool condition, Bytes image, Bytes part, std::uint64_t position, const char* reason) {
  if (!condition) [[unlikely]] Fail(ImageOffset(image, part, position), reason);
}
inline void Require(bool condition, Bytes image, const Cursor& c, const char* reason) {
  if (!condition) [[unlikely]] Fail(ImageOffset(image, c), reason);
}

}  // namespace quenlor::typelib::reader
