// Who owns which libxml2 node: the document, a detached subtree kept for the objects that
// still refer into it, or nobody (freed).
#include <libxml/parser.h>
#include <libxslt/xsltutils.h>

#include <mutex>

#include "base/error.h"
#include "xml/libxml2/adapter.h"

namespace quenlor::dom::lx {

void FreeDoc(xmlDoc* doc) { xmlFreeDoc(doc); }
void FreeNode(xmlNode* node) { xmlFreeNode(node); }
void FreeText(xmlChar* text) { xmlFree(text); }

void Failed() { Fail(kSafecallException); }

void Silent(void*, const char*, ...) {}
void SilentStructured(void*, xmlErrorPtr) {}

namespace {

// External entities, DTDs and style sheet imports are never fetched: documents come from
// the program itself or from files the user names, and must not reach out to other files.
xmlParserInputPtr NoExternalEntities(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

}  // namespace

void InitLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(NoExternalEntities);
    xsltSetGenericErrorFunc(nullptr, Silent);
  });
  xmlSetGenericErrorFunc(nullptr, Silent);
  xmlSetStructuredErrorFunc(nullptr, SilentStructured);
}

std::size_t NodeSet::Home(const xmlNode* n) const {
  std::uint64_t h = reinterpret_cast<std::uintptr_t>(n);
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return static_cast<std::size_t>(h) & (slots_.size() - 1);
}

bool NodeSet::contains(const xmlNode* n) const {
  if (slots_.empty()) return false;
  for (std::size_t i = Home(n);; i = Next(i)) {
    if (slots_[i] == n) return true;
    if (!slots_[i]) return false;
  }
}

void NodeSet::insert(xmlNode* n) {
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  std::size_t i = Home(n);
  for (; slots_[i]; i = Next(i)) {
    if (slots_[i] == n) return;
  }
  slots_[i] = n;
  ++size_;
}

// Removal with backward shifting, so that lookups never need tombstones.
bool NodeSet::erase(const xmlNode* n) {
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

void NodeSet::Grow() {
  std::vector<xmlNode*> old(slots_.empty() ? 16 : slots_.size() * 2, nullptr);
  old.swap(slots_);
  size_ = 0;
  for (xmlNode* n : old) {
    if (n) insert(n);
  }
}

Holder::Holder() {
  InitLibraries();
  DocOwner made(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
  if (!made) Fail(kComCallFailed);
  // Element and attribute names repeat endlessly in a description; the document keeps one
  // copy of each instead of one per node.
  made->dict = xmlDictCreate();
  if (!made->dict) Fail(kComCallFailed);
  doc = made.release();
}

Holder::~Holder() {
  for (xmlNode* n : detached) {
    if (n) xmlFreeNode(n);
  }
  xmlFreeDoc(doc);
}

void Holder::AddRef(xmlNode* n) {
  if (n == DocNode()) return;
  SetState(n, StateOf(n) + 2);
  ++live_refs;
}

void Holder::Release(xmlNode* n) {
  if (n == DocNode()) return;
  if (ReferencesTo(n) != 0) {
    SetState(n, StateOf(n) - 2);
    --live_refs;
  }
  if (!detached.empty()) {
    xmlNode* top = Top(n);
    if (top != DocNode()) FreeIfUnused(top);
  }
}

bool Holder::Referenced(xmlNode* root) const {
  if (live_refs == 0) return false;
  bool found = false;
  Walk(root, [&](xmlNode* n) { found = found || ReferencesTo(n) != 0; });
  return found;
}

void Holder::FreeIfUnused(xmlNode* top) {
  if (!detached.contains(top) || Referenced(top)) return;
  detached.erase(top);
  ++generation;
  xmlFreeNode(top);
}

void Holder::Unlink(xmlNode* n) {
  ++generation;
  if (n->type == XML_ELEMENT_NODE) elements.ElementsChanged();
  if (n->type == XML_ELEMENT_NODE || n->type == XML_ATTRIBUTE_NODE) {
    if (xmlDOMWrapRemoveNode(nullptr, n->doc, n, 0) == 0) return;
  }
  xmlUnlinkNode(n);
}

void Holder::TakeOut(xmlNode* n) {
  if (!n->parent) {
    detached.erase(n);
    return;
  }
  xmlNode* top = Top(n);
  Unlink(n);
  if (top != DocNode()) FreeIfUnused(top);
}

void Holder::Detach(xmlNode* n) {
  Unlink(n);
  if (Referenced(n)) {
    detached.insert(n);
  } else {
    xmlFreeNode(n);
  }
}

void Holder::LinkBefore(xmlNode* parent, xmlNode* child, xmlNode* reference) {
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
  if (child->type == XML_ELEMENT_NODE) elements.ElementLinked(DocNode(), child);
}

void Holder::LinkAttribute(xmlNode* element, xmlAttr* attr, xmlAttr* old) {
  ++generation;
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
    if (Referenced(o)) {
      detached.insert(o);
    } else {
      xmlFreeProp(old);
    }
    return;
  }
  xmlAttr* last = element->properties;
  if (!last) {
    element->properties = attr;
    return;
  }
  while (last->next) last = last->next;
  last->next = attr;
  attr->prev = last;
}

}  // namespace quenlor::dom::lx
