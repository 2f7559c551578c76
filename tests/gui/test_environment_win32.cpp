#include <objbase.h>
#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"

// The platform's expansion reads the process environment block, not the C library's copy.
int quenlor_test_setenv(const char* name, const char* value) {
  return SetEnvironmentVariableW(quenlor::Wide(name).c_str(), quenlor::Wide(value).c_str()) ? 0 : -1;
}

// The build reaches the XML layer's DOM through COM, as the window's thread does.
namespace {
const struct ComForTests {
  ComForTests() { CoInitialize(nullptr); }
} com_for_tests;
}  // namespace
