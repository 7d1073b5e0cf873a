// Paths as our tools print them: a name must never start a line of its own in output that the main
// program reads line by line, so its control bytes are escaped.
#pragma once

#include <string>
#include <string_view>

namespace videoenc {

// True when the text holds a byte below 0x20 or 0x7F.
bool hasControlBytes(std::string_view text);

// The text with \n, \r and \t written as those two-character escapes and every other control byte as \xHH;
// everything else, a backslash too, as it is.
std::string printable(std::string_view text);

}  // namespace videoenc
