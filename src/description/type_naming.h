// Type texts: the short names by which a type library description refers to a type
// ("Longint", "WideString", a referenced type's own name, an array form, "cannot convert"),
// and the registry text of a GUID.
#pragma once

#include <cstdint>
#include <string>

#include "typelib/access.h"

namespace quenlor::description {

// What a type that yields no text is called in the description.
inline constexpr const char* kCannotConvert = "cannot convert";

// The type text of a plain VARTYPE code; codes without a name give their decimal value.
std::string VarTypeName(std::uint16_t var_type);

// The type text of a fixed-size array's element code. Codes carrying the VT_VECTOR,
// VT_ARRAY, VT_BYREF or VT_RESERVED bits are spelled out as flag texts around the base
// code's text; what still cannot be named becomes "<Unknown " + 8 hex digits + ">".
std::string ElementTypeText(std::uint16_t var_type);

// The type text of a type description occurring in `type_info`, which resolves references.
std::string TypeDescText(typelib::ITypeInfoAccess& type_info, const typelib::TypeDesc& desc);

// A member's name (memid -1: the type's own, through TypeOwnName), or empty text when it
// cannot be read; made an identifier by IdentifierText.
std::string MemberName(typelib::ITypeInfoAccess& type_info, typelib::MemberId member_id);

// A name as an identifier can hold it, the same text for every reader and every XML tree:
// blanks around it are dropped, control characters (which XML cannot carry) are dropped, other ASCII characters that are
// no letter, digit or "_" become "_", and a leading digit gets a "_" in front. Bytes from
// 128 up are kept.
std::string IdentifierText(std::string_view name);

// A type's name as the description calls it: IdentifierText of its documented name, with
// "_" appended when it would read as one of the built-in type texts above (a record called
// Integer); a reference to the type is written with the same name.
std::string TypeOwnName(std::string_view documented_name);

}  // namespace quenlor::description
