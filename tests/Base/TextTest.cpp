// The text rules as tables: which codes are blanks, which letters fold, how a text splits.
#include "Base/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, BlanksAreTheCodesUpToSpace) {
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(code <= 32, IsBlank(static_cast<char>(code)));
    }
}

TEST(TextTest, TrimsBlanksAtBothEndsOnly) {
    struct TRow {
        const char* label;
        std::string text, trimmed;
    } rows[] = {
        {"empty", "", ""},
        {"blanks only", " \t\r\n", ""},
        {"control characters", std::string("\x01\x1F", 2) + "a" + std::string("\0", 1), "a"},
        {"inner blanks kept", "  a b\tc  ", "a b\tc"},
        {"code 127 and above kept", "\x7F" "a" "\xA0", "\x7F" "a" "\xA0"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.trimmed, TrimBlanks(row.text));
    }
}

TEST(TextTest, FoldsAsciiLettersOnly) {
    struct TRow {
        const char* label;
        std::string text, lower, upper;
    } rows[] = {
        {"letters", "UninstallString", "uninstallstring", "UNINSTALLSTRING"},
        {"next to the letter ranges", "@[`{", "@[`{", "@[`{"},
        {"accented letters stay", "\xC9t\xE9", "\xC9t\xE9", "\xC9T\xE9"},
        {"digits and signs", "A1-b_2", "a1-b_2", "A1-B_2"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.lower, AsciiLower(row.text));
        EXPECT_EQ(row.upper, AsciiUpper(row.text));
    }
}

TEST(TextTest, ComparesWithoutAsciiCase) {
    EXPECT_TRUE(SameTextAscii("UNINSTALLSTRING", "UninstallString"));
    EXPECT_TRUE(SameTextAscii("", ""));
    EXPECT_FALSE(SameTextAscii("Uninstall", "UninstallString"));
    EXPECT_FALSE(SameTextAscii("\xC9", "\xE9"));
    EXPECT_FALSE(SameTextAscii("@", "`"));
}

TEST(TextTest, SplitsAtEverySeparator) {
    struct TRow {
        const char* label;
        std::string text;
        char separator;
        TStringList parts;
    } rows[] = {
        {"empty text", "", ';', {""}},
        {"no separator", "abc", ';', {"abc"}},
        {"inner", "a;b;c", ';', {"a", "b", "c"}},
        {"empty parts kept", ";a;;b;", ';', {"", "a", "", "b", ""}},
        {"key path", "Software\\Tarnwick", '\\', {"Software", "Tarnwick"}},
        {"null character", std::string("a\0b", 3), '\0', {"a", "b"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.parts, SplitAt(row.text, row.separator));
    }
}

}  // namespace
