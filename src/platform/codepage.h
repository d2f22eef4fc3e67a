#pragma once
// Conversions between the program's single-byte text (Windows code page
// 1252) and the encodings of the outside world: UTF-8 for the terminal and
// Qt, UTF-16 for registry values.

#include <string>
#include <string_view>

namespace vx::platform {

// The Unicode code point of a cp1252 byte. The five bytes cp1252 leaves
// undefined map to the C1 controls of the same value, as Windows maps them.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The cp1252 byte of a code point, or '?' when cp1252 cannot write it (the
// default character of the ANSI conversion).
char CodePointToCp1252(char32_t code_point);

std::string Cp1252ToUtf8(std::string_view text);

// Whether a cp1252 byte is a control character: below the space, DEL, or
// one of the five undefined bytes (C1 controls once converted). None of
// them belongs in a file name or on a terminal.
bool IsControl(unsigned char byte);

// A UTF-8 text for the terminal: every control character (C0, DEL, C1)
// written as \xNN, so that no text from the archives or the command line
// can move the cursor, recolour or retitle the operator's terminal.
std::string TerminalText(std::string_view utf8);

// A cp1252 text for the terminal: Cp1252ToUtf8, then TerminalText.
std::string Cp1252ToTerminal(std::string_view text);

// The lower-case form of a code point, for the case-insensitive names of
// Windows (files, registry keys and values); covers the letters cp1252 has.
char32_t FoldCase(char32_t code_point);

// A cp1252 text in lower case, by FoldCase.
std::string Cp1252Lower(std::string_view text);

// Code points of a UTF-8 text, for comparing names; malformed bytes are taken
// one by one as Latin-1.
std::u32string DecodeUtf8(std::string_view text);

// Malformed UTF-8 sequences become '?', like characters cp1252 lacks.
std::string Utf8ToCp1252(std::string_view text);

// UTF-16 code units to cp1252; a surrogate pair is one character ('?').
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace vx::platform
