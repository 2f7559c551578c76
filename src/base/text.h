// Text helpers shared by every subsystem. Text inside the program is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quenlor {

// UTF-8 <-> UTF-16 for the platform boundaries (COM, Win32, type library strings).
// Ill-formed input is replaced by U+FFFD, never dropped silently or trusted.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Appends the UTF-8 form of one code point (the caller sees that it is one).
void AppendUtf8(std::string& out, char32_t code_point);

// The value of one hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// The text between the index-th and the (index+1)-th separator (from 0), the last field
// running to the end; empty when the text has fewer fields or the index is negative. Not
// trimmed. The catalogue's list items are "name|id|filepath".
std::string_view ItemField(std::string_view text, int index, char separator = '|');

// Trims leading and trailing blanks and control characters (codes up to 32).
std::string_view TrimBlanks(std::string_view text);

// Upper-/lower-cases the ASCII letters only; other bytes are unchanged.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace quenlor
