// The DOM port over libxml2 (tree and XPath 1.0) and libxslt (transformations).
//
// Lifetime: a Holder owns one libxml2 document; every handed-out object keeps the Holder
// alive and counts a reference on its libxml2 node. A node taken out of the tree is not freed
// at once: its subtree is kept as a "detached root" until no object refers to any node in it,
// and freed then (or with the document). Nodes are linked and unlinked by this file alone,
// never by libxml2 helpers that merge or free nodes behind our back.
//
// White space: text made only of blanks, tabs and line breaks between tags is dropped while
// parsing, and the element that held it is marked (in its _private field) so that the text
// form puts each of its children on a line of its own, as MSXML does.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/error.h"
#include "base/file.h"
#include "base/text.h"
#include "xml/dom.h"

namespace quenlor::dom {

namespace {

void* const kPretty = reinterpret_cast<void*>(static_cast<std::uintptr_t>(1));

constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                              XML_PARSE_NODICT;

[[noreturn]] void Failed() { Fail(kSafecallException); }

void Silent(void*, const char*, ...) {}
void SilentStructured(void*, xmlErrorPtr) {}

// External entities, DTDs and style sheet imports are never fetched: documents come from
// the program itself or from files the user names, and must not reach out to other files.
xmlParserInputPtr NoExternalEntities(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void InitLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(NoExternalEntities);
    xsltSetGenericErrorFunc(nullptr, Silent);
  });
  // libxml2 keeps its error handlers per thread.
  xmlSetGenericErrorFunc(nullptr, Silent);
  xmlSetStructuredErrorFunc(nullptr, SilentStructured);
}

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }
std::string S(const xmlChar* s) { return s ? std::string(reinterpret_cast<const char*>(s)) : std::string(); }

// Text going into the tree is well-formed UTF-8 without NUL bytes (which libxml2 strings
// cannot hold); ill-formed sequences become U+FFFD as at the COM boundary.
bool IsPlainAscii(std::string_view text) {
  // Eight bytes at a time: no byte with its high bit set, and none zero.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
  const char* p = text.data();
  std::size_t n = text.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if ((word & kHighBits) != 0 || ((word - kLowBits) & ~word & kHighBits) != 0) return false;
  }
  for (; n > 0; ++p, --n) {
    const unsigned char b = static_cast<unsigned char>(*p);
    if (b == 0 || b >= 0x80) return false;
  }
  return true;
}

std::string CleanText(std::string_view text) {
  if (IsPlainAscii(text)) return std::string(text);
  std::string s = Utf16ToUtf8(Utf8ToUtf16(text));
  s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
  return s;
}

bool IsWhiteSpace(const xmlChar* s) {
  if (!s) return true;
  for (; *s; ++s) {
    if (*s != ' ' && *s != '\t' && *s != '\r' && *s != '\n') return false;
  }
  return true;
}

// Pre-order walk of a subtree, attributes (and their text) included, without recursion so
// that deep trees cannot exhaust the stack.
// The node after n's subtree in document order, within root; null when root is done.
template <class N>
N* NextAfterSubtree(N* n, const xmlNode* root) {
  while (n != root && !n->next) n = n->parent;
  return n == root ? nullptr : n->next;
}

template <class F>
void Walk(xmlNode* root, F&& f) {
  xmlNode* n = root;
  for (;;) {
    f(n);
    if (n->type == XML_ELEMENT_NODE) {
      for (xmlAttr* a = n->properties; a; a = a->next) {
        f(reinterpret_cast<xmlNode*>(a));
        for (xmlNode* c = a->children; c; c = c->next) f(c);
      }
    }
    if (n->children && n->type != XML_ENTITY_REF_NODE) {
      n = n->children;
      continue;
    }
    n = NextAfterSubtree(n, root);
    if (!n) return;
  }
}

xmlNode* Top(xmlNode* n) {
  while (n->parent) n = n->parent;
  return n;
}

std::string QualifiedName(const xmlNode* n) {
  std::string name = S(n->name);
  if (n->ns && n->ns->prefix) name = S(n->ns->prefix) + ":" + name;
  return name;
}

// A set of node pointers in one open-addressed table: every element the program creates
// passes through the set of detached roots on its way into the tree, and a node-based set
// would allocate and free for each of them.
class NodeSet {
 public:
  bool empty() const { return size_ == 0; }

  bool contains(xmlNode* n) const {
    if (slots_.empty()) return false;
    for (std::size_t i = Home(n);; i = Next(i)) {
      if (slots_[i] == n) return true;
      if (!slots_[i]) return false;
    }
  }

  void insert(xmlNode* n) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    std::size_t i = Home(n);
    for (; slots_[i]; i = Next(i)) {
      if (slots_[i] == n) return;
    }
    slots_[i] = n;
    ++size_;
  }

  // Removal with backward shifting, so that lookups never need tombstones.
  bool erase(xmlNode* n) {
    if (slots_.empty()) return false;
    std::size_t i = Home(n);
    for (; slots_[i] != n; i = Next(i)) {
      if (!slots_[i]) return false;
    }
    std::size_t hole = i;
    for (std::size_t j = Next(hole); slots_[j]; j = Next(j)) {
      const std::size_t home = Home(slots_[j]);
      // Move j into the hole unless its home lies cyclically within (hole, j].
      const bool stays = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
      if (!stays) {
        slots_[hole] = slots_[j];
        hole = j;
      }
    }
    slots_[hole] = nullptr;
    --size_;
    return true;
  }

  template <class F>
  void ForEach(F&& f) const {
    for (xmlNode* n : slots_) {
      if (n) f(n);
    }
  }

 private:
  std::size_t Home(const xmlNode* n) const {
    std::uint64_t h = reinterpret_cast<std::uintptr_t>(n);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return static_cast<std::size_t>(h) & (slots_.size() - 1);
  }
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  void Grow() {
    std::vector<xmlNode*> old(slots_.empty() ? 16 : slots_.size() * 2, nullptr);
    old.swap(slots_);
    size_ = 0;
    for (xmlNode* n : old) {
      if (n) insert(n);
    }
  }

  std::vector<xmlNode*> slots_;  // a power of two in size, at most half full
  std::size_t size_ = 0;
};

// The count of objects referring to a node lives in the node's psvi field, which only
// schema validation (never used here) would otherwise fill; copies start from zero.
void*& RefField(xmlNode* n) { return n->type == XML_ATTRIBUTE_NODE ? reinterpret_cast<xmlAttr*>(n)->psvi : n->psvi; }
std::uintptr_t RefCount(xmlNode* n) { return reinterpret_cast<std::uintptr_t>(RefField(n)); }
void SetRefCount(xmlNode* n, std::uintptr_t count) { RefField(n) = reinterpret_cast<void*>(count); }

