// The DOM adapter's quick answers against its plain routes. The input is a script that
// builds, changes and queries two documents the same way: one through the adapter's own
// attribute and text calls, the other through the attribute map, SelectSingleNode and Text.
// Both must end as the same text; every query answered from the element index or by a walk
// of the children ("//name", "//name[@a="v"]", a plain name) must select what libxml2's XPath
// selects for the same path spelt so that only XPath can answer it; and every element must
// carry the name it was made with, however the names cache hashed it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "xml/dom.h"

namespace {

using quenlor::dom::NodeListPtr;
using quenlor::dom::NodePtr;

[[noreturn]] void Mismatch(const char* what, std::string_view a, std::string_view b) {
  std::fprintf(stderr, "%s differ\nquick: %.*s\nplain: %.*s\n", what, static_cast<int>(a.size()), a.data(),
               static_cast<int>(b.size()), b.data());
  __builtin_trap();
}

class Script {
 public:
  Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return at_ < size_; }
  unsigned Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string Text(std::size_t most) {
    std::string text;
    for (std::size_t n = Byte() % (most + 1); n > 0 && More(); --n) text += static_cast<char>(Byte());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

constexpr std::string_view kNames[] = {"a", "b", "item", "record", "c-d", "_e", "f.g", "method", "result", "call"};
constexpr std::string_view kValues[] = {"", "true", "v", "x y", "long value past sixteen bytes", "\xC3\xA9"};

std::string Name(Script& s) {
  const unsigned pick = s.Byte();
  if (pick < 240) return std::string(kNames[pick % std::size(kNames)]);
  return s.Text(6);  // anything: an invalid name must fail alike on both sides
}

std::string Value(Script& s) {
  const unsigned pick = s.Byte();
  if (pick < 200) return std::string(kValues[pick % std::size(kValues)]);
  return s.Text(24);
}

std::string ListText(const NodeListPtr& list) {
  std::string text;
  for (int i = 0; i < list->Length(); ++i) text += list->Item(i)->Xml() + "|";
  return text;
}

// The same path, spelt as only XPath answers it.
void SameSelection(const NodePtr& context, const std::string& quick, const std::string& plain) {
  const std::string a = ListText(context->SelectNodes(quick));
  const std::string b = ListText(context->SelectNodes(plain));
  if (a != b) Mismatch(quick.c_str(), a, b);
}

struct Twin {
  quenlor::dom::DocumentPtr doc;
  std::vector<NodePtr> elements;  // in the tree or taken out, never freed while listed
};

// Runs op on both twins; both must fail or neither.
template <class Op>
void Both(Twin& quick, Twin& plain, Op op) {
  bool failed_quick = false, failed_plain = false;
  try {
    op(quick, true);
  } catch (const quenlor::Error&) {
    failed_quick = true;
  }
  try {
    op(plain, false);
  } catch (const quenlor::Error&) {
    failed_plain = true;
  }
  if (failed_quick != failed_plain) Mismatch("failures", failed_quick ? "failed" : "ok", failed_plain ? "failed" : "ok");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Script s(data, size);
  Twin twins[2];
  for (Twin& t : twins) {
    t.doc = quenlor::dom::CreateDomDocument();
    t.elements.push_back(t.doc->AppendChild(t.doc->CreateElement("root")));
  }
  Twin& quick = twins[0];
  Twin& plain = twins[1];
  int copies = 0;
  for (int steps = 0; s.More() && steps < 200; ++steps) {
    const unsigned op = s.Byte() % 8;
    const std::size_t j = s.Byte() % quick.elements.size();
    const std::size_t k = s.Byte() % quick.elements.size();
    switch (op) {
      case 0: {  // a new element below element j
        const std::string name = Name(s);
        Both(quick, plain, [&](Twin& t, bool) {
          NodePtr e = t.doc->CreateElement(name);
          if (e->NodeName() != name) Mismatch("element name", e->NodeName(), name);
          t.elements.push_back(t.elements[j]->AppendChild(e));
        });
        break;
      }
      case 1: {  // an attribute value
        const std::string name = Name(s), value = Value(s);
        Both(quick, plain, [&](Twin& t, bool fast) {
          if (fast) {
            t.elements[j]->SetAttribute(name, value);
          } else {
            quenlor::dom::AttributeSetText(*t.elements[j], name, value);
          }
        });
        break;
      }
      case 2: {  // an element's text, which drops its children
        const std::string value = Value(s);
        Both(quick, plain, [&](Twin& t, bool) { t.elements[j]->SetText(value); });
        break;
      }
      case 3:  // element j leaves its parent, and stays listed
        Both(quick, plain, [&](Twin& t, bool) {
          if (NodePtr parent = t.elements[j]->ParentNode(); parent && j != 0) parent->RemoveChild(t.elements[j]);
        });
        break;
      case 4:  // element j moves below element k (refused below itself)
        Both(quick, plain, [&](Twin& t, bool) { t.elements[k]->AppendChild(t.elements[j]); });
        break;
      case 5: {  // reads: the adapter's against the attribute map and XPath's child step
        const std::string name = Name(s);
        std::string a, b;
        bool found_a = false, found_b = false;
        try {
          found_a = quick.elements[j]->GetAttribute(name, a);
          found_b = quenlor::dom::AttributeGetText(*quick.elements[j], name, b);
        } catch (const quenlor::Error&) {
          break;
        }
        if (found_a != found_b || a != b) Mismatch("attribute", a, b);
        try {
          found_a = quick.elements[j]->GetSelectedText(name, a);
          found_b = quenlor::dom::SelectedText(*quick.elements[j], "child::" + name, b);
        } catch (const quenlor::Error&) {
          break;
        }
        if (found_a != found_b || a != b) Mismatch("selected text", a, b);
        break;
      }
      case 6: {  // the index's queries against XPath's
        const std::string name(kNames[s.Byte() % std::size(kNames)]);
        const std::string attribute(kNames[s.Byte() % std::size(kNames)]);
        const std::string value(kValues[s.Byte() % 4]);
        SameSelection(quick.doc, "//" + name, "/descendant::" + name);
        SameSelection(quick.elements[j], "//" + name, "/descendant::" + name);
        SameSelection(quick.doc, "//" + name + "[@" + attribute + "=\"" + value + "\"]",
                      "//" + name + "[@" + attribute + "='" + value + "']");
        SameSelection(quick.elements[j], name, "child::" + name);
        break;
      }
      default: {  // a copy of element j below the root (a few: each may double the tree)
        if (++copies > 3) break;
        Both(quick, plain, [&](Twin& t, bool) { t.elements[0]->AppendChild(t.elements[j]->CloneNode(true)); });
        break;
      }
    }
  }
  const std::string a = quick.doc->Xml(), b = plain.doc->Xml();
  if (a != b) Mismatch("documents", a, b);
  return 0;
}
