// Dates and times in the English (United States) forms: M/d/yyyy and h:mm:ss AM/PM.
#include <cmath>
#include <cstdio>

#include "base/text.h"
#include "xml/xml_values.h"

namespace quenlor::xml::values {

namespace {

// Days since 1899-12-30 <-> civil dates (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 25569;  // 25569: 1970-01-01
}

void CivilFromDays(std::int64_t days, std::int64_t& y, unsigned& m, unsigned& d) {
  const std::int64_t z = days - 25569 + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

bool ValidDay(std::int64_t y, unsigned m, unsigned d) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1u : 0u);
}

struct Cursor {
  std::string_view text;
  size_t at = 0;
  void Blanks() {
    while (at < text.size() && text[at] == ' ') ++at;
  }
  bool Number(unsigned& value, size_t max_digits) {
    size_t start = at;
    value = 0;
    while (at < text.size() && at - start < max_digits && text[at] >= '0' && text[at] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[at] - '0');
      ++at;
    }
    return at > start;
  }
  bool Take(char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }
  bool Done() const { return at == text.size(); }
};

bool ReadDatePart(Cursor& c, double& days) {
  unsigned m = 0, d = 0, y = 0;
  const size_t start = c.at;
  if (!c.Number(m, 2) || !c.Take('/') || !c.Number(d, 2) || !c.Take('/') || !c.Number(y, 4)) return false;
  const size_t year_digits = c.at - start;  // not needed beyond a two-digit year test below
  (void)year_digits;
  std::int64_t year = y;
  // Two-digit years fall in the 50 years either side of 2000, as the platform's window does.
  const size_t slash = c.text.rfind('/', c.at);
  if (c.at - slash - 1 <= 2) year += year < 50 ? 2000 : 1900;
  if (!ValidDay(year, m, d)) return false;
  days = static_cast<double>(DaysFromCivil(year, m, d));
  return true;
}

bool ReadTimePart(Cursor& c, double& fraction) {
  unsigned h = 0, mi = 0, s = 0;
  if (!c.Number(h, 2) || !c.Take(':') || !c.Number(mi, 2)) return false;
  if (c.Take(':') && !c.Number(s, 2)) return false;
  c.Blanks();
  const std::string rest = AsciiUpper(c.text.substr(c.at));
  if (rest.starts_with("AM") || rest.starts_with("PM")) {
    if (h < 1 || h > 12) return false;
    if (h == 12) h = 0;
    if (rest[0] == 'P') h += 12;
    c.at += 2;
  }
  if (h > 23 || mi > 59 || s > 59) return false;
  fraction = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
  return true;
}

}  // namespace

char DecimalSeparator() { return '.'; }

std::string FormatDate(DateTime value) {
  std::int64_t y;
  unsigned m, d;
  CivilFromDays(static_cast<std::int64_t>(std::trunc(value)), y, m, d);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%u/%u/%lld", m, d, static_cast<long long>(y));
  return buffer;
}

std::string FormatTime(DateTime value) {
  const long long seconds = std::llround(std::fabs(value - std::trunc(value)) * 86400.0) % 86400;
  const long long h = seconds / 3600;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld %s", h % 12 == 0 ? 12 : h % 12, seconds / 60 % 60,
                seconds % 60, h < 12 ? "AM" : "PM");
  return buffer;
}

bool ParseDate(std::string_view text, DateTime& value) {
  Cursor c{TrimBlanks(text)};
  double days = 0;
  if (!ReadDatePart(c, days) || !c.Done()) return false;
  value = days;
  return true;
}

bool ParseTime(std::string_view text, DateTime& value) {
  Cursor c{TrimBlanks(text)};
  double fraction = 0;
  if (!ReadTimePart(c, fraction)) return false;
  c.Blanks();
  if (!c.Done()) return false;
  value = fraction;
  return true;
}

bool ParseDateTime(std::string_view text, DateTime& value) {
  Cursor c{TrimBlanks(text)};
  double days = 0, fraction = 0;
  if (ReadDatePart(c, days)) {
    c.Blanks();
    if (!c.Done() && !ReadTimePart(c, fraction)) return false;
  } else {
    c.at = 0;
    if (!ReadTimePart(c, fraction)) return false;
  }
  c.Blanks();
  if (!c.Done()) return false;
  value = days < 0 ? days - fraction : days + fraction;
  return true;
}

std::string BoolVariantText(bool value) { return value ? "True" : "False"; }

std::string CurrencyVariantText(std::int64_t scaled) {
  const bool negative = scaled < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(10000 + magnitude % 10000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += DecimalSeparator() + fraction;
  return negative ? "-" + text : text;
}

std::string DateVariantText(DateTime value) {
  const bool has_time = std::llround(std::fabs(value - std::trunc(value)) * 86400.0) % 86400 != 0;
  if (std::trunc(value) == 0 && has_time) return FormatTime(value);
  return FormatDateTime(value);
}

}  // namespace quenlor::xml::values
