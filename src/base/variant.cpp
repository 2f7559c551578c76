#include "base/variant.h"

#include <charconv>
#include <cmath>

namespace quenlor {

namespace {

// A DECIMAL's value rounded to the nearest integer (halves to even, as the platform's
// conversions round), 0 when that lies outside the 32-bit range like the other
// conversions that can overflow. The 96-bit magnitude is divided by ten once per digit
// of the scale, in 32-bit pieces.
std::int32_t DecimalToInt32(const Decimal& d) {
  std::uint32_t limbs[3] = {d.hi32, static_cast<std::uint32_t>(d.lo64 >> 32), static_cast<std::uint32_t>(d.lo64)};
  std::uint32_t last = 0;  // the last digit divided off
  bool sticky = false;     // any nonzero digit divided off before it
  for (unsigned i = 0; i < d.scale && i < 29; ++i) {
    sticky = sticky || last != 0;
    std::uint64_t rest = 0;
    for (auto& limb : limbs) {
      const std::uint64_t part = (rest << 32) | limb;
      limb = static_cast<std::uint32_t>(part / 10);
      rest = part % 10;
    }
    last = static_cast<std::uint32_t>(rest);
  }
  if (limbs[0] != 0 || limbs[1] != 0) return 0;
  std::uint64_t magnitude = limbs[2];
  if (last > 5 || (last == 5 && (sticky || (magnitude & 1)))) ++magnitude;
  const bool negative = (d.sign & 0x80) != 0;
  if (magnitude > (negative ? 2147483648ull : 2147483647ull)) return 0;
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude)) : static_cast<std::int32_t>(magnitude);
}

}  // namespace

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
    case VT_DECIMAL_:
      return DecimalToInt32(value.decimal);
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
