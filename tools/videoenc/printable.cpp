// Escaping of control bytes in printed paths; see printable.h.
#include "printable.h"

namespace videoenc {
namespace {

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

bool hasControlBytes(std::string_view text) {
    for (char c : text) {
        if (isControl(c)) return true;
    }
    return false;
}

std::string printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        if (!isControl(c)) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else {
            const auto byte = static_cast<unsigned char>(c);
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
        }
    }
    return shown;
}

}  // namespace videoenc
