// Names and strings in type library files are 8-bit text in the library's ANSI code page.
// The platform converts them with the process's ANSI code page, Windows-1252 on the
// systems this program meets; the built-in reader does the same.
#pragma once

#include <string>
#include <string_view>

namespace quenlor::typelib::reader {

std::string AnsiToUtf8(std::string_view text);

}  // namespace quenlor::typelib::reader
