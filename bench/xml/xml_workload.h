// The benchmark's workload, shared by the Google Benchmark and the plain timing program.
#pragma once

#include <string>

#include "xml/xml_objects.h"

namespace quenlor::xml::bench {

// Entries: each a `typelib` element with two attributes and a child element `name`, so
// that 100,000 entries make 200,000 elements.
constexpr int kEntries = 100000;

inline DocumentPtr BuildDocument(int entries = kEntries) {
  auto document = CreateDocument();
  auto root = document->ForceRoot("typelibs");
  auto nodes = root->Nodes();
  for (int i = 0; i < entries; ++i) {
    auto entry = nodes->Add("typelib");
    auto attributes = entry->Attributes()->Values();
    attributes->WriteString("id", "{" + std::to_string(1000000 + i) + "}");
    attributes->WriteInteger("index", i);
    entry->Values()->WriteString("name", "Library " + std::to_string(i) + " <&>");
  }
  return document;
}

// A query by attribute over every entry, then one by a literal id, reading what they find.
inline int Query(const DocumentPtr& document) {
  auto root = document->GetRoot();
  auto every_thousandth = root->FindNodes("typelib[@index mod 1000 = 0]/name");
  int found = 0;
  for (int i = 0; i < every_thousandth->Count(); ++i) found += every_thousandth->GetNode(i)->GetText().empty() ? 0 : 1;
  auto one = root->FindNode("typelib[@id=" + XPathLiteral("{1099999}") + "]");
  if (one) found += one->Values()->ReadInteger("@index", 0, false) > 0 ? 1 : 0;
  return found;
}

}  // namespace quenlor::xml::bench
