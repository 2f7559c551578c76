// The reader's damage tests: one field of a real image overwritten, and the check that is
// meant to catch that field named by the failure, with the image offset where it looked.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "typelib/reader/failure.h"

namespace quenlor::typelib::reader::testing {

struct DamageCase {
  std::uint64_t at;     // where the damage is written
  std::uint32_t value;  // little-endian, as wide as the test's field
  const char* reason;
  std::uint64_t offset;
};

inline void Overwrite(std::vector<std::uint8_t>& bytes, std::uint64_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Writes each case's damage into a copy of `image` and parses it with `parse`.
template <typename Parse>
void ExpectEachCaught(const std::vector<std::uint8_t>& image, int width, const std::vector<DamageCase>& cases,
                      Parse parse) {
  for (const DamageCase& c : cases) {
    std::vector<std::uint8_t> damaged = image;
    Overwrite(damaged, c.at, c.value, width);
    const ReadResult result = parse(damaged);
    EXPECT_EQ(result.code, kTypeECantLoadLibrary) << c.reason;
    EXPECT_STREQ(result.failure.reason, c.reason) << "damage at 0x" << std::hex << c.at;
    EXPECT_EQ(result.failure.offset, c.offset) << c.reason;
  }
}

}  // namespace quenlor::typelib::reader::testing
