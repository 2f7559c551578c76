// Dates, times, Booleans and currency through the OLE Automation conversions for the user's
// default locale.
#include <string>

#include "base/text.h"
#include "base/win32/com.h"
#include "xml/xml_values.h"

namespace quenlor::xml::values {

namespace {

std::string DateText(DateTime value, ULONG flags) {
  com::Bstr b;
  if (FAILED(VarBstrFromDate(value, LOCALE_USER_DEFAULT, flags, b.Out()))) return std::string();
  return b.Utf8();
}

bool DateFromText(std::string_view text, ULONG flags, DateTime& value) {
  const std::u16string wide = Utf8ToUtf16(TrimBlanks(text));
  if (wide.empty()) return false;
  const com::Bstr b(wide);
  DATE date = 0;
  if (FAILED(VarDateFromStr(b.get(), LOCALE_USER_DEFAULT, flags, &date))) return false;
  value = date;
  return true;
}

}  // namespace

char DecimalSeparator() {
  wchar_t buffer[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0 && buffer[0] > 32 && buffer[0] < 128) {
    return static_cast<char>(buffer[0]);
  }
  return '.';
}

std::string FormatDate(DateTime value) { return DateText(value, VAR_DATEVALUEONLY); }
std::string FormatTime(DateTime value) { return DateText(value, VAR_TIMEVALUEONLY); }

bool ParseDate(std::string_view text, DateTime& value) { return DateFromText(text, VAR_DATEVALUEONLY, value); }
bool ParseTime(std::string_view text, DateTime& value) { return DateFromText(text, VAR_TIMEVALUEONLY, value); }
bool ParseDateTime(std::string_view text, DateTime& value) { return DateFromText(text, 0, value); }

std::string BoolVariantText(bool value) {
  com::Bstr b;
  if (FAILED(VarBstrFromBool(value ? VARIANT_TRUE : VARIANT_FALSE, LOCALE_USER_DEFAULT, 0, b.Out()))) {
    return value ? "True" : "False";
  }
  return b.Utf8();
}

std::string CurrencyVariantText(std::int64_t scaled) {
  CY cy;
  cy.int64 = scaled;
  com::Bstr b;
  if (FAILED(VarBstrFromCy(cy, LOCALE_USER_DEFAULT, 0, b.Out()))) return std::string();
  return b.Utf8();
}

std::string DateVariantText(DateTime value) { return DateText(value, 0); }

}  // namespace quenlor::xml::values
