// Arbitrary text into the document layer: parsing (SetXml), the display layout (FormatXml)
// and XPath queries (FindNodes). The input is "xml text" or "xml text NUL xpath".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "xml/xml_objects.h"

using namespace quenlor;

namespace {

void Query(const xml::NodePtr& node, std::string_view xpath, bool change) {
  try {
    auto found = node->FindNodes(xpath);
    const int count = found->Count();
    for (int i = 0; i < count && i < 16; ++i) {
      auto item = found->GetNode(i);
      (void)item->Name();
      (void)item->GetText();
      (void)item->GetXml();
      if (item->Attributes()) (void)item->Attributes()->Count();
    }
    // Take the first match out of the tree and keep using it.
    if (change && count > 0) {
      auto first = found->GetNode(0);
      if (auto parent = first->Parent()) {
        try {
          parent->Nodes()->Remove(first);
        } catch (const Error&) {
        }
        (void)first->GetXml();
      }
    }
  } catch (const Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view text = input.substr(0, split);
  const std::string_view xpath = split == std::string_view::npos ? input : input.substr(split + 1);

  auto document = xml::CreateDocument();
  document->SetXml(text);
  const std::string xml = document->GetXml();
  if (auto root = document->GetRoot()) {
    Query(root, xpath, true);
    // What the layer writes, it reads back.
    auto copy = xml::CreateDocument();
    copy->SetXml(xml);
    if (!copy->GetRoot()) __builtin_trap();
  }
  (void)xml::FormatXml(text);

  static auto fixed = [] {
    auto d = xml::CreateDocument();
    d->SetXml("<r a='1'><b c='x'>t</b><b/><!--c--><?p d?></r>");
    return d;
  }();
  Query(fixed->GetRoot(), xpath, false);
  return 0;
}
