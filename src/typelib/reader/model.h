// The built-in reader's model of one parsed type library, independent of the file format.
//
// A format parser (ParseMsft, ParseSltg, picked by ReadTypeLibrary in reader.h) fills a `Library` with what the file stores, after
// validating it; nothing here is a view yet. The access layer (builtin_access.cpp) turns the
// model into what the platform presents: dual interfaces as two views, the IUnknown/IDispatch
// functions borrowed from the base chain, references resolved into other libraries. So a
// parser records the stored facts only:
//   - `TypeInfo::kind` is the kind as stored (a dual interface is TKIND_DISPATCH_ with FDUAL,
//     its funcs are the vtable functions as stored: FUNC_PUREVIRTUAL, HRESULT/[retval] form);
//   - `TypeInfo::impls` holds the stored implemented/base types (for an interface or a dual
//     or "syntax 2" dispinterface its base, for a coclass its interfaces; a pure
//     dispinterface has none: the access layer supplies IDispatch);
//   - every valid HRefType that appears in a TypeDesc or ImplType has an entry in
//     `Library::refs` saying what it refers to (a local type by index, or a type of an
//     imported library by GUID or index); a handle without an entry fails where the
//     platform fails (GetRefTypeInfo). The numbers are the parser's choice, below
//     0x80000000 (the access layer uses the upper half for its own handles).
//   - names, strings are UTF-8; constant values and defaults are Variants.
// Counts and sizes are validated by the parser: the access layer trusts that every
// reference index is in range.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/variant.h"
#include "typelib/access.h"
#include "typelib/reader/failure.h"

namespace quenlor::typelib::reader {

struct CustomDatum {
  Guid guid;
  Variant value;
};

struct Param {
  std::string name;  // empty when unnamed
  ElemDesc elem;     // type, PARAMFLAGS, default value (when FHASDEFAULT)
  std::vector<CustomDatum> custom;
};

struct Func {
  MemberId memid = 0;
  std::string name;
  std::uint32_t funckind = 0;
  std::uint32_t invkind = 1;
  std::uint32_t callconv = 4;
  std::int16_t c_params_opt = 0;  // -1 for [vararg]
  std::int16_t o_vft = 0;         // vtable byte offset as stored (flag bits cleared)
  std::uint16_t flags = 0;        // FUNCFLAGS
  ElemDesc ret;                   // elemdescFunc
  std::vector<Param> params;
  std::string doc_string;
  std::uint32_t help_context = 0;
  std::uint32_t help_string_context = 0;
  // Modules: the DLL entry point, by name or by ordinal.
  std::optional<std::string> entry_name;
  std::optional<std::uint16_t> entry_ordinal;
  std::vector<CustomDatum> custom;
};

struct Var {
  MemberId memid = 0;
  std::string name;
  ElemDesc elem;
  std::uint16_t flags = 0;        // VARFLAGS
  std::uint32_t varkind = 0;      // VAR_PERINSTANCE 0, VAR_STATIC 1, VAR_CONST 2, VAR_DISPATCH 3
  std::uint32_t o_inst = 0;       // per-instance: byte offset
  std::optional<Variant> value;   // VAR_CONST
  std::string doc_string;
  std::uint32_t help_context = 0;
  std::uint32_t help_string_context = 0;
  std::vector<CustomDatum> custom;
};

struct ImplType {
  HRefType href = 0;
  std::int32_t flags = 0;  // IMPLTYPEFLAGS
  std::vector<CustomDatum> custom;
};

struct TypeInfo {
  std::string name;
  std::string doc_string;
  std::uint32_t help_context = 0;
  std::uint32_t help_string_context = 0;
  Guid guid;
  TypeKind kind = TKIND_ENUM_;     // as stored
  std::uint16_t flags = 0;         // TYPEFLAGS as stored
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint32_t lcid = 0;
  std::uint32_t cb_size_instance = 0;
  std::uint16_t cb_alignment = 0;
  std::uint16_t cb_size_vft = 0;   // as stored
  TypeDesc alias;                  // TKIND_ALIAS_
  std::string dll_name;            // TKIND_MODULE_
  std::vector<Func> funcs;
  std::vector<Var> vars;
  std::vector<ImplType> impls;
  std::vector<CustomDatum> custom;
};

struct ImportedLibrary {
  Guid libid;
  std::uint32_t lcid = 0;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string file_name;  // as recorded, usually the last path component
};

// What a stored HRefType refers to.
struct RefTarget {
  bool imported = false;
  std::uint32_t local_index = 0;     // !imported: index in Library::types
  std::uint32_t library = 0;         // imported: index in Library::imports
  bool by_guid = false;              // imported: find the type by `guid`, else by `index`
  Guid guid;
  std::uint32_t index = 0;
};

struct Library {
  Guid guid;
  std::uint32_t lcid = 0;            // TLIBATTR.lcid
  std::uint32_t syskind = 1;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t lib_flags = 0;       // as stored; the access layer adds FHASDISKIMAGE for MSFT
  bool msft = false;                 // set by the loader: the image was in the MSFT format
  std::string name;
  std::string doc_string;
  std::string help_file;
  std::string help_string_dll;
  std::uint32_t help_context = 0;
  std::uint32_t help_string_context = 0;
  std::vector<TypeInfo> types;
  std::vector<ImportedLibrary> imports;
  std::unordered_map<HRefType, RefTarget> refs;
  // The stored reference to IDispatch (usually stdole2's) that every dispatch view reports
  // as its implemented type 0; none when the library never refers to IDispatch.
  std::optional<HRefType> dispatch_href;
  // Parsed from an SLTG image. The platform presents such a library's stored sizes as
  // stored (cbSizeInstance/cbAlignment of interfaces, cbSizeVft unscaled) and does not add
  // LIBFLAG_FHASDISKIMAGE to its flags.
  bool sltg = false;
  std::vector<CustomDatum> custom;
};

// Parsers of the two formats. `image` is the type library image (a whole file or a
// TYPELIB resource). On failure they return the platform's failure code with the check
// that fired and leave `out` unspecified; they never read outside `image` and bound every
// allocation by its size.
ReadResult ParseMsft(std::span<const std::uint8_t> image, Library& out);
ReadResult ParseSltg(std::span<const std::uint8_t> image, Library& out);

}  // namespace quenlor::typelib::reader
