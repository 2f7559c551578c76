// Text at the Win32 API: UTF-16 in wchar_t there, UTF-8 everywhere inside.
#pragma once

#include <string>
#include <string_view>

#include "base/text.h"

namespace quenlor {

inline std::wstring Wide(std::string_view text) {
  const std::u16string w = Utf8ToUtf16(text);
  return std::wstring(w.begin(), w.end());
}

inline std::string Narrow(std::wstring_view text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

}  // namespace quenlor
