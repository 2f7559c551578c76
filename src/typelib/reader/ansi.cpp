#include "typelib/reader/ansi.h"

#include <cstdint>

#include "base/text.h"

namespace quenlor::typelib::reader {

namespace {

// Windows-1252's 0x80..0x9F; the five unassigned codes map to themselves, as the platform's
// conversion does.
constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};


}  // namespace

std::string AnsiToUtf8(std::string_view text) {
  // Names and help strings are nearly always ASCII, which is the same in both encodings.
  std::size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) return std::string(text);
  std::string out(text.substr(0, ascii));
  out.reserve(text.size() + 8);
  for (unsigned char c : text.substr(ascii)) {
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0xA0) AppendUtf8(out, kHigh[c - 0x80]);
    else AppendUtf8(out, c);
  }
  return out;
}

}  // namespace quenlor::typelib::reader
