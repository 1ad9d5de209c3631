#pragma once
// Texts of packages are 8-bit strings of the system code page. These helpers
// convert them to and from UTF-8 where they meet Qt, JSON or file names, and
// case-map them the way the system code page does.
//
// The code page is Windows-1252 unless the environment variable
// SCRPLAYER_CODEPAGE names another iconv encoding.

#include <string>
#include <string_view>

namespace scr {

// The iconv name of the code page in use.
std::string SystemCodePage();

// 8-bit code-page text -> UTF-8. Bytes the code page does not define become U+FFFD.
std::string DecodeCodePage(std::string_view text);
// UTF-8 -> 8-bit code-page text. Characters the code page lacks become '?'.
std::string EncodeCodePage(std::string_view utf8);

// Locale-aware case mapping of 8-bit code-page text (for example "\xC9" <-> "\xE9"
// in Windows-1252). Bytes whose mapping leaves the code page stay as they are.
std::string AnsiLowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);

} // namespace scr