class LxDocument;

struct Holder {
  xmlDocPtr doc = nullptr;
  std::size_t live_refs = 0;  // references held on all nodes, to skip walks when there are none
  NodeSet detached;
  std::uint64_t generation = 0;
  // Bumped whenever an element enters or leaves a tree, which is all that can change the
  // answer of a query by element name; attribute and text changes leave it alone.
  std::uint64_t element_generation = 0;
  struct ElementIndex {
    struct Named {
      std::vector<xmlNode*> nodes;
      bool in_document_order = true;
    };
    // Current from the start: an empty document has no elements to index.
    std::uint64_t generation = 0;
    std::unordered_map<std::string_view, Named> by_name;  // names live in the nodes
    // The entries that linked elements joined, by the address of their name (a document's
    // dictionary holds one copy per name), in a few slots: a description has a few dozen
    // names. Emptied whenever the index is made again, which every unlinking forces first,
    // so no address outlives its name here.
    struct Recent {
      const xmlChar* name = nullptr;
      Named* named = nullptr;
    };
    std::array<Recent, 64> recent{};
  } element_index;
  // The document object, handed out again while it lives rather than made anew for every
  // OwnerDocument call (one per element the layer creates).
  std::weak_ptr<LxDocument> document_object;
  // Names already interned and found valid, by a cheap hash of their text: a few dozen
  // names make up nearly every element and attribute of a document.
  struct NameSlot {
    const xmlChar* name = nullptr;
    std::size_t size = 0;
  };
  std::array<NameSlot, 64> valid_names{};

  Holder() {
    InitLibraries();
    doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!doc) Fail(kComCallFailed);
    // Element and attribute names repeat endlessly in a description; the document keeps one
    // copy of each instead of one per node.
    doc->dict = xmlDictCreate();
    if (!doc->dict) {
      xmlFreeDoc(doc);
      Fail(kComCallFailed);
    }
  }
  ~Holder() {
    detached.ForEach([](xmlNode* n) { xmlFreeNode(n); });
    xmlFreeDoc(doc);
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  xmlNode* DocNode() const { return reinterpret_cast<xmlNode*>(doc); }

  void AddRef(xmlNode* n) {
    if (n == DocNode()) return;
    SetRefCount(n, RefCount(n) + 1);
    ++live_refs;
  }

  bool Referenced(xmlNode* root) const {
    if (live_refs == 0) return false;
    bool found = false;
    Walk(root, [&](xmlNode* n) { found = found || RefCount(n) != 0; });
    return found;
  }

  void FreeIfUnused(xmlNode* top) {
    if (!detached.contains(top) || Referenced(top)) return;
    detached.erase(top);
    ++generation;
    xmlFreeNode(top);
  }

  void Release(xmlNode* n) {
    if (n == DocNode()) return;
    if (const std::uintptr_t count = RefCount(n)) {
      SetRefCount(n, count - 1);
      --live_refs;
    }
    if (!detached.empty()) {
      xmlNode* top = Top(n);
      if (top != DocNode()) FreeIfUnused(top);
    }
  }

  // A node made by the document, standing in no tree yet.
  void Adopt(xmlNode* n) { detached.insert(n); }

  // Unlinks n from its parent, moving the namespaces it uses out of its former ancestors so
  // that they outlive them.
  void Unlink(xmlNode* n) {
    ++generation;
    if (n->type == XML_ELEMENT_NODE) ++element_generation;
    if (n->type == XML_ELEMENT_NODE || n->type == XML_ATTRIBUTE_NODE) {
      if (xmlDOMWrapRemoveNode(nullptr, n->doc, n, 0) == 0) return;
    }
    xmlUnlinkNode(n);
  }

  // Takes n out of wherever it stands (a tree, a detached subtree or the detached roots) so
  // that it can be linked elsewhere.
  void TakeOut(xmlNode* n) {
    if (!n->parent) {
      detached.erase(n);
      return;
    }
    xmlNode* top = Top(n);
    Unlink(n);
    if (top != DocNode()) FreeIfUnused(top);
  }

  // Takes n out of the tree for good: kept while referenced, freed otherwise.
  void Detach(xmlNode* n) {
    Unlink(n);
    if (Referenced(n)) {
      detached.insert(n);
    } else {
      xmlFreeNode(n);
    }
  }

  void LinkBefore(xmlNode* parent, xmlNode* child, xmlNode* reference) {
    ++generation;
    child->parent = parent;
    if (!reference) {
      child->next = nullptr;
      child->prev = parent->last;
      if (parent->last) {
        parent->last->next = child;
      } else {
        parent->children = child;
      }
      parent->last = child;
    } else {
      child->next = reference;
      child->prev = reference->prev;
      if (reference->prev) {
        reference->prev->next = child;
      } else {
        parent->children = child;
      }
      reference->prev = child;
    }
    if (child->type == XML_ELEMENT_NODE) NoteElementLinked(child);
  }

  // Keeps the index of elements by name true after an element was linked, so that a
  // document built element by element (a description) is never walked whole to answer the
  // first query by name. A new element without element children (what writers and the
  // generator add, one at a time) joins its name's entry, which is put in document order
  // again only when that name is asked for; a linked subtree makes the index stale.
  void NoteElementLinked(xmlNode* child) {
    const bool current = element_index.generation == element_generation;
    ++element_generation;
    if (!current) return;
    for (xmlNode* c = child->children; c; c = c->next) {
      if (c->type == XML_ELEMENT_NODE) return;
    }
    if (!child->ns && Top(child) == DocNode()) {
      ElementIndex::Recent& recent =
          element_index.recent[(reinterpret_cast<std::uintptr_t>(child->name) >> 4) % element_index.recent.size()];
      if (recent.name != child->name) {
        recent.name = child->name;
        recent.named = &element_index.by_name[reinterpret_cast<const char*>(child->name)];
      }
      ElementIndex::Named& named = *recent.named;
      if (!named.nodes.empty()) named.in_document_order = false;
      named.nodes.push_back(child);
    }
    element_index.generation = element_generation;
  }

  void ClearChildren(xmlNode* n) {
    while (n->children) Detach(n->children);
  }

  // The document's elements in no namespace, by name, in document order.
  const std::vector<xmlNode*>* ElementsNamed(std::string_view name) {
    if (element_index.generation != element_generation) Reindex();
    auto found = element_index.by_name.find(name);
    if (found == element_index.by_name.end()) return nullptr;
    ElementIndex::Named& named = found->second;
    if (!named.in_document_order) {
      // Each comparison of two positions walks among ancestors and siblings: beyond a few
      // thousand elements one walk of the whole tree costs less than sorting them.
      constexpr std::size_t kMostSorted = 4096;
      if (named.nodes.size() > kMostSorted) {
        Reindex();
        return ElementsNamed(name);
      }
      std::sort(named.nodes.begin(), named.nodes.end(),
                [](xmlNode* a, xmlNode* b) { return a != b && xmlXPathCmpNodes(a, b) == 1; });
      named.in_document_order = true;
    }
    return &named.nodes;
  }

  // Once the index is stale (an element moved or left, a subtree came in), one walk of the
  // tree makes it again.
  void Reindex() {
    element_index.recent.fill({});
    element_index.by_name.clear();
    xmlNode* root = DocNode();
    for (xmlNode* n = root->children; n;) {
      if (n->type == XML_ELEMENT_NODE && !n->ns) {
        element_index.by_name[reinterpret_cast<const char*>(n->name)].nodes.push_back(n);
      }
      if (n->children && n->type == XML_ELEMENT_NODE) {
        n = n->children;
        continue;
      }
      n = NextAfterSubtree(n, root);
    }
    element_index.generation = element_generation;
  }
};

