// Text forms of the typed values of INamedValues. Dates, times and the decimal separator
// follow the user's locale where the platform has one (Windows); elsewhere they follow
// English (United States): M/d/yyyy, h:mm:ss AM/PM and ".".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/variant.h"
#include "xml/xml_objects.h"

namespace quenlor::xml::values {

// Portable.
std::string FormatFloat(double value);  // general format, up to 15 significant digits
bool ParseFloat(std::string_view text, double& value);
bool ParseInteger(std::string_view text, std::int32_t& value);
std::string FormatDateTime(DateTime value);  // the time is left out when it is midnight
std::string VariantText(const Variant& value);

// Platform.
char DecimalSeparator();
std::string FormatDate(DateTime value);
std::string FormatTime(DateTime value);
bool ParseDate(std::string_view text, DateTime& value);
bool ParseTime(std::string_view text, DateTime& value);
bool ParseDateTime(std::string_view text, DateTime& value);
// The OLE Automation conversions of a variant to text for the user's default locale.
std::string BoolVariantText(bool value);
std::string CurrencyVariantText(std::int64_t scaled);
std::string DateVariantText(DateTime value);

}  // namespace quenlor::xml::values
