// The type library access port: what the description writer may ask of a loaded type
// library, in the shape of the platform's ITypeLib / ITypeInfo and their records, as values.
// Two adapters deliver it: the platform's OLE Automation (Windows build) and the built-in
// reader (both builds). Both must deliver the same types, records, names and failures.
//
// Calls return an HRESULT-style status (negative = failure) and fill their out-parameters
// only on success. Interfaces are shared_ptr: RAII instead of the platform's release calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/variant.h"

namespace quenlor::typelib {

using HResult = std::int32_t;
using MemberId = std::int32_t;
using HRefType = std::uint32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001u);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);
inline constexpr HResult kEOutOfMemory = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult kTypeEElementNotFound = static_cast<HResult>(0x8002802Bu);
inline constexpr HResult kTypeECantLoadLibrary = static_cast<HResult>(0x80029C4Au);
inline constexpr HResult kTypeEInvDataRead = static_cast<HResult>(0x80028018u);
inline constexpr HResult kTypeEUnsupFormat = static_cast<HResult>(0x80028019u);
inline constexpr HResult kTypeELibNotRegistered = static_cast<HResult>(0x8002801Du);
inline constexpr HResult kTypeEBadModuleKind = static_cast<HResult>(0x800288BDu);
inline constexpr HResult kStgEFileNotFound = static_cast<HResult>(0x80030002u);
inline constexpr HResult kStgEPathNotFound = static_cast<HResult>(0x80030003u);

inline bool Succeeded(HResult hr) { return hr >= 0; }
inline bool Failed(HResult hr) { return hr < 0; }

inline constexpr MemberId kMemberIdNil = -1;

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};
  bool operator==(const Guid&) const = default;
  bool IsNull() const { return *this == Guid{}; }
};

// Flag bits of the records below, with the platform's values (PARAMFLAG_*, TYPEFLAG_*,
// VARFLAG_*, FUNC_DISPATCH).
inline constexpr std::uint16_t kParamIn = 0x01, kParamOut = 0x02, kParamLcid = 0x04, kParamRetval = 0x08,
                               kParamOpt = 0x10, kParamHasDefault = 0x20;
inline constexpr std::uint16_t kTypeFlagDual = 0x40, kTypeFlagOleAutomation = 0x100;
inline constexpr std::uint16_t kVarFlagReadOnly = 0x01;
inline constexpr std::uint32_t kFuncDispatch = 4;

// Registry form: 38 characters, braces, upper-case hexadecimal digits.
std::string GuidText(const Guid& guid);

enum TypeKind : std::uint32_t {
  TKIND_ENUM_ = 0, TKIND_RECORD_ = 1, TKIND_MODULE_ = 2, TKIND_INTERFACE_ = 3,
  TKIND_DISPATCH_ = 4, TKIND_COCLASS_ = 5, TKIND_ALIAS_ = 6, TKIND_UNION_ = 7,
};

struct ArrayDesc;

// TYPEDESC. For VT_PTR and VT_SAFEARRAY, `pointee` is the pointed-to description; a null
// pointee stands for a target the platform's IsBadReadPtr would report unreadable.
struct TypeDesc {
  std::uint16_t vt = 0;
  std::shared_ptr<const TypeDesc> pointee;
  std::shared_ptr<const ArrayDesc> array;  // VT_CARRAY
  HRefType hreftype = 0;                   // VT_USERDEFINED
};

struct SafeArrayBound {
  std::uint32_t elements = 0;
  std::int32_t lower_bound = 0;
};

// ARRAYDESC: element type and one bound per dimension (cDims = bounds.size()).
struct ArrayDesc {
  TypeDesc element;
  std::vector<SafeArrayBound> bounds;
};

// ELEMDESC with its PARAMDESC (IDLDESC shares the flags word). default_value is the
// PARAMDESCEX value, present when the flags hold PARAMFLAG_FHASDEFAULT. It is held apart and
// shared: few parameters have one, and every function, parameter and copy of them would
// otherwise carry the room for it.
struct ElemDesc {
  TypeDesc tdesc;
  std::uint16_t param_flags = 0;
  std::shared_ptr<const Variant> default_value;
};

struct TypeAttr {
  Guid guid;
  std::uint32_t lcid = 0;
  MemberId memid_constructor = kMemberIdNil;
  MemberId memid_destructor = kMemberIdNil;
  std::uint32_t cb_size_instance = 0;
  TypeKind typekind = TKIND_ENUM_;
  std::uint16_t c_funcs = 0;
  std::uint16_t c_vars = 0;
  std::uint16_t c_impl_types = 0;
  std::uint16_t cb_size_vft = 0;
  std::uint16_t cb_alignment = 0;
  std::uint16_t w_type_flags = 0;
  std::uint16_t w_major_ver_num = 0;
  std::uint16_t w_minor_ver_num = 0;
  TypeDesc tdesc_alias;  // TKIND_ALIAS only
  std::uint16_t idl_flags = 0;
};

