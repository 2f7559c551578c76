#include "app/catalogue/catalogue_sort.h"

#include <algorithm>
#include <numeric>

namespace quenlor::catalogue {

int CompareItems(std::string_view a, std::string_view b, int mode) {
  // Upper-casing the whole item first would not move a "|", so the fields can be taken first.
  const std::string_view ka = ItemField(a, mode);
  const std::string_view kb = ItemField(b, mode);
  const size_t common = std::min(ka.size(), kb.size());
  for (size_t i = 0; i < common; ++i) {
    auto ca = static_cast<unsigned char>(ka[i]);
    auto cb = static_cast<unsigned char>(kb[i]);
    if (ca >= 'a' && ca <= 'z') ca -= 32;
    if (cb >= 'a' && cb <= 'z') cb -= 32;
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (ka.size() == kb.size()) return 0;
  return ka.size() < kb.size() ? -1 : 1;
}

std::vector<std::size_t> SortOrder(const std::vector<std::string>& items, int mode) {
  std::vector<std::size_t> order(items.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (mode < 0) return order;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return CompareItems(items[a], items[b], mode) < 0; });
  return order;
}

void SortItems(std::vector<std::string>& items, int mode) {
  if (mode < 0) return;
  std::stable_sort(items.begin(), items.end(),
                   [mode](const std::string& a, const std::string& b) { return CompareItems(a, b, mode) < 0; });
}

}  // namespace quenlor::catalogue
