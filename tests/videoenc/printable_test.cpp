// Tests of the escaping of control bytes in printed paths.
#include <gtest/gtest.h>

#include "printable.h"

namespace {

TEST(Printable, EscapesControlBytesAndNothingElse) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"/v/plain name.avi", "/v/plain name.avi"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {std::string("\0\x01\x1f\x7f", 4), "\\x00\\x01\\x1f\\x7f"},
        {"back\\slash \\n stays", "back\\slash \\n stays"},
        {"ünïcødé 音声 \x80\xff", "ünïcødé 音声 \x80\xff"},  // bytes above 0x7F are no control bytes
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(videoenc::printable(c.text), c.shown);
        EXPECT_EQ(videoenc::hasControlBytes(c.text), c.text != c.shown) << c.shown;
    }
}

}  // namespace
