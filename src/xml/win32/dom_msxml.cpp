// The DOM port over MSXML through COM: "Msxml2.DOMDocument.4.0", or "Msxml.DOMDocument" where
// that is not registered. COM reference counting keeps removed nodes alive while referenced.
// A failing call (negative HRESULT) raises "Exception in safecall method"; S_FALSE is the
// DOM's "nothing found".
#include <windows.h>
#include <msxml2.h>

#include <utility>

#include "base/error.h"
#include "base/file.h"
#include "base/text.h"
#include "base/win32/com.h"
#include "xml/dom.h"

namespace quenlor::dom {

namespace {

void Check(HRESULT hr) {
  if (FAILED(hr)) Fail(kSafecallException);
}

// COM is the program's to initialise (once, single-threaded apartment, at start). A thread
// that reaches the DOM without having done so, such as a test, gets an apartment here.
void EnsureApartment() {
  thread_local bool done = false;
  if (!done) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    done = true;
  }
}

using com::Bstr;
using com::Ptr;
using com::Var;

std::string TextOf(Var& value) {
  if (value.get().vt == VT_NULL || value.get().vt == VT_EMPTY) return std::string();
  Var text;
  Check(VariantChangeType(text.Out(), &value.get(), 0, VT_BSTR));
  return com::Utf8Of(text.get().bstrVal);
}

class Handle {
 public:
  explicit Handle(Ptr<IXMLDOMNode> node) : node_(std::move(node)) {}
  virtual ~Handle() = default;
  IXMLDOMNode* node() const { return node_.get(); }

 private:
  Ptr<IXMLDOMNode> node_;
};

// The element behind a node; none for other kinds of node.
Ptr<IXMLDOMElement> ElementOf(IXMLDOMNode* node) {
  DOMNodeType type = NODE_INVALID;
  Check(node->get_nodeType(&type));
  if (type != NODE_ELEMENT) return Ptr<IXMLDOMElement>();
  Ptr<IXMLDOMElement> element;
  Check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.Out())));
  return element;
}

// Whether an element is the one a path step of a plain name selects: that name, and in no
// namespace (an unprefixed step never selects an element of a default namespace).
bool NameIs(IXMLDOMNode* element, std::u16string_view name) {
  Bstr found;
  Check(element->get_nodeName(found.Out()));
  if (!found.get() || found.View() != name) return false;
  Bstr uri;
  Check(element->get_namespaceURI(uri.Out()));
  return uri.View().empty();
}

IXMLDOMNode* NodeOf(const NodePtr& node) {
  if (!node) Fail(kSafecallException);
  auto* handle = dynamic_cast<Handle*>(node.get());
  if (!handle) Fail(kInterfaceNotSupported);
  return handle->node();
}

NodePtr Wrap(Ptr<IXMLDOMNode> node);
DocumentPtr WrapDocument(Ptr<IXMLDOMDocument> document);

// Node lists and attribute maps count and index their nodes alike.
template <class Collection>
NodePtr ItemOf(Collection* collection, int index) {
  Ptr<IXMLDOMNode> item;
  Check(collection->get_item(index, item.Out()));
  return Wrap(std::move(item));
}

template <class Collection>
int LengthOf(Collection* collection) {
  long length = 0;
  Check(collection->get_length(&length));
  return static_cast<int>(length);
}

class MsNodeList final : public NodeList {
 public:
  explicit MsNodeList(Ptr<IXMLDOMNodeList> list) : list_(std::move(list)) {}
  NodePtr Item(int index) override { return ItemOf(list_.get(), index); }
  int Length() override { return LengthOf(list_.get()); }

 private:
  Ptr<IXMLDOMNodeList> list_;
};

class MsNamedNodeMap final : public NamedNodeMap {
 public:
  explicit MsNamedNodeMap(Ptr<IXMLDOMNamedNodeMap> map) : map_(std::move(map)) {}
  NodePtr GetNamedItem(std::string_view name) override {
    Ptr<IXMLDOMNode> item;
    Bstr b(name);
    Check(map_->getNamedItem(b.get(), item.Out()));
    return Wrap(std::move(item));
  }
  NodePtr SetNamedItem(const NodePtr& attribute) override {
    IXMLDOMNode* node = NodeOf(attribute);
    Ptr<IXMLDOMNode> result;
    Check(map_->setNamedItem(node, result.Out()));
    return Wrap(std::move(result));
  }
  NodePtr RemoveNamedItem(std::string_view name) override {
    Ptr<IXMLDOMNode> item;
    Bstr b(name);
    Check(map_->removeNamedItem(b.get(), item.Out()));
    return Wrap(std::move(item));
  }
  NodePtr Item(int index) override { return ItemOf(map_.get(), index); }
  int Length() override { return LengthOf(map_.get()); }

 private:
  Ptr<IXMLDOMNamedNodeMap> map_;
};

template <class Base>
class MsNodeImpl : public Base, public Handle {
 public:
  using Handle::Handle;

