// Dates, times, Booleans and currency through the OLE Automation conversions for the user's
// default locale.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "base/text.h"
#include "xml/xml_values.h"

namespace quenlor::xml::values {

namespace {

std::string Take(BSTR b) {
  std::string text;
  if (b) text = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(b), SysStringLen(b)));
  SysFreeString(b);
  return text;
}

std::string DateText(DateTime value, ULONG flags) {
  BSTR b = nullptr;
  if (FAILED(VarBstrFromDate(value, LOCALE_USER_DEFAULT, flags, &b))) return std::string();
  return Take(b);
}

bool DateFromText(std::string_view text, ULONG flags, DateTime& value) {
  const std::u16string wide = Utf8ToUtf16(TrimBlanks(text));
  if (wide.empty()) return false;
  BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
  DATE date = 0;
  const HRESULT hr = VarDateFromStr(b, LOCALE_USER_DEFAULT, flags, &date);
  SysFreeString(b);
  if (FAILED(hr)) return false;
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
  BSTR b = nullptr;
  if (FAILED(VarBstrFromBool(value ? VARIANT_TRUE : VARIANT_FALSE, LOCALE_USER_DEFAULT, 0, &b))) {
    return value ? "True" : "False";
  }
  return Take(b);
}

std::string CurrencyVariantText(std::int64_t scaled) {
  CY cy;
  cy.int64 = scaled;
  BSTR b = nullptr;
  if (FAILED(VarBstrFromCy(cy, LOCALE_USER_DEFAULT, 0, &b))) return std::string();
  return Take(b);
}

std::string DateVariantText(DateTime value) { return DateText(value, 0); }

}  // namespace quenlor::xml::values
