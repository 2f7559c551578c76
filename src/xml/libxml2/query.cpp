// XPath over the tree. Two shapes are answered without libxml2's XPath, which builds and
// sorts a node set per call: a plain name (the layer's child steps, one per value read or
// written) and "//name" or "//name[@attribute="value"]" over a whole description (the
// generator's lookups), from an index of the document's elements by name.
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>

#include "xml/libxml2/adapter.h"

namespace quenlor::dom::lx {

// A description is built element by element, and the generator asks for names while it
// adds to the tree: a new element without element children joins its name's entry (put in
// document order again only when that name is asked for), so that such a document is not
// walked whole for every query. A linked subtree makes the index stale.
void ElementIndex::ElementLinked(xmlNode* doc, xmlNode* element) {
  if (!current_) return;
  for (xmlNode* c = element->children; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) {
      current_ = false;
      return;
    }
  }
  if (element->ns || Top(element) != doc) return;
  Entry& entry = by_name_[reinterpret_cast<const char*>(element->name)];
  if (!entry.nodes.empty()) entry.in_document_order = false;
  entry.nodes.push_back(element);
}

const std::vector<xmlNode*>* ElementIndex::Named(xmlNode* doc, std::string_view name) {
  if (!current_) Rebuild(doc);
  auto found = by_name_.find(name);
  if (found == by_name_.end()) return nullptr;
  Entry& entry = found->second;
  if (!entry.in_document_order) {
    // Each comparison of two positions walks among ancestors and siblings: beyond a few
    // thousand elements one walk of the whole tree costs less than sorting them.
    constexpr std::size_t kMostSorted = 4096;
    if (entry.nodes.size() > kMostSorted) {
      Rebuild(doc);
      return Named(doc, name);
    }
    std::sort(entry.nodes.begin(), entry.nodes.end(),
              [](xmlNode* a, xmlNode* b) { return a != b && xmlXPathCmpNodes(a, b) == 1; });
    entry.in_document_order = true;
  }
  return &entry.nodes;
}

void ElementIndex::Rebuild(xmlNode* doc) {
  by_name_.clear();
  for (xmlNode* n = doc->children; n;) {
    if (n->type == XML_ELEMENT_NODE && !n->ns) by_name_[reinterpret_cast<const char*>(n->name)].nodes.push_back(n);
    if (n->children && n->type == XML_ELEMENT_NODE) {
      n = n->children;
      continue;
    }
    n = NextAfterSubtree(n, doc);
  }
  current_ = true;
}

xmlNode* FirstChildElementNamed(xmlNode* parent, std::string_view name) {
  if (parent->type != XML_ELEMENT_NODE && parent->type != XML_DOCUMENT_NODE) return nullptr;
  for (xmlNode* c = parent->children; c; c = c->next) {
    // An unprefixed name test selects only elements in no namespace.
    if (c->type == XML_ELEMENT_NODE && !c->ns && name == reinterpret_cast<const char*>(c->name)) return c;
  }
  return nullptr;
}

namespace {

std::vector<xmlNode*> ChildElementsNamed(xmlNode* parent, std::string_view name) {
  std::vector<xmlNode*> nodes;
  for (xmlNode* c = FirstChildElementNamed(parent, name); c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && !c->ns && name == reinterpret_cast<const char*>(c->name)) nodes.push_back(c);
  }
  return nodes;
}

// "//name" or "//name[@attribute="value"]": plain names, a value without quotes.
struct DescendantQuery {
  std::string_view name, attribute, value;
  bool with_attribute = false;
};

