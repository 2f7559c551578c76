#include "xml/xml_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/text.h"

namespace quenlor::xml::values {

std::string FormatFloat(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  // buffer: [-]d.dddddddddddddde[+-]xx
  std::string text(buffer);
  const bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  const size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const char separator = DecimalSeparator();
  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) {
      out += separator;
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent < 0) {
    out += '0';
    out += separator;
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole);
      out += separator;
      out += digits.substr(whole);
    }
  }
  return out;
}

bool ParseFloat(std::string_view text, double& value) {
  std::string s(TrimBlanks(text));
  if (s.empty()) return false;
  const char separator = DecimalSeparator();
  for (char& c : s) {
    if (c == separator) {
      c = '.';
    } else if (c == '.' || !(std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == 'e' || c == 'E')) {
      return false;
    }
  }
  const char* begin = s.c_str();
  if (*begin == '+') ++begin;
  double parsed = 0;
  auto [end, error] = std::from_chars(begin, s.c_str() + s.size(), parsed, std::chars_format::general);
  if (error != std::errc() || end != s.c_str() + s.size()) return false;
  value = parsed;
  return true;
}

bool ParseInteger(std::string_view text, std::int32_t& value) {
  std::string_view s = TrimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.starts_with("$")) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  std::uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (error != std::errc() || end != s.data() + s.size()) return false;
  if (base == 16 && !negative && magnitude <= 0xFFFFFFFFull) {
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));  // $FFFFFFFF is -1
    return true;
  }
  if (negative ? magnitude > 2147483648ull : magnitude > 2147483647ull) return false;
  value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude));
  return true;
}

std::string FormatDateTime(DateTime value) {
  std::string text = FormatDate(value);
  const double time = std::fabs(value - std::trunc(value));
  if (std::llround(time * 86400.0) % 86400 != 0) text += " " + FormatTime(value);
  return text;
}

namespace {

std::string DecimalText(const Decimal& d) {
  unsigned __int128 magnitude = (static_cast<unsigned __int128>(d.hi32) << 64) | d.lo64;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  const size_t scale = d.scale > 28 ? 28 : d.scale;
  if (scale > 0) {
    if (digits.size() <= scale) digits.insert(0, scale - digits.size() + 1, '0');
    digits.insert(digits.size() - scale, 1, DecimalSeparator());
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == DecimalSeparator()) digits.pop_back();
  }
  if ((d.sign & 0x80) && digits != "0") digits.insert(0, 1, '-');
  return digits;
}

}  // namespace

std::string VariantText(const Variant& value) {
  switch (value.vt & 0x0FFF) {
    case VT_EMPTY_:
    case VT_NULL_: return std::string();
    case VT_R4_:
    case VT_R8_: return FormatFloat(value.real);
    case VT_BSTR_:
    case VT_LPSTR_:
    case VT_LPWSTR_: return value.text;
    case VT_BOOL_: return BoolVariantText(value.integer != 0);
    case VT_CY_: return CurrencyVariantText(value.integer);
    case VT_DATE_: return DateVariantText(value.real);
    case VT_DECIMAL_: return DecimalText(value.decimal);
    case VT_UI8_: return std::to_string(static_cast<std::uint64_t>(value.integer));
    case VT_UI1_: return std::to_string(static_cast<std::uint8_t>(value.integer));
    case VT_UI2_: return std::to_string(static_cast<std::uint16_t>(value.integer));
    case VT_UI4_:
    case VT_UINT_: return std::to_string(static_cast<std::uint32_t>(value.integer));
    default: return std::to_string(value.integer);
  }
}

}  // namespace quenlor::xml::values
