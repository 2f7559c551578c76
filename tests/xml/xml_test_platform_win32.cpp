#include <windows.h>

#include "xml_test_platform.h"

namespace quenlor::xml::test {

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool UsesMsxml() { return true; }

}  // namespace quenlor::xml::test
