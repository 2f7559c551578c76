// The type library description: one XML document holding everything a loaded type library
// declares, root `typelib`, one collection element per kind of type met, one item element
// per type. Written only through the type library access port and the XML layer, so the
// platform's reader and the built-in one are served by the same code.
//
// Nothing here reports an error of its own: data that cannot be read is left out or written
// as a marker text ("cannot convert", "Imported", "xxx"). Errors of the XML layer pass
// through to the caller.
//
// The writers live in their own namespace: the access layer below has helpers of its own
// (a GUID text for its dumps and registry keys) that must not collide with these.
#pragma once

#include <string>

#include "typelib/access.h"
#include "description/type_naming.h"
#include "xml/xml_objects.h"

namespace quenlor::description {

// The library's name, when it does not report one.
inline constexpr const char* kImportedName = "Imported";
// The `ref` text of a parameter whose flags hold none of the words.
inline constexpr const char* kUnknownParamFlags = "xxx";

// --- Scan driver -----------------------------------------------------------------------

// The description of the library in `path` (UTF-8), or a null document when the reader does
// not return exactly kOk for it.
xml::DocumentPtr LoadTypeLibDescription(const std::string& path, typelib::ReaderKind reader = typelib::DefaultReader());
// The same, handing the loaded library to the caller instead of freeing it on return (a
// command that exits next need not free it at all).
xml::DocumentPtr LoadTypeLibDescription(const std::string& path, typelib::ReaderKind reader,
                                        std::shared_ptr<typelib::ITypeLibAccess>& library);

// Writes the library's name and every type of `lib`, in index order, under `root`.
void ScanTypeLib(typelib::ITypeLibAccess& lib, const xml::NodePtr& root);

// The library's name, or "Imported".
std::string LibraryName(typelib::ITypeLibAccess& lib);

// --- Items -----------------------------------------------------------------------------

// A new, empty item element appended to the collection `collection_name` under `root`,
// which is created when missing.
xml::NodePtr AddTypeItem(const xml::NodePtr& root, std::string_view collection_name, std::string_view item_name);

// The header every item starts with: `guid` and `help` children, `name` and `dual` attributes.
void WriteTypeHeader(typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr, const xml::NodePtr& item);

// --- Functions, interfaces and dispinterfaces ------------------------------------------

// A parameter's `ref` text: "in", a list drawn from "ptr,opt,in,out,retval", or "xxx".
std::string ParamFlagsText(const typelib::ElemDesc& param);
// A function's `call` text; empty for conventions without a name.
std::string CallConvText(const typelib::FuncDesc& func);
// A dispinterface function's invocation word: "func", "get", "put", "putref" or empty.
std::string InvokeKindText(const typelib::FuncDesc& func);

// Appends the `params` or `prop` element and the `result` element of `func` to `node`.
void WriteSignature(const xml::NodePtr& node, typelib::ITypeInfoAccess& type_info, const typelib::FuncDesc& func);
// Appends one `method` to an interface item (creating its `methods`) and returns it.
xml::NodePtr WriteMethod(const xml::NodePtr& item, typelib::ITypeInfoAccess& type_info, const typelib::FuncDesc& func);

// The writers the scan driver calls, one per type kind; each appends exactly one item.
void WriteInterface(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteDispInterface(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteEnum(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteRecord(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteUnion(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteAlias(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteCoClass(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);
void WriteModule(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr);

// A string constant as a Pascal literal: single-quoted runs and #nn codes for control
// characters, "''" for the empty string. Bytes from 128 up (UTF-8 sequences) stay inside
// the quoted run unchanged.
std::string QuoteString(std::string_view value);

}  // namespace quenlor::description
