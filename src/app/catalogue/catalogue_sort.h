// The order of the catalogue list: items "name|id|filepath" compared by one field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace quenlor::catalogue {

// Sort modes: the index of the window's sort choice. kSortNone keeps the catalogue's order.
inline constexpr int kSortNone = -1;
inline constexpr int kSortByName = 0;
inline constexpr int kSortById = 1;
inline constexpr int kSortByPath = 2;

// -1, 0 or 1: field `mode` of each item, ASCII letters upper-cased, compared byte by byte
// (a key that is a prefix of the other is the lesser).
int CompareItems(std::string_view a, std::string_view b, int mode);

// Sorts items by CompareItems under mode (nothing for a negative mode). Items with equal
// keys keep their catalogue order.
void SortItems(std::vector<std::string>& items, int mode);

// The indexes of items in the order SortItems gives them (0, 1, ... for a negative mode), for
// callers that keep each item's fields beside its text: a name may itself hold a "|".
std::vector<std::size_t> SortOrder(const std::vector<std::string>& items, int mode);

}  // namespace quenlor::catalogue
