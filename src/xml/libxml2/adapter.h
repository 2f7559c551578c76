// The parts of the DOM port's libxml2 adapter, shared by its files (nothing outside this
// folder includes it).
//
// Lifetime: a Holder owns one libxml2 document; every handed-out object keeps the Holder
// alive and counts a reference on its libxml2 node. A node taken out of the tree is not freed
// at once: its subtree is kept as a "detached root" until no object refers to any node in it,
// and freed then (or with the document). Nodes are linked and unlinked by this adapter alone,
// never by libxml2 helpers that merge or free nodes behind our back.
//
// White space: text made only of blanks, tabs and line breaks between tags is dropped while
// parsing, and the element that held it is marked so that the text form puts each of its
// children on a line of its own, as MSXML does.
#pragma once

#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/dom.h"

namespace quenlor::dom::lx {

// Owners of libxml2's objects, each freed by the function libxml2 names for it.
template <class T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const {
    if (p) Free(p);
  }
};
void FreeDoc(xmlDoc* doc);
using DocOwner = std::unique_ptr<xmlDoc, Deleter<xmlDoc, FreeDoc>>;
void FreeNode(xmlNode* node);
using NodeOwner = std::unique_ptr<xmlNode, Deleter<xmlNode, FreeNode>>;
void FreeText(xmlChar* text);
using TextOwner = std::unique_ptr<xmlChar, Deleter<xmlChar, FreeText>>;

// What the adapter keeps per node lives in the field libxml2 leaves to applications (and
// neither copies nor reads): the white-space mark in the low bit, above it the count of
// objects referring to the node. A copy starts unmarked and unreferenced.
inline std::uintptr_t StateOf(const xmlNode* n) { return reinterpret_cast<std::uintptr_t>(n->_private); }
inline void SetState(xmlNode* n, std::uintptr_t state) { n->_private = reinterpret_cast<void*>(state); }
inline bool IsPretty(const xmlNode* n) { return (StateOf(n) & 1) != 0; }
inline void MarkPretty(xmlNode* n, bool pretty) { SetState(n, (StateOf(n) & ~std::uintptr_t{1}) | (pretty ? 1 : 0)); }
inline std::uintptr_t ReferencesTo(const xmlNode* n) { return StateOf(n) >> 1; }

[[noreturn]] void Failed();
void Silent(void*, const char*, ...);
void SilentStructured(void*, xmlErrorPtr);
// Sets libxml2 up once and silences its error handlers, which it keeps per thread.
void InitLibraries();

inline const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }
inline std::string S(const xmlChar* s) { return s ? std::string(reinterpret_cast<const char*>(s)) : std::string(); }
inline bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Text going into the tree: well-formed UTF-8 without NUL bytes (which libxml2 strings
// cannot hold); ill-formed sequences become U+FFFD as at the COM boundary.
std::string CleanText(std::string_view text);
bool IsPlainAscii(std::string_view text);

std::string QualifiedName(const xmlNode* n);
bool MayHoldChildren(const xmlNode* n);
bool MayBeChild(const xmlNode* n);

inline xmlNode* Top(xmlNode* n) {
  while (n->parent) n = n->parent;
  return n;
}

// The node after n's subtree in document order, within root; null when root is done.
template <class N>
N* NextAfterSubtree(N* n, const xmlNode* root) {
  while (n != root && !n->next) n = n->parent;
  return n == root ? nullptr : n->next;
}

// Pre-order walk of a subtree, attributes (and their text) included, without recursion so
// that deep trees cannot exhaust the stack.
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

// The document's elements in no namespace by name, in document order. Kept true while a
// document is built element by element (each new element without element children joins
// its name's entry); anything else that changes which elements stand where makes it stale,
// and one walk makes it again when it is next asked.
class ElementIndex {
 public:
  void ElementLinked(xmlNode* doc, xmlNode* element);
  void ElementsChanged() { current_ = false; }
  const std::vector<xmlNode*>* Named(xmlNode* doc, std::string_view name);

 private:
  struct Entry {
    std::vector<xmlNode*> nodes;
    bool in_document_order = true;
  };
  void Rebuild(xmlNode* doc);

  bool current_ = true;  // an empty document has no elements to index
  std::unordered_map<std::string_view, Entry> by_name_;  // names live in the nodes
};

// A set of node pointers in one open-addressed table: every element the program creates
// passes through the set of detached roots on its way into the tree, and a node-based set
// would allocate and free for each of them.
class NodeSet {
 public:
  bool empty() const { return size_ == 0; }
  bool contains(const xmlNode* n) const;
  void insert(xmlNode* n);
  bool erase(const xmlNode* n);
  auto begin() const { return slots_.begin(); }  // empty slots hold null
  auto end() const { return slots_.end(); }

 private:
  std::size_t Home(const xmlNode* n) const;
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }
  void Grow();

  std::vector<xmlNode*> slots_;  // a power of two in size, at most half full
  std::size_t size_ = 0;
};

