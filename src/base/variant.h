// A value in the shape of an OLE Automation VARIANT, without the platform: constants of
// type libraries, default parameter values and the XML layer's typed values use it.
#pragma once

#include <cstdint>
#include <string>

namespace quenlor {

// VARTYPE codes (the platform's VT_ constants) that the program names.
enum VarTypeCode : std::uint16_t {
  VT_EMPTY_ = 0, VT_NULL_ = 1, VT_I2_ = 2, VT_I4_ = 3, VT_R4_ = 4, VT_R8_ = 5, VT_CY_ = 6,
  VT_DATE_ = 7, VT_BSTR_ = 8, VT_DISPATCH_ = 9, VT_ERROR_ = 10, VT_BOOL_ = 11,
  VT_VARIANT_ = 12, VT_UNKNOWN_ = 13, VT_DECIMAL_ = 14, VT_I1_ = 16, VT_UI1_ = 17,
  VT_UI2_ = 18, VT_UI4_ = 19, VT_I8_ = 20, VT_UI8_ = 21, VT_INT_ = 22, VT_UINT_ = 23,
  VT_VOID_ = 24, VT_HRESULT_ = 25, VT_PTR_ = 26, VT_SAFEARRAY_ = 27, VT_CARRAY_ = 28,
  VT_USERDEFINED_ = 29, VT_LPSTR_ = 30, VT_LPWSTR_ = 31, VT_RECORD_ = 36,
  VT_FILETIME_ = 64, VT_BLOB_ = 65, VT_CLSID_ = 72,
  VT_VECTOR_ = 0x1000, VT_ARRAY_ = 0x2000, VT_BYREF_ = 0x4000, VT_RESERVED_ = 0x8000,
  VT_ILLEGAL_ = 0xFFFF,
};

struct Decimal {
  std::uint8_t scale = 0;
  std::uint8_t sign = 0;  // 0x80 when negative
  std::uint32_t hi32 = 0;
  std::uint64_t lo64 = 0;
  bool operator==(const Decimal&) const = default;
};

// One value and its VARTYPE. Which member holds the value depends on vt:
//   integers (I1..UI8, INT, UINT, ERROR, HRESULT), BOOL (0 or -1), CY (scaled by 10000): integer
//   R4, R8, DATE (days since 1899-12-30): real
//   BSTR, LPSTR, LPWSTR: text (UTF-8)
//   DECIMAL: decimal
struct Variant {
  std::uint16_t vt = VT_EMPTY_;
  std::int64_t integer = 0;
  double real = 0;
  std::string text;
  Decimal decimal;

  static Variant Empty() { return {}; }
  static Variant Null() { Variant v; v.vt = VT_NULL_; return v; }
  static Variant Int(std::int64_t value, std::uint16_t vt = VT_I4_) { Variant v; v.vt = vt; v.integer = value; return v; }
  static Variant Real(double value, std::uint16_t vt = VT_R8_) { Variant v; v.vt = vt; v.real = value; return v; }
  static Variant Bool(bool value) { Variant v; v.vt = VT_BOOL_; v.integer = value ? -1 : 0; return v; }
  static Variant String(std::string value) { Variant v; v.vt = VT_BSTR_; v.text = std::move(value); return v; }
  static Variant Currency(std::int64_t scaled) { Variant v; v.vt = VT_CY_; v.integer = scaled; return v; }
  static Variant Date(double days) { Variant v; v.vt = VT_DATE_; v.real = days; return v; }

  bool operator==(const Variant&) const = default;
};

// The variant as a signed 32-bit integer, the way the type library writers need it:
// integers truncated to 32 bits, floating-point, currency and DECIMAL values rounded to the
// nearest integer (halves to even, as the platform's conversion does; 0 when the result
// does not fit), Empty as 0, text parsed as decimal (0 when it is not a number).
std::int32_t VariantToInt32(const Variant& value);

}  // namespace quenlor