using HolderPtr = std::shared_ptr<Holder>;

// The part of every node object that the adapter reads back from arguments.
class Handle {
 public:
  Handle(HolderPtr holder, xmlNode* node) : holder_(std::move(holder)), node_(node) { holder_->AddRef(node_); }
  virtual ~Handle() { holder_->Release(node_); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  const HolderPtr& holder() const { return holder_; }
  xmlNode* node() const { return node_; }

 private:
  HolderPtr holder_;
  xmlNode* node_;
};

// The adapter's part of a node given as an argument; other implementations are refused.
Handle& HandleOf(const NodePtr& node);

NodePtr Wrap(const HolderPtr& holder, xmlNode* node);

// ---- text form ----

// Markup characters become references. As MSXML writes them, a line feed in text is written
// as CR LF and a carriage return as a reference; in attribute values tabs and line breaks
// are references (so they survive the normalisation of attribute values); other control
// characters, which XML 1.0 cannot hold at all, are left out.
void AppendEscaped(std::string& out, const xmlChar* s, bool attribute) {
  if (!s) return;
  for (; *s; ++s) {
    // Runs of characters written as they are go out in one piece.
    const xmlChar* run = s;
    while (*s >= 0x20 && *s != '&' && *s != '<' && *s != '>' && !(attribute && *s == '"')) ++s;
    if (s != run) out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(s - run));
    if (!*s) return;
    switch (*s) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += attribute ? "&quot;" : "\""; break;
      case '\r': out += "&#13;"; break;
      case '\n': out += attribute ? "&#10;" : "\r\n"; break;
      case '\t': out += attribute ? "&#9;" : "\t"; break;
      default:
        if (*s >= 0x20) out += static_cast<char>(*s);
    }
  }
}

bool Declared(const xmlNode* n, const xmlNode* root, const xmlNs* ns) {
  if (!ns || (ns->prefix && std::strcmp(reinterpret_cast<const char*>(ns->prefix), "xml") == 0)) return true;
  for (const xmlNode* p = n; p; p = p->parent) {
    if (p->type == XML_ELEMENT_NODE) {
      for (const xmlNs* d = p->nsDef; d; d = d->next) {
        if (d == ns) return true;
      }
    }
    if (p == root) break;
  }
  return false;
}

void AppendNamespace(std::string& out, const xmlNs* ns) {
  out += " xmlns";
  if (ns->prefix) {
    out += ':';
    out += reinterpret_cast<const char*>(ns->prefix);
  }
  out += "=\"";
  AppendEscaped(out, ns->href, true);
  out += '"';
}

void AppendAttribute(std::string& out, const xmlAttr* a) {
  out += QualifiedName(reinterpret_cast<const xmlNode*>(a));
  out += "=\"";
  for (const xmlNode* c = a->children; c; c = c->next) {
    if (c->type == XML_TEXT_NODE) AppendEscaped(out, c->content, true);
  }
  out += '"';
}

// Writes the start of n; true when n is an element with children still to come.
bool AppendOpen(std::string& out, const xmlNode* n, const xmlNode* root) {
  switch (n->type) {
    case XML_ELEMENT_NODE: {
      out += '<';
      out += QualifiedName(n);
      std::vector<const xmlNs*> extra;
      for (const xmlNs* d = n->nsDef; d; d = d->next) AppendNamespace(out, d);
      if (!Declared(n, root, n->ns)) extra.push_back(n->ns);
      for (const xmlAttr* a = n->properties; a; a = a->next) {
        if (a->ns && !Declared(n, root, a->ns)) {
          bool seen = false;
          for (const xmlNs* e : extra) seen = seen || e == a->ns;
          if (!seen) extra.push_back(a->ns);
        }
      }
      for (const xmlNs* e : extra) AppendNamespace(out, e);
      for (const xmlAttr* a = n->properties; a; a = a->next) {
        out += ' ';
        AppendAttribute(out, a);
      }
      if (n->children) {
        out += '>';
        return true;
      }
      out += "/>";
      return false;
    }
    case XML_TEXT_NODE: AppendEscaped(out, n->content, false); return false;
    case XML_CDATA_SECTION_NODE:
      out += "<![CDATA[";
      if (n->content) out += reinterpret_cast<const char*>(n->content);
      out += "]]>";
      return false;
    case XML_COMMENT_NODE:
      out += "<!--";
      if (n->content) out += reinterpret_cast<const char*>(n->content);
      out += "-->";
      return false;
    case XML_PI_NODE:
      out += "<?";
      out += S(n->name);
      if (n->content && *n->content) {
        out += ' ';
        out += reinterpret_cast<const char*>(n->content);
      }
      out += "?>";
      return false;
    case XML_ENTITY_REF_NODE:
      out += '&';
      out += S(n->name);
      out += ';';
      return false;
    case XML_ATTRIBUTE_NODE: AppendAttribute(out, reinterpret_cast<const xmlAttr*>(n)); return false;
    default: return false;
  }
}

void AppendBreak(std::string& out, int level) {
  out += "\r\n";
  out.append(static_cast<size_t>(level), '\t');
}

void AppendNode(std::string& out, const xmlNode* root) {
  const xmlNode* n = root;
  int level = 0;
  for (;;) {
    if (n != root && n->parent->_private == kPretty) AppendBreak(out, level);
    if (AppendOpen(out, n, root)) {
      n = n->children;
      ++level;
      continue;
    }
    while (n != root && !n->next) {
      n = n->parent;
      --level;
      if (n->_private == kPretty) AppendBreak(out, level);
      out += "</";
      out += QualifiedName(n);
      out += '>';
    }
    if (n == root) return;
    n = n->next;
  }
}

