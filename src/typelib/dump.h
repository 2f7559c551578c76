// The canonical text form of everything the access port delivers for one library: how users
// inspect a library and how the built-in reader is compared with the platform's.
//
// Reference handles (HREFTYPEs) are opaque numbers that differ between readers, so the dump
// prints what a handle resolves to (type name, containing library and index), never the
// number itself.
#pragma once

#include <string>

#include "typelib/access.h"

namespace quenlor::typelib {

std::string DumpTypeLibrary(ITypeLibAccess& lib);

// "0x80029C4A" style text of a status code.
std::string HResultText(HResult hr);

}  // namespace quenlor::typelib
