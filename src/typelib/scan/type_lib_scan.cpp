#include "typelib/scan/type_lib_scan.h"

namespace quenlor::typelib::scan {

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

xml::DocumentPtr LoadTypeLibDescription(const std::string& path, ReaderKind reader) {
  std::shared_ptr<ITypeLibAccess> lib;
  return LoadTypeLibDescription(path, reader, lib);
}

xml::DocumentPtr LoadTypeLibDescription(const std::string& path, ReaderKind reader,
                                        std::shared_ptr<ITypeLibAccess>& library) {
  xml::DocumentPtr document = xml::CreateDocument();
  const xml::NodePtr root = document->ForceRoot("typelib");
  // Success codes other than S_OK count as failures here: only a clean load is described.
  if (LoadTypeLibrary(path, reader, library) != kOk || !library) return nullptr;
  ScanTypeLib(*library, root);
  return document;
}

void ScanTypeLib(ITypeLibAccess& lib, const xml::NodePtr& root) {
  root->Attributes()->Values()->WriteString("name", LibraryName(lib));
  const unsigned count = lib.GetTypeInfoCount();
  for (unsigned index = 0; index < count; ++index) {
    std::shared_ptr<ITypeInfoAccess> type_info;
    if (Failed(lib.GetTypeInfo(index, type_info)) || !type_info) continue;
    TypeAttr attr;
    if (Failed(type_info->GetTypeAttr(attr))) continue;
    switch (attr.typekind) {
      case TKIND_ENUM_: WriteEnum(root, *type_info, attr); break;
      case TKIND_RECORD_: WriteRecord(root, *type_info, attr); break;
      case TKIND_MODULE_: WriteModule(root, *type_info, attr); break;
      case TKIND_INTERFACE_: WriteInterface(root, *type_info, attr); break;
      case TKIND_DISPATCH_: WriteDispInterface(root, *type_info, attr); break;
      case TKIND_COCLASS_: WriteCoClass(root, *type_info, attr); break;
      case TKIND_ALIAS_: WriteAlias(root, *type_info, attr); break;
      case TKIND_UNION_: WriteUnion(root, *type_info, attr); break;
      default: break;  // a kind this program does not know is not described
    }
  }
}

std::string LibraryName(ITypeLibAccess& lib) {
  Documentation doc;
  if (Failed(lib.GetDocumentation(-1, doc))) return kImportedName;
  return IdentifierText(doc.name);
}

xml::NodePtr AddTypeItem(const xml::NodePtr& root, std::string_view collection_name, std::string_view item_name) {
  return ForceChild(root, collection_name)->Nodes()->Add(item_name);
}

void WriteTypeHeader(ITypeInfoAccess& type_info, const TypeAttr& type_attr, const xml::NodePtr& item) {
  if (!type_attr.guid.IsNull()) ForceChild(item, "guid")->SetText(GuidText(type_attr.guid));
  Documentation doc;
  if (Succeeded(type_info.GetDocumentation(kMemberIdNil, doc))) {
    if (!doc.doc_string.empty()) ForceChild(item, "help")->SetText(doc.doc_string);
    item->Attributes()->Values()->WriteString("name", TypeOwnName(doc.name));
  }
  if (type_attr.w_type_flags & kTypeFlagDual) item->Attributes()->Values()->WriteBool("dual", true);
}

}  // namespace quenlor::typelib::scan
