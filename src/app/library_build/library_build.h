// One library build: a catalogue entry's file path in, the description's XML text and the
// import unit out. The window runs it when its build timer fires; it holds no state of its
// own, so it is also what tests and timings drive without a window.
#pragma once

#include <string>
#include <string_view>

#include "typelib/access.h"

namespace quenlor::app {

// What both text boxes show when the file does not load as a type library.
inline constexpr const char* kInvalidTypeLib = "invalid typelib";

// Where a build puts its results: the window's two text boxes, or a recorder in tests.
class IBuildView {
 public:
  virtual ~IBuildView() = default;
  // The "XML" tab: FormatXml of the description, CR LF line ends.
  virtual void ShowDescription(const std::string& text) = 0;
  // The "Source" tab: the import unit, CR LF line ends.
  virtual void ShowUnit(const std::string& text) = 0;
};

// Cleans `path` (quotes removed, environment references expanded), loads the library and
// fills the view: the description first, then the unit built from it, so that a failing
// unit leaves the new description shown and the previous unit in place. Errors of the
// description or the generator pass through to the caller.
void Build(std::string_view path, IBuildView& view, typelib::ReaderKind reader);

}  // namespace quenlor::app