struct FuncDesc {
  MemberId memid = 0;
  std::vector<std::int32_t> scodes;
  std::vector<ElemDesc> params;  // cParams entries
  std::uint32_t funckind = 0;    // FUNC_VIRTUAL 0, FUNC_PUREVIRTUAL 1, FUNC_NONVIRTUAL 2, FUNC_STATIC 3, FUNC_DISPATCH 4
  std::uint32_t invkind = 0;     // INVOKE_FUNC 1, PROPERTYGET 2, PROPERTYPUT 4, PROPERTYPUTREF 8
  std::uint32_t callconv = 0;    // CC_FASTCALL 0, CC_CDECL 1, CC_PASCAL 2, CC_STDCALL 4, ...
  std::int16_t c_params = 0;
  std::int16_t c_params_opt = 0;
  std::int16_t o_vft = 0;
  std::int16_t c_scodes = 0;
  ElemDesc elemdesc_func;
  std::uint16_t w_func_flags = 0;
};

struct VarDesc {
  MemberId memid = 0;
  std::uint32_t o_inst = 0;       // VAR_PERINSTANCE, VAR_DISPATCH
  std::optional<Variant> value;   // VAR_CONST: lpvarValue
  ElemDesc elemdesc_var;
  std::uint16_t w_var_flags = 0;
  std::uint32_t varkind = 0;      // VAR_PERINSTANCE 0, VAR_STATIC 1, VAR_CONST 2, VAR_DISPATCH 3
};

struct LibAttr {
  Guid guid;
  std::uint32_t lcid = 0;
  std::uint32_t syskind = 0;
  std::uint16_t w_major_ver_num = 0;
  std::uint16_t w_minor_ver_num = 0;
  std::uint16_t w_lib_flags = 0;
};

struct Documentation {
  std::string name;
  std::string doc_string;
  std::uint32_t help_context = 0;
  std::string help_file;
};

class ITypeLibAccess;

class ITypeInfoAccess {
 public:
  virtual ~ITypeInfoAccess() = default;
  virtual HResult GetTypeAttr(TypeAttr& out) = 0;
  // memid -1 documents the type itself.
  virtual HResult GetDocumentation(MemberId memid, Documentation& out) = 0;
  virtual HResult GetFuncDesc(unsigned index, FuncDesc& out) = 0;
  virtual HResult GetVarDesc(unsigned index, VarDesc& out) = 0;
  // Up to max_names names: the member's own, then its parameters'.
  virtual HResult GetNames(MemberId memid, unsigned max_names, std::vector<std::string>& out) = 0;
  virtual HResult GetRefTypeOfImplType(unsigned index, HRefType& out) = 0;
  virtual HResult GetImplTypeFlags(unsigned index, std::int32_t& out) = 0;
  virtual HResult GetRefTypeInfo(HRefType href, std::shared_ptr<ITypeInfoAccess>& out) = 0;
  // The library that holds this type and the type's index in it.
  virtual HResult GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) = 0;
};

class ITypeLibAccess {
 public:
  virtual ~ITypeLibAccess() = default;
  // index -1 documents the library itself.
  virtual HResult GetDocumentation(int index, Documentation& out) = 0;
  virtual unsigned GetTypeInfoCount() = 0;
  virtual HResult GetTypeInfo(unsigned index, std::shared_ptr<ITypeInfoAccess>& out) = 0;
  virtual HResult GetTypeInfoType(unsigned index, TypeKind& out) = 0;
  virtual HResult GetLibAttr(LibAttr& out) = 0;
};

enum class ReaderKind {
  Builtin,   // the built-in reader; the only one in the Linux build
  Platform,  // the platform's LoadTypeLibEx (Windows build)
};

// The reader used when none is asked for by the caller: QUENLOR_READER when set, else the
// platform's advice (reader_choice.h). Throws Error for a QUENLOR_READER it cannot take.
ReaderKind DefaultReader();

// Loads a type library without registering it (LoadTypeLibEx with REGKIND_NONE). `path` is
// UTF-8; a trailing "\N" chooses the TYPELIB resource N of an executable image. Callers rely
// on exactly kOk for success.
HResult LoadTypeLibrary(const std::string& path, ReaderKind reader, std::shared_ptr<ITypeLibAccess>& out);

}  // namespace quenlor::typelib
