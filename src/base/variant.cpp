#include "base/variant.h"

#include <charconv>
#include <cmath>

namespace quenlor {

std::int32_t VariantToInt32(const Variant& value) {
  switch (value.vt) {
    case VT_R4_:
    case VT_R8_:
    case VT_DATE_: {
      const double r = std::nearbyint(value.real);
      if (!(r >= -2147483648.0 && r <= 2147483647.0)) return 0;
      return static_cast<std::int32_t>(r);
    }
    case VT_CY_: {
      const double r = std::nearbyint(static_cast<double>(value.integer) / 10000.0);
      if (!(r >= -2147483648.0 && r <= 2147483647.0)) return 0;
      return static_cast<std::int32_t>(r);
    }
    case VT_BSTR_:
    case VT_LPSTR_:
    case VT_LPWSTR_: {
      std::int32_t out = 0;
      std::from_chars(value.text.data(), value.text.data() + value.text.size(), out);
      return out;
    }
    case VT_EMPTY_:
    case VT_NULL_:
      return 0;
    default:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(value.integer));
  }
}

}  // namespace quenlor
