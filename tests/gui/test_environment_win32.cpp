#include <objbase.h>
#include <windows.h>

#include <string>

#include "base/text.h"

// The platform's expansion reads the process environment block, not the C library's copy.
int quenlor_test_setenv(const char* name, const char* value) {
  const std::u16string n = quenlor::Utf8ToUtf16(name);
  const std::u16string v = quenlor::Utf8ToUtf16(value);
  return SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(n.c_str()), reinterpret_cast<const wchar_t*>(v.c_str()))
             ? 0
             : -1;
}

// The build reaches the XML layer's DOM through COM, as the window's thread does.
namespace {
const struct ComForTests {
  ComForTests() { CoInitialize(nullptr); }
} com_for_tests;
}  // namespace