  std::string NodeName() override {
    Bstr name;
    Check(node()->get_nodeName(name.Out()));
    return name.Utf8();
  }
  std::string NodeValue() override {
    Var value;
    Check(node()->get_nodeValue(value.Out()));
    return TextOf(value);
  }
  void SetNodeValue(std::string_view value) override {
    Var v;
    v.SetText(value);
    Check(node()->put_nodeValue(v.get()));
  }
  int NodeType() override {
    DOMNodeType type = NODE_INVALID;
    Check(node()->get_nodeType(&type));
    return static_cast<int>(type);
  }
  NodePtr ParentNode() override { return Get(&IXMLDOMNode::get_parentNode); }
  NodePtr FirstChild() override { return Get(&IXMLDOMNode::get_firstChild); }
  NodePtr LastChild() override { return Get(&IXMLDOMNode::get_lastChild); }
  NodeListPtr ChildNodes() override {
    Ptr<IXMLDOMNodeList> list;
    Check(node()->get_childNodes(list.Out()));
    if (!list) Fail(kSafecallException);
    return std::make_shared<MsNodeList>(std::move(list));
  }
  NamedNodeMapPtr Attributes() override {
    Ptr<IXMLDOMNamedNodeMap> map;
    Check(node()->get_attributes(map.Out()));
    return map ? std::make_shared<MsNamedNodeMap>(std::move(map)) : nullptr;
  }
  NodePtr InsertBefore(const NodePtr& new_child, const NodePtr& reference) override {
    IXMLDOMNode* child = NodeOf(new_child);
    Var ref;
    if (reference) {
      ref.SetUnknown(NodeOf(reference));
    } else {
      ref.SetNull();
    }
    Ptr<IXMLDOMNode> result;
    Check(node()->insertBefore(child, ref.get(), result.Out()));
    return new_child;
  }
  NodePtr ReplaceChild(const NodePtr& new_child, const NodePtr& old_child) override {
    IXMLDOMNode* child = NodeOf(new_child);
    IXMLDOMNode* old = NodeOf(old_child);
    Ptr<IXMLDOMNode> result;
    Check(node()->replaceChild(child, old, result.Out()));
    return old_child;
  }
  NodePtr RemoveChild(const NodePtr& old_child) override {
    IXMLDOMNode* old = NodeOf(old_child);
    Ptr<IXMLDOMNode> result;
    Check(node()->removeChild(old, result.Out()));
    return old_child;
  }
  NodePtr AppendChild(const NodePtr& new_child) override {
    IXMLDOMNode* child = NodeOf(new_child);
    Ptr<IXMLDOMNode> result;
    Check(node()->appendChild(child, result.Out()));
    return new_child;
  }
  DocumentPtr OwnerDocument() override {
    Ptr<IXMLDOMDocument> document;
    Check(node()->get_ownerDocument(document.Out()));
    return WrapDocument(std::move(document));
  }
  NodePtr CloneNode(bool deep) override {
    Ptr<IXMLDOMNode> copy;
    Check(node()->cloneNode(deep ? VARIANT_TRUE : VARIANT_FALSE, copy.Out()));
    return Wrap(std::move(copy));
  }
  std::string Text() override {
    Bstr text;
    Check(node()->get_text(text.Out()));
    return text.Utf8();
  }
  void SetText(std::string_view text) override {
    Bstr b(text);
    Check(node()->put_text(b.get()));
  }
  std::string Xml() override {
    Bstr xml;
    Check(node()->get_xml(xml.Out()));
    return xml.Utf8();
  }
  std::string TransformNode(const NodePtr& style_sheet) override {
    IXMLDOMNode* sheet = NodeOf(style_sheet);
    Bstr result;
    Check(node()->transformNode(sheet, result.Out()));
    return result.Utf8();
  }
  NodeListPtr SelectNodes(std::string_view xpath) override {
    Bstr b(xpath);
    Ptr<IXMLDOMNodeList> list;
    Check(node()->selectNodes(b.get(), list.Out()));
    if (!list) Fail(kSafecallException);
    return std::make_shared<MsNodeList>(std::move(list));
  }
  // The description's reads are mostly these two: answered with one or two calls each
  // rather than through attribute maps, wrapped nodes and XPath. Writes stay with the
  // attribute node's text: Wine's setAttribute does not store every value alike, and the
  // descriptions of some corpus libraries then no longer read back as XML.
  bool GetAttribute(std::string_view name, std::string& value) override {
    const Ptr<IXMLDOMElement> element = ElementOf(node());
    if (!element) return false;
    Bstr b(name);
    Var found;
    Check(element->getAttribute(b.get(), found.Out()));
    if (found.get().vt != VT_BSTR) return false;  // VT_NULL: no such attribute
    value = TextOf(found);
    return true;
  }
  bool GetSelectedText(std::string_view step, std::string& text) override {
    if (!IsPlainAsciiName(step)) return SelectedText(*this, step, text);
    const std::u16string wanted = Utf8ToUtf16(step);
    Ptr<IXMLDOMNode> child;
    Check(node()->get_firstChild(child.Out()));
    while (child) {
      DOMNodeType type = NODE_INVALID;
      Check(child->get_nodeType(&type));
      if (type == NODE_ELEMENT && NameIs(child.get(), wanted)) {
        Bstr found;
        Check(child->get_text(found.Out()));
        text = found.Utf8();
        return true;
      }
      Ptr<IXMLDOMNode> next;
      Check(child->get_nextSibling(next.Out()));
      child = std::move(next);
    }
    return false;
  }
  NodePtr SelectSingleNode(std::string_view xpath) override {
    Bstr b(xpath);
    Ptr<IXMLDOMNode> found;
    Check(node()->selectSingleNode(b.get(), found.Out()));
    return Wrap(std::move(found));
  }
  void SetAttribute(std::string_view name, std::string_view value) override { AttributeSetText(*this, name, value); }

