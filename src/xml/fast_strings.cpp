// Replace-all by the Horspool search. Without matching case, bytes compare through an
// upper-case table that maps the ASCII letters only: text is UTF-8, and mapping bytes above
// 127 (as an ANSI code page table would) could turn parts of one character into another.
#include <array>

#include "base/error.h"
#include "xml/xml_objects.h"

namespace quenlor::xml {

namespace {

using Table = std::array<unsigned char, 256>;

const Table& UpperCaseTable() {
  static const Table table = [] {
    Table t{};
    for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
    return t;
  }();
  return table;
}

std::array<size_t, 256> SkipTable(std::string_view pattern, const Table* fold) {
  if (pattern.empty()) Fail("BufferLen is 0");
  const size_t m = pattern.size();
  std::array<size_t, 256> skip;
  skip.fill(m);
  for (size_t i = 0; i + 1 < m; ++i) {
    unsigned char b = static_cast<unsigned char>(pattern[i]);
    if (fold) b = (*fold)[b];
    skip[b] = m - 1 - i;
  }
  return skip;
}

}  // namespace

std::string ReplaceText(std::string_view source, std::string_view pattern, std::string_view replacement,
                        bool match_case) {
  if (source.empty()) return std::string();
  if (pattern.empty()) return std::string(source);
  const Table* fold = match_case ? nullptr : &UpperCaseTable();
  const auto skip = SkipTable(pattern, fold);
  const size_t m = pattern.size();
  auto at = [&](std::string_view text, size_t i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    return fold ? (*fold)[b] : b;
  };

  std::string result;
  result.reserve(replacement.size() > m ? source.size() / m * replacement.size() + source.size() % m
                                        : source.size());
  size_t position = 0;  // start of the text not yet copied
  size_t align = 0;     // where the pattern currently starts in the source
  while (align + m <= source.size()) {
    size_t k = m;
    while (k > 0 && at(source, align + k - 1) == at(pattern, k - 1)) --k;
    if (k == 0) {
      result.append(source.substr(position, align - position));
      result.append(replacement);
      align += m;
      position = align;
    } else {
      align += skip[at(source, align + m - 1)];
    }
  }
  result.append(source.substr(position));
  return result;
}

}  // namespace quenlor::xml
