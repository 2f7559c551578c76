#include "app/library_build/library_build.h"

#include "generator/import_unit.h"
#include "platform/paths.h"
#include "description/type_lib_scan.h"
#include "xml/xml_objects.h"

namespace quenlor::app {

void Build(std::string_view path, IBuildView& view, typelib::ReaderKind reader) {
  const std::string file = platform::CleanLibraryPath(path);
  const xml::DocumentPtr description = description::LoadTypeLibDescription(file, reader);
  if (!description) {
    view.ShowUnit(kInvalidTypeLib);
    view.ShowDescription(kInvalidTypeLib);
    return;
  }
  // The generator adds to the description while it reads it; the tab shows it as loaded.
  view.ShowDescription(xml::FormatXml(description->GetXml()));
  view.ShowUnit(generator::BuildImportUnit(description));
}

}  // namespace quenlor::app
