// What the conformance suite needs to know about the DOM it runs against.
#pragma once

#include <string>

namespace quenlor::xml::test {

// True when the DOM is MSXML running under Wine rather than on Windows: where the two differ
// in a way a test depends on, the test checks the Windows behaviour only on Windows.
bool UnderWine();
// True in the Windows build (MSXML), false with libxml2.
bool UsesMsxml();
// The XML text of a document or node built through the layer, as Windows' MSXML writes it:
// Wine's MSXML lays out such text one element per line, which Windows does not; under Wine
// the line breaks and tabs between tags are taken out again.
std::string Built(const std::string& xml);
// A fresh, empty folder for files of one test.
std::string TempFolder(const std::string& name);

}  // namespace quenlor::xml::test
