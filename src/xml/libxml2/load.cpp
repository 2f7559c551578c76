// Parsing text into the document: what libxml2 reads, cleaned to what MSXML would hold.
#include <libxml/parser.h>

#include <climits>
#include <unordered_set>

#include "xml/libxml2/adapter.h"

namespace quenlor::dom::lx {

namespace {

constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                              XML_PARSE_NODICT;

void FreeParser(xmlParserCtxt* p) { xmlFreeParserCtxt(p); }

bool IsWhiteSpace(const xmlChar* s) {
  if (!s) return true;
  for (; *s; ++s) {
    if (!IsXmlBlank(static_cast<char>(*s))) return false;
  }
  return true;
}

// A reference to an entity that was not declared (allowed when the document names an
// external subset, which is never read) has no content to stand for: such text does not
// parse here, as with a DOM that resolves nothing outside the document.
bool HasEntityReferences(xmlDocPtr parsed) {
  bool found = false;
  for (xmlNode* c = parsed->children; c && !found; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) {
      Walk(c, [&](xmlNode* n) { found = found || n->type == XML_ENTITY_REF_NODE; });
    }
  }
  return found;
}

DocOwner ParseText(const char* data, size_t size, const char* encoding) {
  if (size == 0 || size > static_cast<size_t>(INT_MAX)) return nullptr;
  std::unique_ptr<xmlParserCtxt, Deleter<xmlParserCtxt, FreeParser>> context(xmlNewParserCtxt());
  if (!context) Failed();
  DocOwner parsed(xmlCtxtReadMemory(context.get(), data, static_cast<int>(size), nullptr, encoding, kParseOptions));
  // Prefixes that are not declared make the text ill-formed for a namespace-aware DOM.
  if (parsed && (!context->wellFormed || !context->nsWellFormed)) return nullptr;
  if (parsed && (!xmlDocGetRootElement(parsed.get()) || HasEntityReferences(parsed.get()))) return nullptr;
  return parsed;
}

// The data of the XML declaration as written (empty when there is none), or as libxml2
// understood it when the text is not in an ASCII-compatible encoding.
std::string Declaration(std::string_view text, xmlDocPtr parsed) {
  if (parsed->standalone == -1) return std::string();
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (text.starts_with("<?xml") && text.size() > 5 && IsXmlBlank(text[5])) {
    const size_t end = text.find("?>");
    if (end != std::string_view::npos) {
      std::string_view data = text.substr(6, end - 6);
      while (!data.empty() && IsXmlBlank(data.front())) data.remove_prefix(1);
      while (!data.empty() && IsXmlBlank(data.back())) data.remove_suffix(1);
      return CleanText(data);
    }
  }
  std::string data = "version=\"" + (parsed->version ? S(parsed->version) : std::string("1.0")) + "\"";
  if (parsed->encoding) data += " encoding=\"" + S(parsed->encoding) + "\"";
  if (parsed->standalone == 1) data += " standalone=\"yes\"";
  if (parsed->standalone == 0) data += " standalone=\"no\"";
  return data;
}

// Drops the white-space text between tags. An element that held such text and holds no
// other text (no mixed content) is marked to be written one child per line.
void DropWhiteSpace(xmlNode* root) {
  std::vector<xmlNode*> blanks;
  Walk(root, [&](xmlNode* n) {
    if (n->type == XML_TEXT_NODE && n->parent && n->parent->type == XML_ELEMENT_NODE && IsWhiteSpace(n->content)) {
      blanks.push_back(n);
    }
  });
  std::vector<xmlNode*> parents;
  std::unordered_set<xmlNode*> seen;
  for (xmlNode* n : blanks) {
    xmlNode* parent = n->parent;
    if (seen.insert(parent).second) parents.push_back(parent);
    xmlUnlinkNode(n);
    xmlFreeNode(n);
  }
  for (xmlNode* parent : parents) {
    bool mixed = false;
    for (xmlNode* c = parent->children; c && !mixed; c = c->next) {
      mixed = c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE;
    }
    if (!mixed) MarkPretty(parent, true);
  }
}

// Moves the parsed document's top-level nodes into ours, after its declaration.
void TakeContent(Holder& h, xmlDocPtr parsed, const std::string& declaration) {
  xmlNode* doc = h.DocNode();
  if (!declaration.empty()) {
    // The XML declaration is a node of the document, as MSXML keeps it.
    if (xmlNode* pi = xmlNewDocPI(h.doc, reinterpret_cast<const xmlChar*>("xml"), X(declaration))) {
      h.LinkBefore(doc, pi, nullptr);
    }
  }
  for (xmlNode* c = parsed->children; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) DropWhiteSpace(c);
  }
  while (xmlNode* c = parsed->children) {
    xmlUnlinkNode(c);
    if (!MayBeChild(c) || c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
      xmlFreeNode(c);
      continue;
    }
    xmlSetTreeDoc(c, h.doc);
    h.LinkBefore(doc, c, nullptr);
  }
  // Namespaces the parser kept with the document (the xml: prefix) now serve our tree.
  if (parsed->oldNs) {
    xmlNs** tail = &h.doc->oldNs;
    while (*tail) tail = &(*tail)->next;
    *tail = parsed->oldNs;
    parsed->oldNs = nullptr;
  }
}

}  // namespace

bool ParseInto(Holder& h, const char* data, std::size_t size, const char* encoding) {
  InitLibraries();
  DocOwner parsed = ParseText(data, size, encoding);
  const std::string declaration = parsed ? Declaration(std::string_view(data, size), parsed.get()) : std::string();
  h.ClearChildren(h.DocNode());
  if (!parsed) return false;
  TakeContent(h, parsed.get(), declaration);
  return true;
}

}  // namespace quenlor::dom::lx