std::string XmlOf(const xmlNode* n) {
  std::string out;
  if (n->type == XML_DOCUMENT_NODE) {
    for (const xmlNode* c = n->children; c; c = c->next) {
      if (c->type == XML_DTD_NODE) continue;
      AppendNode(out, c);
      out += "\r\n";
    }
  } else {
    AppendNode(out, n);
  }
  return out;
}

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void AssignTextOf(const xmlNode* n, std::string& out);

// The text of an element or document, without the white space at its ends, as MSXML gives
// it when white space is not preserved.
void AssignTrimmedTextOf(const xmlNode* n, std::string& text) {
  AssignTextOf(n, text);
  size_t end = text.size();
  while (end > 0 && IsXmlBlank(text[end - 1])) --end;
  size_t start = 0;
  while (start < end && IsXmlBlank(text[start])) ++start;
  text.resize(end);
  text.erase(0, start);
}

std::string TrimmedTextOf(const xmlNode* n) {
  std::string text;
  AssignTrimmedTextOf(n, text);
  return text;
}

// Sets out to the text of n, reusing out's storage.
void AssignTextOf(const xmlNode* n, std::string& out) {
  out.clear();
  switch (n->type) {
    case XML_ELEMENT_NODE:
    case XML_DOCUMENT_NODE:
    case XML_ATTRIBUTE_NODE: {
      const xmlNode* root = n;
      const xmlNode* c = n->children;
      while (c) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
          if (c->content) out += reinterpret_cast<const char*>(c->content);
        }
        if (c->children && c->type == XML_ELEMENT_NODE) {
          c = c->children;
          continue;
        }
        c = NextAfterSubtree(c, root);
      }
      return;
    }
    default:
      if (n->content) out = reinterpret_cast<const char*>(n->content);
  }
}

std::string TextOf(const xmlNode* n) {
  std::string out;
  AssignTextOf(n, out);
  return out;
}

// Copies the white-space marks of an original onto its copy, node by node.
void CopyMarks(xmlNode* original, xmlNode* copy, bool deep) {
  if (!deep) {
    copy->_private = original->_private == kPretty ? kPretty : nullptr;
    for (xmlAttr* a = copy->type == XML_ELEMENT_NODE ? copy->properties : nullptr; a; a = a->next) {
      Walk(reinterpret_cast<xmlNode*>(a), [](xmlNode* n) { SetRefCount(n, 0); });
    }
    SetRefCount(copy, 0);
    return;
  }
  std::vector<xmlNode*> a, b;
  Walk(original, [&](xmlNode* n) { a.push_back(n); });
  Walk(copy, [&](xmlNode* n) { b.push_back(n); });
  for (size_t i = 0; i < b.size(); ++i) {
    b[i]->_private = (i < a.size() && a[i]->_private == kPretty) ? kPretty : nullptr;
    SetRefCount(b[i], 0);
  }
}

// A text node of the document, made here rather than by xmlNewDocText, which clears and
// copies more than a node that is linked at once needs. A text shorter than two pointers is
// kept in the node itself, in the fields only elements use, as libxml2's own parser does
// and as its functions that free or replace content expect.
static_assert(offsetof(xmlNode, nsDef) == offsetof(xmlNode, properties) + sizeof(void*),
              "short text is kept in the two pointer fields after properties");

xmlNode* NewText(xmlDocPtr doc, std::string_view value) {
  auto* t = static_cast<xmlNode*>(xmlMalloc(sizeof(xmlNode)));
  if (!t) Failed();
  std::memset(t, 0, sizeof(xmlNode));
  t->type = XML_TEXT_NODE;
  t->name = xmlStringText;
  t->doc = doc;
  xmlChar* content;
  if (value.size() < 2 * sizeof(void*)) {
    content = reinterpret_cast<xmlChar*>(&t->properties);
  } else {
    content = static_cast<xmlChar*>(xmlMalloc(value.size() + 1));
    if (!content) {
      xmlFree(t);
      Failed();
    }
  }
  std::memcpy(content, value.data(), value.size());
  content[value.size()] = 0;
  t->content = content;
  return t;
}

// The document's own copy of a name that is a valid qualified name.
const xmlChar* ValidName(Holder& h, std::string_view name) {
  if (name.empty() || name.size() > static_cast<size_t>(INT_MAX)) Failed();
  const std::size_t hash = name.size() * 131 + static_cast<unsigned char>(name.front()) * 7 +
                           static_cast<unsigned char>(name.back()) + static_cast<unsigned char>(name[name.size() / 2]);
  // A few slots from the hash on, so that names of one hash ("method", "result", "call")
  // do not keep evicting each other.
  constexpr std::size_t kProbes = 8;
  Holder::NameSlot* free_slot = nullptr;
  for (std::size_t k = 0; k < kProbes; ++k) {
    Holder::NameSlot& probe = h.valid_names[(hash + k) % h.valid_names.size()];
    if (!probe.name) {
      free_slot = &probe;
      break;
    }
    if (probe.size == name.size() && std::memcmp(probe.name, name.data(), name.size()) == 0) return probe.name;
  }
  Holder::NameSlot& slot = free_slot ? *free_slot : h.valid_names[hash % h.valid_names.size()];
  if (name.find('\0') != std::string_view::npos) Failed();
  const xmlChar* interned =
      xmlDictLookup(h.doc->dict, reinterpret_cast<const xmlChar*>(name.data()), static_cast<int>(name.size()));
  if (!interned) Failed();
  if (!IsPlainAsciiName(name) && xmlValidateQName(interned, 0) != 0) Failed();
  slot = {interned, name.size()};
  return interned;
}

// A new attribute of the document, in no tree, named by the dictionary's copy of a name
// (xmlNewDocProp would look the name up in the dictionary a second time).
xmlAttr* NewAttribute(Holder& h, const xmlChar* interned_name) {
  auto* a = static_cast<xmlAttr*>(xmlMalloc(sizeof(xmlAttr)));
  if (!a) Failed();
  std::memset(a, 0, sizeof(xmlAttr));
  a->type = XML_ATTRIBUTE_NODE;
  a->name = interned_name;
  a->doc = h.doc;
  return a;
}

// An element's attribute by its qualified name.
xmlAttr* FindAttribute(xmlNode* element, std::string_view name) {
  if (name.empty()) return nullptr;  // no attribute has an empty name
  for (xmlAttr* a = element->properties; a; a = a->next) {
    if (!a->ns || !a->ns->prefix) {
      // Most names differ in their first letter: that test spares measuring each one.
      if (static_cast<char>(a->name[0]) == name[0] && name == reinterpret_cast<const char*>(a->name)) return a;
    } else if (QualifiedName(reinterpret_cast<xmlNode*>(a)) == name) {
      return a;
    }
  }
  return nullptr;
}

