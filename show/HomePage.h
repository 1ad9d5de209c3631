#pragma once
// The author's home page that F2 asks for when the show ends.

#include <string>

namespace scr {

// The address to open for a stored home page text: the text without leading
// and trailing blanks and control characters, when it begins with "http";
// otherwise empty (nothing is opened).
std::string HomePageAddress(const std::string& stored);

// Opens an address with the desktop's default handler; nothing for "".
void OpenHomePage(const std::string& address);

} // namespace scr
