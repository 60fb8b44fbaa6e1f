// Conversion between Windows-1252 text (the system's stored texts, INI values
// and paths) and UTF-8 (Linux file names, the desktop).
//
// Windows-1252 leaves five bytes unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D);
// they map to the C1 control characters of the same number and back, so every
// byte survives a round trip through UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace os {

// The UTF-8 form of Windows-1252 bytes. Never fails; NUL bytes are kept.
std::string cp1252ToUtf8(std::string_view text);

// The Windows-1252 form of UTF-8 text. A character that Windows-1252 cannot
// hold, and each byte of invalid UTF-8 (a stray continuation byte, a cut or
// overlong sequence, a surrogate, a code beyond U+10FFFF), becomes "?". When
// `exact` is given it is set to false if anything was replaced, else true.
std::string utf8ToCp1252(std::string_view text, bool* exact = nullptr);

} // namespace os