// Makes text the one content of an element (none when empty) or attribute (always a text
// node, possibly empty).
void ReplaceContentText(Holder& h, xmlNode* n, std::string_view text) {
  // Nearly every value written is plain ASCII and needs no cleaning copy.
  std::string cleaned;
  const std::string_view value = IsPlainAscii(text) ? text : std::string_view(cleaned = CleanText(text));
  if (n->children) h.ClearChildren(n);
  if (!value.empty() || n->type == XML_ATTRIBUTE_NODE) {
    if (value.size() > static_cast<size_t>(INT_MAX)) Failed();
    h.LinkBefore(n, NewText(h.doc, value), nullptr);
  }
}

// ---- node lists and attribute maps ----

class ChildList final : public NodeList {
 public:
  ChildList(HolderPtr holder, xmlNode* parent) : handle_(std::move(holder), parent) {}

  NodePtr Item(int index) override {
    if (index < 0) return nullptr;
    Holder& h = *handle_.holder();
    xmlNode* n;
    int i;
    if (generation_ == h.generation && cached_ && index >= cached_index_) {
      n = cached_;
      i = cached_index_;
    } else {
      n = handle_.node()->children;
      i = 0;
    }
    while (n && i < index) {
      n = n->next;
      ++i;
    }
    if (!n) return nullptr;
    generation_ = h.generation;
    cached_ = n;
    cached_index_ = i;
    return Wrap(handle_.holder(), n);
  }

  int Length() override {
    Holder& h = *handle_.holder();
    if (length_generation_ != h.generation || length_ < 0) {
      int count = 0;
      for (xmlNode* n = handle_.node()->children; n; n = n->next) ++count;
      length_ = count;
      length_generation_ = h.generation;
    }
    return length_;
  }

 private:
  class Keep final : public Handle {
   public:
    using Handle::Handle;
  };
  Keep handle_;
  std::uint64_t generation_ = ~0ull;
  xmlNode* cached_ = nullptr;
  int cached_index_ = 0;
  std::uint64_t length_generation_ = ~0ull;
  int length_ = -1;
};

class SelectedList final : public NodeList {
 public:
  SelectedList(HolderPtr holder, std::vector<xmlNode*> nodes) : holder_(std::move(holder)), nodes_(std::move(nodes)) {
    for (xmlNode* n : nodes_) holder_->AddRef(n);
  }
  ~SelectedList() override {
    for (xmlNode* n : nodes_) holder_->Release(n);
  }
  SelectedList(const SelectedList&) = delete;
  SelectedList& operator=(const SelectedList&) = delete;

  NodePtr Item(int index) override {
    if (index < 0 || static_cast<size_t>(index) >= nodes_.size()) return nullptr;
    return Wrap(holder_, nodes_[static_cast<size_t>(index)]);
  }
  int Length() override { return static_cast<int>(nodes_.size()); }

 private:
  HolderPtr holder_;
  std::vector<xmlNode*> nodes_;
};

class AttributeMap final : public NamedNodeMap, private Handle {
 public:
  AttributeMap(HolderPtr holder, xmlNode* element) : Handle(std::move(holder), element) {}

  xmlAttr* Find(std::string_view name) { return FindAttribute(node(), name); }

  NodePtr GetNamedItem(std::string_view name) override {
    xmlAttr* a = Find(name);
    return a ? Wrap(holder(), reinterpret_cast<xmlNode*>(a)) : nullptr;
  }

  NodePtr SetNamedItem(const NodePtr& attribute) override {
    Handle& arg = HandleOf(attribute);
    xmlNode* n = arg.node();
    Holder& h = *holder();
    if (n->type != XML_ATTRIBUTE_NODE || arg.holder() != holder()) Failed();
    xmlNode* element = node();
    if (n->parent == element) return attribute;
    if (n->parent) Failed();  // an attribute in use by another element
    xmlAttr* attr = reinterpret_cast<xmlAttr*>(n);
    xmlAttr* old = Find(QualifiedName(n));
    h.TakeOut(n);
    ++h.generation;
    attr->parent = element;
    attr->next = nullptr;
    attr->prev = nullptr;
    if (old) {
      attr->prev = old->prev;
      attr->next = old->next;
      if (old->prev) {
        old->prev->next = attr;
      } else {
        element->properties = attr;
      }
      if (old->next) old->next->prev = attr;
      old->parent = nullptr;
      old->prev = nullptr;
      old->next = nullptr;
      xmlNode* o = reinterpret_cast<xmlNode*>(old);
      if (h.Referenced(o)) {
        h.detached.insert(o);
      } else {
        xmlFreeProp(old);
      }
    } else {
      xmlAttr* last = element->properties;
      if (!last) {
        element->properties = attr;
      } else {
        while (last->next) last = last->next;
        last->next = attr;
        attr->prev = last;
      }
    }
    return attribute;
  }

  NodePtr RemoveNamedItem(std::string_view name) override {
    xmlAttr* a = Find(name);
    if (!a) return nullptr;
    NodePtr removed = Wrap(holder(), reinterpret_cast<xmlNode*>(a));
    holder()->Detach(reinterpret_cast<xmlNode*>(a));
    return removed;
  }

  NodePtr Item(int index) override {
    if (index < 0) return nullptr;
    xmlAttr* a = node()->properties;
    for (int i = 0; a && i < index; ++i) a = a->next;
    return a ? Wrap(holder(), reinterpret_cast<xmlNode*>(a)) : nullptr;
  }

  int Length() override {
    int count = 0;
    for (xmlAttr* a = node()->properties; a; a = a->next) ++count;
    return count;
  }
};

// ---- nodes ----

bool MayHoldChildren(const xmlNode* n) { return n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE; }

bool MayBeChild(const xmlNode* n) {
  switch (n->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE: return true;
    default: return false;
  }
}

std::shared_ptr<Document> NewDocument(HolderPtr holder);

template <class Base>
class NodeImpl : public Base, public Handle {
 public:
  NodeImpl(HolderPtr holder, xmlNode* node) : Handle(std::move(holder), node) {}

