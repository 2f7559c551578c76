#include "description/type_lib_scan.h"

namespace quenlor::description {

namespace {

// The first child element called `name`, appended when there is none: what a path query for
// a plain name finds, or what an element's Values write to. Items and the root hold a
// handful of children, so looking through them costs less than compiling a query per type.
xml::NodePtr ForceChild(const xml::NodePtr& node, std::string_view name) {
  const xml::NodesPtr children = node->Nodes();
  for (int i = 0, count = children->Count(); i < count; ++i) {
    xml::NodePtr child = children->GetNode(i);
    if (child && child->Name() == name) return child;
  }
  return children->Add(name);
}

}  // namespace

xml::DocumentPtr LoadTypeLibDescription(const std::string& path, typelib::ReaderKind reader) {
  std::shared_ptr<typelib::ITypeLibAccess> lib;
  return LoadTypeLibDescription(path, reader, lib);
}

xml::DocumentPtr LoadTypeLibDescription(const std::string& path, typelib::ReaderKind reader,
                                        std::shared_ptr<typelib::ITypeLibAccess>& library) {
  xml::DocumentPtr document = xml::CreateDocument();
  const xml::NodePtr root = document->ForceRoot("typelib");
  // Success codes other than S_OK count as failures here: only a clean load is described.
  if (typelib::LoadTypeLibrary(path, reader, library) != typelib::kOk || !library) return nullptr;
  ScanTypeLib(*library, root);
  return document;
}

void ScanTypeLib(typelib::ITypeLibAccess& lib, const xml::NodePtr& root) {
  root->Attributes()->Values()->WriteString("name", LibraryName(lib));
  const unsigned count = lib.GetTypeInfoCount();
  for (unsigned index = 0; index < count; ++index) {
    std::shared_ptr<typelib::ITypeInfoAccess> type_info;
    if (typelib::Failed(lib.GetTypeInfo(index, type_info)) || !type_info) continue;
    typelib::TypeAttr attr;
    if (typelib::Failed(type_info->GetTypeAttr(attr))) continue;
    switch (attr.typekind) {
      case typelib::TKIND_ENUM_: WriteEnum(root, *type_info, attr); break;
      case typelib::TKIND_RECORD_: WriteRecord(root, *type_info, attr); break;
      case typelib::TKIND_MODULE_: WriteModule(root, *type_info, attr); break;
      case typelib::TKIND_INTERFACE_: WriteInterface(root, *type_info, attr); break;
      case typelib::TKIND_DISPATCH_: WriteDispInterface(root, *type_info, attr); break;
      case typelib::TKIND_COCLASS_: WriteCoClass(root, *type_info, attr); break;
      case typelib::TKIND_ALIAS_: WriteAlias(root, *type_info, attr); break;
      case typelib::TKIND_UNION_: WriteUnion(root, *type_info, attr); break;
      default: break;  // a kind this program does not know is not described
    }
  }
}

std::string LibraryName(typelib::ITypeLibAccess& lib) {
  typelib::Documentation doc;
  if (typelib::Failed(lib.GetDocumentation(-1, doc))) return kImportedName;
  return IdentifierText(doc.name);
}

xml::NodePtr AddTypeItem(const xml::NodePtr& root, std::string_view collection_name, std::string_view item_name) {
  return ForceChild(root, collection_name)->Nodes()->Add(item_name);
}

void WriteTypeHeader(typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr, const xml::NodePtr& item) {
  if (!type_attr.guid.IsNull()) ForceChild(item, "guid")->SetText(typelib::GuidText(type_attr.guid));
  typelib::Documentation doc;
  if (typelib::Succeeded(type_info.GetDocumentation(typelib::kMemberIdNil, doc))) {
    if (!doc.doc_string.empty()) ForceChild(item, "help")->SetText(doc.doc_string);
    item->Attributes()->Values()->WriteString("name", TypeOwnName(doc.name));
  }
  if (type_attr.w_type_flags & typelib::kTypeFlagDual) item->Attributes()->Values()->WriteBool("dual", true);
}

}  // namespace quenlor::description
