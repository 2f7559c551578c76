// The text form of nodes (as MSXML writes it) and their text content.
#include <cstring>

#include "xml/libxml2/adapter.h"

namespace quenlor::dom::lx {

namespace {

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

void AppendElementOpen(std::string& out, const xmlNode* n, const xmlNode* root) {
  out += '<';
  out += QualifiedName(n);
  // Namespaces in use that no element inside the written part declares are declared here,
  // so that the text of a node taken from a larger tree still parses alone.
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
}

void AppendDelimited(std::string& out, const char* open, const xmlChar* content, const char* close) {
  out += open;
  if (content) out += reinterpret_cast<const char*>(content);
  out += close;
}

// Writes the start of n; true when n is an element with children still to come.
bool AppendOpen(std::string& out, const xmlNode* n, const xmlNode* root) {
  switch (n->type) {
    case XML_ELEMENT_NODE:
      AppendElementOpen(out, n, root);
      out += n->children ? ">" : "/>";
      return n->children != nullptr;
    case XML_TEXT_NODE: AppendEscaped(out, n->content, false); return false;
    case XML_CDATA_SECTION_NODE: AppendDelimited(out, "<![CDATA[", n->content, "]]>"); return false;
    case XML_COMMENT_NODE: AppendDelimited(out, "<!--", n->content, "-->"); return false;
    case XML_PI_NODE:
      out += "<?";
      out += S(n->name);
      if (n->content && *n->content) {
        out += ' ';
        out += reinterpret_cast<const char*>(n->content);
      }
      out += "?>";
      return false;
    case XML_ENTITY_REF_NODE: AppendDelimited(out, "&", n->name, ";"); return false;
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
    if (n != root && IsPretty(n->parent)) AppendBreak(out, level);
    if (AppendOpen(out, n, root)) {
      n = n->children;
      ++level;
      continue;
    }
    while (n != root && !n->next) {
      n = n->parent;
      --level;
      if (IsPretty(n)) AppendBreak(out, level);
      out += "</";
      out += QualifiedName(n);
      out += '>';
    }
    if (n == root) return;
    n = n->next;
  }
}

}  // namespace

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

void AssignTrimmedTextOf(const xmlNode* n, std::string& text) {
  AssignTextOf(n, text);
  size_t end = text.size();
  while (end > 0 && IsXmlBlank(text[end - 1])) --end;
  size_t start = 0;
  while (start < end && IsXmlBlank(text[start])) ++start;
  text.resize(end);
  text.erase(0, start);
}

std::string TextOf(const xmlNode* n) {
  std::string out;
  AssignTextOf(n, out);
  return out;
}

}  // namespace quenlor::dom::lx