  std::string NodeName() override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ELEMENT_NODE:
      case XML_ATTRIBUTE_NODE: return QualifiedName(n);
      case XML_TEXT_NODE: return "#text";
      case XML_CDATA_SECTION_NODE: return "#cdata-section";
      case XML_COMMENT_NODE: return "#comment";
      case XML_DOCUMENT_NODE: return "#document";
      default: return S(n->name);
    }
  }

  std::string NodeValue() override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ELEMENT_NODE:
      case XML_DOCUMENT_NODE: return std::string();
      case XML_ATTRIBUTE_NODE: return TextOf(n);
      default: return S(n->content);
    }
  }

  void SetNodeValue(std::string_view value) override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ATTRIBUTE_NODE: SetText(value); return;
      case XML_PI_NODE: {
        const std::string text = CleanText(value);
        if (text.find("?>") != std::string::npos) Failed();
        xmlNodeSetContent(n, X(text));
        return;
      }
      case XML_COMMENT_NODE:
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE: {
        const std::string text = CleanText(value);
        xmlNodeSetContent(n, X(text));
        return;
      }
      default: Failed();
    }
  }

  int NodeType() override { return static_cast<int>(node()->type); }

  NodePtr ParentNode() override { return Wrap(holder(), node()->type == XML_ATTRIBUTE_NODE ? nullptr : node()->parent); }
  NodePtr FirstChild() override { return MayHoldChildren(node()) ? Wrap(holder(), node()->children) : nullptr; }
  NodePtr LastChild() override { return MayHoldChildren(node()) ? Wrap(holder(), node()->last) : nullptr; }

  NodeListPtr ChildNodes() override {
    return std::make_shared<ChildList>(holder(), node());
  }

  NamedNodeMapPtr Attributes() override {
    if (node()->type != XML_ELEMENT_NODE) return nullptr;
    return std::make_shared<AttributeMap>(holder(), node());
  }

  // Checks that child may stand below this node, before anything changes.
  void CheckChild(xmlNode* child, xmlNode* replaced) {
    xmlNode* parent = node();
    if (!MayHoldChildren(parent) || !MayBeChild(child)) Failed();
    if (child->doc != holder()->doc) Failed();
    // Only a node with children of its own can stand above the parent: a new element, the
    // usual argument, is checked without walking up the tree.
    if (child == parent) Failed();
    if (child->children) {
      for (xmlNode* p = parent->parent; p; p = p->parent) {
        if (p == child) Failed();
      }
    }
    if (parent->type == XML_DOCUMENT_NODE) {
      if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) Failed();
      if (child->type == XML_ELEMENT_NODE) {
        for (xmlNode* c = parent->children; c; c = c->next) {
          if (c->type == XML_ELEMENT_NODE && c != child && c != replaced) Failed();
        }
      }
    }
  }

  NodePtr InsertBefore(const NodePtr& new_child, const NodePtr& reference) override {
    Handle& arg = HandleOf(new_child);
    if (arg.holder() != holder()) Failed();
    xmlNode* child = arg.node();
    xmlNode* ref = nullptr;
    if (reference) {
      Handle& r = HandleOf(reference);
      ref = r.node();
      if (r.holder() != holder() || ref->parent != node() || ref->type == XML_ATTRIBUTE_NODE) Failed();
    }
    CheckChild(child, nullptr);
    if (ref == child) return new_child;
    holder()->TakeOut(child);
    holder()->LinkBefore(node(), child, ref);
    return new_child;
  }

  NodePtr ReplaceChild(const NodePtr& new_child, const NodePtr& old_child) override {
    Handle& arg = HandleOf(new_child);
    Handle& old = HandleOf(old_child);
    if (arg.holder() != holder() || old.holder() != holder()) Failed();
    xmlNode* child = arg.node();
    xmlNode* replaced = old.node();
    if (replaced->parent != node() || replaced->type == XML_ATTRIBUTE_NODE) Failed();
    CheckChild(child, replaced);
    if (child == replaced) return old_child;
    holder()->TakeOut(child);
    holder()->LinkBefore(node(), child, replaced);
    holder()->Detach(replaced);
    return old_child;
  }

  NodePtr RemoveChild(const NodePtr& old_child) override {
    Handle& old = HandleOf(old_child);
    xmlNode* removed = old.node();
    if (old.holder() != holder() || removed->parent != node() || removed->type == XML_ATTRIBUTE_NODE) Failed();
    holder()->Detach(removed);
    return old_child;
  }

  NodePtr AppendChild(const NodePtr& new_child) override { return InsertBefore(new_child, nullptr); }

  DocumentPtr OwnerDocument() override { return NewDocument(holder()); }

  NodePtr CloneNode(bool deep) override {
    xmlNode* n = node();
    if (n->type == XML_DOCUMENT_NODE) {
      auto copy = std::make_shared<Holder>();
      for (xmlNode* c = n->children; c; c = c->next) {
        if (!MayBeChild(c)) continue;
        if (!deep && c->type == XML_ELEMENT_NODE) continue;
        xmlNode* cc = xmlDocCopyNode(c, copy->doc, 1);
        if (!cc) Failed();
        CopyMarks(c, cc, true);
        copy->LinkBefore(copy->DocNode(), cc, nullptr);
      }
      return NewDocument(copy);
    }
    xmlNode* cc = xmlDocCopyNode(n, holder()->doc, deep ? 1 : 2);
    if (!cc) Failed();
    CopyMarks(n, cc, deep);
    holder()->Adopt(cc);
    return Wrap(holder(), cc);
  }

  std::string Text() override {
    const xmlNode* n = node();
    return n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE ? TrimmedTextOf(n) : TextOf(n);
  }

  void SetText(std::string_view text) override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ELEMENT_NODE:
      case XML_ATTRIBUTE_NODE: ReplaceContentText(*holder(), n, text); return;
      case XML_DOCUMENT_NODE: Failed();
      default: SetNodeValue(text);
    }
  }

  bool GetAttribute(std::string_view name, std::string& value) override {
    xmlNode* n = node();
    if (n->type != XML_ELEMENT_NODE) return false;
    xmlAttr* a = FindAttribute(n, name);
    if (!a) return false;
    AssignTextOf(reinterpret_cast<xmlNode*>(a), value);
    return true;
  }

  void SetAttribute(std::string_view name, std::string_view value) override {
    xmlNode* element = node();
    if (element->type != XML_ELEMENT_NODE) Failed();
    Holder& h = *holder();
    xmlAttr* a = FindAttribute(element, name);
    if (!a) {
      a = NewAttribute(h, ValidName(h, name));
      ++h.generation;
      a->parent = element;
      xmlAttr* last = element->properties;
      if (!last) {
        element->properties = a;
      } else {
        while (last->next) last = last->next;
        last->next = a;
        a->prev = last;
      }
    }
    ReplaceContentText(h, reinterpret_cast<xmlNode*>(a), value);
  }

  std::string Xml() override { return XmlOf(node()); }

  std::string TransformNode(const NodePtr& style_sheet) override {
    Handle& style = HandleOf(style_sheet);
    xmlDocPtr style_doc = CopyAsDocument(style.node());
    xsltStylesheetPtr sheet = xsltParseStylesheetDoc(style_doc);
    if (!sheet) {
      xmlFreeDoc(style_doc);
      Failed();
    }
    if (sheet->encoding) {  // the result is text inside the program, hence UTF-8
      xmlFree(sheet->encoding);
      sheet->encoding = nullptr;
    }
    xmlDocPtr source = CopyAsDocument(node());
    xsltTransformContextPtr context = xsltNewTransformContext(sheet, source);
    xsltSecurityPrefsPtr security = xsltNewSecurityPrefs();
    bool ok = context && security;
    if (ok) {
      for (auto option : {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                          XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK}) {
        xsltSetSecurityPrefs(security, option, xsltSecurityForbid);
      }
      xsltSetCtxtSecurityPrefs(security, context);
      xsltSetTransformErrorFunc(context, nullptr, Silent);
    }
    xmlDocPtr result = ok ? xsltApplyStylesheetUser(sheet, source, nullptr, nullptr, nullptr, context) : nullptr;
    ok = result && context->state == XSLT_STATE_OK;
    std::string out;
    if (ok) {
      xmlChar* text = nullptr;
      int length = 0;
      if (xsltSaveResultToString(&text, &length, result, sheet) == 0) {
        if (text) out.assign(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
      } else {
        ok = false;
      }
      xmlFree(text);
    }
    if (result) xmlFreeDoc(result);
    if (context) xsltFreeTransformContext(context);
    if (security) xsltFreeSecurityPrefs(security);
    xsltFreeStylesheet(sheet);
    xmlFreeDoc(source);
    if (!ok) Failed();
    return out;
  }

  NodeListPtr SelectNodes(std::string_view xpath) override { return std::make_shared<SelectedList>(holder(), Select(xpath)); }

  bool GetSelectedText(std::string_view step, std::string& text) override {
    if (!IsPlainAsciiName(step)) return Node::GetSelectedText(step, text);
    const xmlNode* found = FirstChildElementNamed(step);
    if (!found) return false;
    AssignTrimmedTextOf(found, text);  // what an element's Text gives
    return true;
  }

  NodePtr SelectSingleNode(std::string_view xpath) override {
    if (IsPlainAsciiName(xpath)) return Wrap(holder(), FirstChildElementNamed(xpath));
    std::vector<xmlNode*> nodes = Select(xpath, true);
    return nodes.empty() ? nullptr : Wrap(holder(), nodes.front());
  }

 private:
  // A document of its own holding a copy of n (the whole document when n is one), so that
  // libxslt neither changes nor marks the caller's tree.
  static xmlDocPtr CopyAsDocument(xmlNode* n) {
    xmlDocPtr copy = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!copy) Failed();
    xmlNode* from = n->type == XML_DOCUMENT_NODE ? n->children : n;
    for (; from; from = from->next) {
      if (MayBeChild(from)) {
        xmlNode* c = xmlDocCopyNode(from, copy, 1);
        if (c) {
          // libxslt keeps its compiled instructions in psvi, where this tree counts references.
          Walk(c, [](xmlNode* m) { SetRefCount(m, 0); });
          xmlAddChild(reinterpret_cast<xmlNode*>(copy), c);
        }
      }
      if (n->type != XML_DOCUMENT_NODE) break;
    }
    return copy;
  }

  // Queries repeat (a path step per written value); their compiled form is kept per thread.
  static xmlXPathCompExprPtr Compiled(const std::string& expression) {
    struct Cache {
      std::unordered_map<std::string, xmlXPathCompExprPtr> entries;
      ~Cache() { Clear(); }
      void Clear() {
        for (auto& entry : entries) xmlXPathFreeCompExpr(entry.second);
        entries.clear();
      }
    };
    thread_local Cache cache;
    auto it = cache.entries.find(expression);
    if (it != cache.entries.end()) return it->second;
    xmlXPathCompExprPtr compiled = xmlXPathCompile(X(expression));
    if (!compiled) return nullptr;
    if (cache.entries.size() >= 256) cache.Clear();
    cache.entries.emplace(expression, compiled);
    return compiled;
  }

  // A bare ASCII name such as "methods" or "items" is the child step child::name. The
  // layer's forced reads and collection lookups ask for nothing else, once per written or
  // read value, so these are answered by walking the children instead of running XPath.
  xmlNode* FirstChildElementNamed(std::string_view name) {
    xmlNode* parent = node();
    if (parent->type != XML_ELEMENT_NODE && parent->type != XML_DOCUMENT_NODE) return nullptr;
    for (xmlNode* c = parent->children; c; c = c->next) {
      // An unprefixed name test selects only elements in no namespace.
      if (c->type == XML_ELEMENT_NODE && !c->ns && name == reinterpret_cast<const char*>(c->name)) return c;
    }
    return nullptr;
  }

  std::vector<xmlNode*> ChildElementsNamed(std::string_view name) {
    std::vector<xmlNode*> nodes;
    for (xmlNode* c = FirstChildElementNamed(name); c; c = c->next) {
      if (c->type == XML_ELEMENT_NODE && !c->ns && name == reinterpret_cast<const char*>(c->name)) nodes.push_back(c);
    }
    return nodes;
  }

  // "//name" and "//name[@attribute="value"]" (plain names, a value without quotes): every
  // element of the document so named, in document order. The generator asks these of whole
  // descriptions; a walk answers them without building and sorting XPath node sets.
  struct DescendantQuery {
    std::string_view name, attribute, value;
    bool with_attribute = false;
  };

  static bool ParseDescendantQuery(std::string_view xpath, DescendantQuery& query) {
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
  static bool AttributeValue(xmlNode* element, std::string_view name, std::string& value) {
    for (xmlAttr* a = element->properties; a; a = a->next) {
      if (!a->ns && name == reinterpret_cast<const char*>(a->name)) {
        value = TextOf(reinterpret_cast<xmlNode*>(a));
        return true;
      }
    }
    return false;
  }

  std::vector<xmlNode*> DescendantElements(const DescendantQuery& query, bool first_only) {
    std::vector<xmlNode*> nodes;
    const std::vector<xmlNode*>* named = holder()->ElementsNamed(query.name);
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

  std::vector<xmlNode*> Select(std::string_view xpath, bool first_only = false) {
    InitLibraries();
    if (IsPlainAsciiName(xpath)) return ChildElementsNamed(xpath);
    if (DescendantQuery query; ParseDescendantQuery(xpath, query)) return DescendantElements(query, first_only);
    const std::string expression(xpath);
    if (expression.find('\0') != std::string::npos) Failed();
    xmlXPathCompExprPtr compiled = Compiled(expression);
    if (!compiled) Failed();
    xmlXPathContextPtr context = xmlXPathNewContext(holder()->doc);
    if (!context) Failed();
    context->node = node();
    context->error = SilentStructured;
    xmlXPathObjectPtr result = xmlXPathCompiledEval(compiled, context);
    xmlXPathFreeContext(context);
    if (!result) Failed();
    if (result->type != XPATH_NODESET) {
      xmlXPathFreeObject(result);
      Failed();
    }
    std::vector<xmlNode*> nodes;
    if (result->nodesetval) {
      xmlXPathNodeSetSort(result->nodesetval);
      nodes.reserve(static_cast<size_t>(result->nodesetval->nodeNr));
      for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
        xmlNode* n = result->nodesetval->nodeTab[i];
        // Namespace nodes are copies owned by the result; they have no place in the tree.
        if (n && n->type != XML_NAMESPACE_DECL) nodes.push_back(n);
      }
    }
    xmlXPathFreeObject(result);
    return nodes;
  }
};