class LxDocument;

struct Holder {
  xmlDocPtr doc = nullptr;
  // References held on all nodes, to skip walks when there are none. A node in a detached
  // subtree is kept while any node of that subtree is referred to.
  std::size_t live_refs = 0;
  NodeSet detached;
  // Bumped by every change of children, so that child lists can keep their place.
  std::uint64_t generation = 0;
  ElementIndex elements;
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

  Holder();
  ~Holder();
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  xmlNode* DocNode() const { return reinterpret_cast<xmlNode*>(doc); }

  void AddRef(xmlNode* n);
  void Release(xmlNode* n);
  bool Referenced(xmlNode* root) const;
  void FreeIfUnused(xmlNode* top);
  // A node made by the document, standing in no tree yet.
  void Adopt(xmlNode* n) { detached.insert(n); }
  // Unlinks n from its parent, moving the namespaces it uses out of its former ancestors so
  // that they outlive them.
  void Unlink(xmlNode* n);
  // Takes n out of wherever it stands (a tree, a detached subtree or the detached roots) so
  // that it can be linked elsewhere.
  void TakeOut(xmlNode* n);
  // Takes n out of the tree for good: kept while referenced, freed otherwise.
  void Detach(xmlNode* n);
  void LinkBefore(xmlNode* parent, xmlNode* child, xmlNode* reference);
  // Puts an attribute that stands nowhere on element, in place of old (which leaves) or last.
  void LinkAttribute(xmlNode* element, xmlAttr* attribute, xmlAttr* old);
  void ClearChildren(xmlNode* n) {
    while (n->children) Detach(n->children);
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
std::shared_ptr<Document> NewDocument(HolderPtr holder);

// ---- text form (serialize.cpp) ----
std::string XmlOf(const xmlNode* n);
// Sets out to the text of n, reusing out's storage.
void AssignTextOf(const xmlNode* n, std::string& out);
// The text of an element or document, without the white space at its ends, as MSXML gives
// it when white space is not preserved.
void AssignTrimmedTextOf(const xmlNode* n, std::string& text);
std::string TextOf(const xmlNode* n);

// ---- content (nodes.cpp) ----
// The document's own copy of a name that is a valid qualified name.
const xmlChar* ValidName(Holder& h, std::string_view name);
// A new attribute of the document, in no tree, named by the dictionary's copy of a name
// (xmlNewDocProp would look the name up in the dictionary a second time).
xmlAttr* NewAttribute(Holder& h, const xmlChar* interned_name);
xmlAttr* FindAttribute(xmlNode* element, std::string_view name);
// Makes text the one content of an element (none when empty) or attribute (always a text
// node, possibly empty).
void ReplaceContentText(Holder& h, xmlNode* n, std::string_view text);
// Copies the white-space marks of an original onto its copy, node by node.
void CopyMarks(xmlNode* original, xmlNode* copy, bool deep);

// ---- queries (query.cpp) ----
// The first child element of parent in no namespace named name (a plain name step).
xmlNode* FirstChildElementNamed(xmlNode* parent, std::string_view name);
// XPath 1.0 with context as context node; results in document order.
std::vector<xmlNode*> Select(Holder& h, xmlNode* context, std::string_view xpath, bool first_only);

// ---- transformations (transform.cpp) ----
std::string Transform(xmlNode* source, xmlNode* style_sheet);

// ---- loading (load.cpp) ----
// Replaces the document's content by the parsed text; false (and an empty document) when
// the text does not parse.
bool ParseInto(Holder& h, const char* data, std::size_t size, const char* encoding);

}  // namespace quenlor::dom::lx