 private:
  NodePtr Get(HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*getter)(IXMLDOMNode**)) {
    Ptr<IXMLDOMNode> result;
    Check((node()->*getter)(result.Out()));
    return Wrap(std::move(result));
  }
};

class MsNode final : public MsNodeImpl<Node> {
 public:
  using MsNodeImpl<Node>::MsNodeImpl;
};

class MsDocument final : public MsNodeImpl<Document> {
 public:
  MsDocument(Ptr<IXMLDOMDocument> document, Ptr<IXMLDOMNode> node)
      : MsNodeImpl<Document>(std::move(node)), document_(std::move(document)) {}

  NodePtr CreateProcessingInstruction(std::string_view target, std::string_view data) override {
    Bstr t(target), d(data);
    Ptr<IXMLDOMProcessingInstruction> pi;
    Check(document_->createProcessingInstruction(t.get(), d.get(), pi.Out()));
    return Wrap(pi.template As<IXMLDOMNode>(IID_IXMLDOMNode));
  }
  NodePtr CreateAttribute(std::string_view name) override {
    Bstr n(name);
    Ptr<IXMLDOMAttribute> attribute;
    Check(document_->createAttribute(n.get(), attribute.Out()));
    return Wrap(attribute.template As<IXMLDOMNode>(IID_IXMLDOMNode));
  }
  NodePtr CreateElement(std::string_view name) override {
    Var type;
    type.SetInt(NODE_ELEMENT);
    Bstr n(name), ns("");
    Ptr<IXMLDOMNode> element;
    Check(document_->createNode(type.get(), n.get(), ns.get(), element.Out()));
    if (!element) Fail(kSafecallException);
    return Wrap(std::move(element));
  }
  bool Load(const std::string& file_name) override {
    // Loading completes before returning, as parsing text does.
    Check(document_->put_async(VARIANT_FALSE));
    Var name;
    name.SetText(file_name);
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(document_->load(name.get(), &ok));
    return ok == VARIANT_TRUE;
  }
  bool LoadXml(std::string_view text) override {
    Bstr b(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(document_->loadXML(b.get(), &ok));
    return ok == VARIANT_TRUE;
  }
  void Save(const std::string& file_name) override { WriteFileAtomically(file_name, WithUtf8Declaration(Xml())); }

 private:
  Ptr<IXMLDOMDocument> document_;
};

NodePtr Wrap(Ptr<IXMLDOMNode> node) {
  if (!node) return nullptr;
  DOMNodeType type = NODE_INVALID;
  Check(node->get_nodeType(&type));
  if (type == NODE_DOCUMENT) {
    auto document = node.As<IXMLDOMDocument>(IID_IXMLDOMDocument);
    if (!document) Fail(kInterfaceNotSupported);
    return std::make_shared<MsDocument>(std::move(document), std::move(node));
  }
  return std::make_shared<MsNode>(std::move(node));
}

DocumentPtr WrapDocument(Ptr<IXMLDOMDocument> document) {
  if (!document) return nullptr;
  auto node = document.As<IXMLDOMNode>(IID_IXMLDOMNode);
  if (!node) Fail(kInterfaceNotSupported);
  return std::make_shared<MsDocument>(std::move(document), std::move(node));
}

Ptr<IUnknown> CreateObject(const wchar_t* prog_id) {
  CLSID clsid;
  if (CLSIDFromProgID(prog_id, &clsid) != S_OK) Fail(kComCallFailed);
  Ptr<IUnknown> object;
  if (CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                       reinterpret_cast<void**>(object.Out())) != S_OK) {
    Fail(kComCallFailed);
  }
  return object;
}

}  // namespace

DocumentPtr CreateDomDocument() {
  EnsureApartment();
  CLSID clsid;
  const bool version4 = CLSIDFromProgID(L"Msxml2.DOMDocument.4.0", &clsid) == S_OK;
  Ptr<IUnknown> object = CreateObject(version4 ? L"Msxml2.DOMDocument.4.0" : L"Msxml.DOMDocument");
  auto document = object.As<IXMLDOMDocument>(IID_IXMLDOMDocument);
  if (!document) Fail(kInterfaceNotSupported);
  return WrapDocument(std::move(document));
}

}  // namespace quenlor::dom