class LxNode final : public NodeImpl<Node> {
 public:
  using NodeImpl<Node>::NodeImpl;
};

class LxDocument final : public NodeImpl<Document> {
 public:
  explicit LxDocument(const HolderPtr& holder) : NodeImpl<Document>(holder, holder->DocNode()) {}

  NodePtr CreateProcessingInstruction(std::string_view target, std::string_view data) override {
    const std::string name(target);
    const std::string text = CleanText(data);
    if (name.find('\0') != std::string::npos || xmlValidateName(X(name), 0) != 0 || name.find(':') != std::string::npos ||
        text.find("?>") != std::string::npos) {
      Failed();
    }
    xmlNode* pi = xmlNewDocPI(holder()->doc, X(name), text.empty() ? nullptr : X(text));
    if (!pi) Failed();
    holder()->Adopt(pi);
    return Wrap(holder(), pi);
  }

  NodePtr CreateAttribute(std::string_view name) override {
    xmlAttr* a = NewAttribute(*holder(), ValidName(*holder(), name));
    if (!a) Failed();
    holder()->Adopt(reinterpret_cast<xmlNode*>(a));
    return Wrap(holder(), reinterpret_cast<xmlNode*>(a));
  }

  NodePtr CreateElement(std::string_view name) override {
    // The name belongs to the document's dictionary, which keeps it: nothing is eaten.
    xmlNode* e = xmlNewDocNodeEatName(holder()->doc, nullptr, const_cast<xmlChar*>(ValidName(*holder(), name)), nullptr);
    if (!e) Failed();
    holder()->Adopt(e);
    return Wrap(holder(), e);
  }

