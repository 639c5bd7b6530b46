// The memory settings file's lookups after writes that move lines: its index of sections and
// keys must follow every insertion.
#include <gtest/gtest.h>

#include "platform/memory/MemoryIniFile.h"

namespace vantrel {
namespace {

TEST(MemoryIniFile, ReadsFollowWritesThatMoveTheLines) {
    MemoryIniFile file = MemoryIniFile::WithText(
        "[First]\r\na=1\r\n\r\n[Second]\r\nb=2\r\n[first]\r\nc=hidden\r\n[Third]\r\nd=4\r\n");
    EXPECT_EQ(file.ReadString("second", "B", ""), "2");
    file.WriteString("First", "new", "x");  // inserted after a=1: every later line moves
    file.WriteString("Second", "b", "two");
    file.WriteString("Fourth", "e", "5");
    file.WriteString("Second", "f", "6");

    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] =
        {
            {"First", "a", "1"},      {"First", "new", "x"}, {"Second", "b", "two"},
            {"Second", "f", "6"},     {"Third", "d", "4"},   {"Fourth", "e", "5"},
            {"First", "c", "(none)"},  // a key of a second section of the same name is not seen
        };
    for (const Case& c : cases)
        EXPECT_EQ(file.ReadString(c.section, c.key, "(none)"), c.value)
            << c.section << "/" << c.key;
    EXPECT_EQ(file.Text(),
              "[First]\r\na=1\r\nnew=x\r\n\r\n[Second]\r\nb=two\r\nf=6\r\n[first]\r\nc=hidden\r\n"
              "[Third]\r\nd=4\r\n[Fourth]\r\ne=5\r\n");
}

}  // namespace
}  // namespace vantrel
