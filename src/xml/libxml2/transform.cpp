// XSL transformations through libxslt, on copies: libxslt marks the trees it reads (its
// compiled instructions go into the nodes), and the caller's tree must not change.
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include "xml/libxml2/adapter.h"

namespace quenlor::dom::lx {

namespace {

void FreeSheet(xsltStylesheet* p) { xsltFreeStylesheet(p); }
void FreeContext(xsltTransformContext* p) { xsltFreeTransformContext(p); }
void FreeSecurity(xsltSecurityPrefs* p) { xsltFreeSecurityPrefs(p); }

using SheetOwner = std::unique_ptr<xsltStylesheet, Deleter<xsltStylesheet, FreeSheet>>;
using ContextOwner = std::unique_ptr<xsltTransformContext, Deleter<xsltTransformContext, FreeContext>>;
using SecurityOwner = std::unique_ptr<xsltSecurityPrefs, Deleter<xsltSecurityPrefs, FreeSecurity>>;

// A document of its own holding a copy of n (the whole document when n is one).
DocOwner CopyAsDocument(xmlNode* n) {
  DocOwner copy(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
  if (!copy) Failed();
  xmlNode* from = n->type == XML_DOCUMENT_NODE ? n->children : n;
  for (; from; from = from->next) {
    if (MayBeChild(from)) {
      if (xmlNode* c = xmlDocCopyNode(from, copy.get(), 1)) xmlAddChild(reinterpret_cast<xmlNode*>(copy.get()), c);
    }
    if (n->type != XML_DOCUMENT_NODE) break;
  }
  return copy;
}

// Nothing a style sheet asks for reaches the file system or the network.
SecurityOwner ForbidEverything() {
  SecurityOwner security(xsltNewSecurityPrefs());
  if (!security) Failed();
  for (auto option : {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                      XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK}) {
    xsltSetSecurityPrefs(security.get(), option, xsltSecurityForbid);
  }
  return security;
}

}  // namespace

std::string Transform(xmlNode* source_node, xmlNode* style_node) {
  DocOwner style_doc = CopyAsDocument(style_node);
  // The sheet takes the document over once parsed; on failure it stays ours.
  SheetOwner sheet(xsltParseStylesheetDoc(style_doc.get()));
  if (!sheet) Failed();
  style_doc.release();
  if (sheet->encoding) {  // the result is text inside the program, hence UTF-8
    xmlFree(sheet->encoding);
    sheet->encoding = nullptr;
  }
  DocOwner source = CopyAsDocument(source_node);
  // The context refers to the preferences: they go after it.
  SecurityOwner security = ForbidEverything();
  ContextOwner context(xsltNewTransformContext(sheet.get(), source.get()));
  if (!context) Failed();
  xsltSetCtxtSecurityPrefs(security.get(), context.get());
  xsltSetTransformErrorFunc(context.get(), nullptr, Silent);
  DocOwner result(xsltApplyStylesheetUser(sheet.get(), source.get(), nullptr, nullptr, nullptr, context.get()));
  if (!result || context->state != XSLT_STATE_OK) Failed();
  xmlChar* text = nullptr;
  int length = 0;
  const int saved = xsltSaveResultToString(&text, &length, result.get(), sheet.get());
  TextOwner owned(text);
  if (saved != 0) Failed();
  return owned ? std::string(reinterpret_cast<const char*>(owned.get()), static_cast<size_t>(length)) : std::string();
}

}  // namespace quenlor::dom::lx