  bool Load(const std::string& file_name) override {
    auto bytes = ReadWholeFile(file_name, INT_MAX);
    if (!bytes) {
      ReplaceContent(nullptr, std::string());
      return false;
    }
    return Parse(reinterpret_cast<const char*>(bytes->data()), bytes->size(), nullptr);
  }

  bool LoadXml(std::string_view text) override { return Parse(text.data(), text.size(), "UTF-8"); }

  void Save(const std::string& file_name) override { WriteFileAtomically(file_name, WithUtf8Declaration(Xml())); }

 private:
  bool Parse(const char* data, size_t size, const char* encoding) {
    InitLibraries();
    xmlDocPtr parsed = nullptr;
    if (size > 0 && size <= static_cast<size_t>(INT_MAX)) {
      xmlParserCtxtPtr context = xmlNewParserCtxt();
      if (!context) Failed();
      parsed = xmlCtxtReadMemory(context, data, static_cast<int>(size), nullptr, encoding, kParseOptions);
      // Prefixes that are not declared make the text ill-formed for a namespace-aware DOM.
      if (parsed && (!context->wellFormed || !context->nsWellFormed)) {
        xmlFreeDoc(parsed);
        parsed = nullptr;
      }
      xmlFreeParserCtxt(context);
    }
    if (parsed && (!xmlDocGetRootElement(parsed) || HasEntityReferences(parsed))) {
      xmlFreeDoc(parsed);
      parsed = nullptr;
    }
    ReplaceContent(parsed, parsed ? Declaration(std::string_view(data, size), parsed) : std::string());
    return parsed != nullptr;
  }

  // A reference to an entity that was not declared (allowed when the document names an
  // external subset, which is never read) has no content to stand for: such text does not
  // parse here, as with a DOM that resolves nothing outside the document.
  static bool HasEntityReferences(xmlDocPtr parsed) {
    bool found = false;
    for (xmlNode* c = parsed->children; c && !found; c = c->next) {
      if (c->type == XML_ELEMENT_NODE) {
        Walk(c, [&](xmlNode* n) { found = found || n->type == XML_ENTITY_REF_NODE; });
      }
    }
    return found;
  }

  // The data of the XML declaration as written (empty when there is none), or as libxml2
  // understood it when the text is not in an ASCII-compatible encoding.
  static std::string Declaration(std::string_view text, xmlDocPtr parsed) {
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
  static void DropWhiteSpace(xmlNode* root) {
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
      if (!mixed) parent->_private = kPretty;
    }
  }

  void ReplaceContent(xmlDocPtr parsed, const std::string& declaration) {
    Holder& h = *holder();
    xmlNode* doc = h.DocNode();
    h.ClearChildren(doc);
    if (!parsed) return;
    if (!declaration.empty()) {
      // The XML declaration is a node of the document, as MSXML keeps it.
      xmlNode* pi = xmlNewDocPI(h.doc, reinterpret_cast<const xmlChar*>("xml"), X(declaration));
      if (pi) h.LinkBefore(doc, pi, nullptr);
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
    xmlFreeDoc(parsed);
  }
};

Handle& HandleOf(const NodePtr& node) {
  if (!node) Failed();
  // Nearly every argument is one of this file's own two classes; the exact type check spares
  // the cross-cast, which costs more than the operation it guards.
  Node* const object = node.get();
  if (typeid(*object) == typeid(LxNode)) return *static_cast<LxNode*>(object);
  if (typeid(*object) == typeid(LxDocument)) return *static_cast<LxDocument*>(object);
  auto* handle = dynamic_cast<Handle*>(object);
  if (!handle) Fail(kInterfaceNotSupported);
  return *handle;
}

NodePtr Wrap(const HolderPtr& holder, xmlNode* node) {
  if (!node) return nullptr;
  if (node->type == XML_DOCUMENT_NODE) return NewDocument(holder);
  return std::make_shared<LxNode>(holder, node);
}

std::shared_ptr<Document> NewDocument(HolderPtr holder) {
  if (auto existing = holder->document_object.lock()) return existing;
  auto created = std::make_shared<LxDocument>(holder);
  holder->document_object = created;
  return created;
}

}  // namespace

DocumentPtr CreateDomDocument() { return NewDocument(std::make_shared<Holder>()); }

}  // namespace quenlor::dom