bool ParseDescendantQuery(std::string_view xpath, DescendantQuery& query) {
  if (!xpath.starts_with("//")) return false;
  xpath.remove_prefix(2);
  const size_t bracket = xpath.find('[');
  query.name = xpath.substr(0, bracket);
  if (!IsPlainAsciiName(query.name)) return false;
  if (bracket == std::string_view::npos) return true;
  std::string_view predicate = xpath.substr(bracket);
  if (!predicate.starts_with("[@") || !predicate.ends_with("\"]")) return false;
  predicate = predicate.substr(2, predicate.size() - 4);
  const size_t equals = predicate.find("=\"");
  if (equals == std::string_view::npos) return false;
  query.attribute = predicate.substr(0, equals);
  query.value = predicate.substr(equals + 2);
  if (!IsPlainAsciiName(query.attribute) || query.value.find_first_of("\"'") != std::string_view::npos) return false;
  query.with_attribute = true;
  return true;
}

// The string value of an unprefixed attribute as XPath compares it, or false when absent.
bool AttributeValue(xmlNode* element, std::string_view name, std::string& value) {
  for (xmlAttr* a = element->properties; a; a = a->next) {
    if (!a->ns && name == reinterpret_cast<const char*>(a->name)) {
      AssignTextOf(reinterpret_cast<xmlNode*>(a), value);
      return true;
    }
  }
  return false;
}

std::vector<xmlNode*> DescendantElements(Holder& h, const DescendantQuery& query, bool first_only) {
  std::vector<xmlNode*> nodes;
  const std::vector<xmlNode*>* named = h.elements.Named(h.DocNode(), query.name);
  if (!named) return nodes;
  std::string value;
  for (xmlNode* n : *named) {
    if (!query.with_attribute || (AttributeValue(n, query.attribute, value) && value == query.value)) {
      nodes.push_back(n);
      if (first_only) break;
    }
  }
  return nodes;
}

void FreeCompiled(xmlXPathCompExpr* p) { xmlXPathFreeCompExpr(p); }
void FreeContext(xmlXPathContext* p) { xmlXPathFreeContext(p); }
void FreeObject(xmlXPathObject* p) { xmlXPathFreeObject(p); }

std::vector<xmlNode*> Evaluate(Holder& h, xmlNode* context_node, std::string_view xpath) {
  const std::string expression(xpath);
  if (expression.find('\0') != std::string::npos) Failed();
  std::unique_ptr<xmlXPathCompExpr, Deleter<xmlXPathCompExpr, FreeCompiled>> compiled(xmlXPathCompile(X(expression)));
  if (!compiled) Failed();
  std::unique_ptr<xmlXPathContext, Deleter<xmlXPathContext, FreeContext>> context(xmlXPathNewContext(h.doc));
  if (!context) Failed();
  context->node = context_node;
  context->error = SilentStructured;
  std::unique_ptr<xmlXPathObject, Deleter<xmlXPathObject, FreeObject>> result(
      xmlXPathCompiledEval(compiled.get(), context.get()));
  if (!result || result->type != XPATH_NODESET) Failed();
  std::vector<xmlNode*> nodes;
  if (xmlNodeSet* set = result->nodesetval) {
    xmlXPathNodeSetSort(set);
    nodes.reserve(static_cast<size_t>(set->nodeNr));
    for (int i = 0; i < set->nodeNr; ++i) {
      xmlNode* n = set->nodeTab[i];
      // Namespace nodes are copies owned by the result; they have no place in the tree.
      if (n && n->type != XML_NAMESPACE_DECL) nodes.push_back(n);
    }
  }
  return nodes;
}

}  // namespace

std::vector<xmlNode*> Select(Holder& h, xmlNode* context, std::string_view xpath, bool first_only) {
  InitLibraries();
  if (IsPlainAsciiName(xpath)) {
    if (!first_only) return ChildElementsNamed(context, xpath);
    xmlNode* first = FirstChildElementNamed(context, xpath);
    return first ? std::vector<xmlNode*>{first} : std::vector<xmlNode*>{};
  }
  if (DescendantQuery query; ParseDescendantQuery(xpath, query)) return DescendantElements(h, query, first_only);
  return Evaluate(h, context, xpath);
}

}  // namespace quenlor::dom::lx
