// Stands in for the SLTG parser while reader/ has none: SLTG images do not load.
#include "typelib/reader/model.h"

namespace quenlor::typelib::reader {

HResult ParseSltg(std::span<const std::uint8_t>, Library&) { return kTypeECantLoadLibrary; }

}  // namespace quenlor::typelib::reader
