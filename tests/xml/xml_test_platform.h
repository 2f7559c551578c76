// What the conformance suite needs to know about the DOM it runs against.
#pragma once

#include <string>

namespace quenlor::xml::test {

// True when the DOM is MSXML running under Wine rather than on Windows: where the two differ
// in a way a test depends on, the test checks the Windows behaviour only on Windows.
bool UnderWine();
// True in the Windows build (MSXML), false with libxml2.
bool UsesMsxml();
// A fresh, empty folder for files of one test.
std::string TempFolder(const std::string& name);

}  // namespace quenlor::xml::test
