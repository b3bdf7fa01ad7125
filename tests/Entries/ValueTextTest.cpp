// The details' texts of registry values: text as stored, other data in the registry editor's
// notation.
#include "Entries/ValueText.h"

#include <gtest/gtest.h>

namespace {

TEST(ValueTextTest, ShowsEachTypeInTheRegistryEditorsNotation) {
    using namespace std::string_literals;
    struct TCase {
        const char* label;
        DWORD type;
        std::string data;
        std::string shown;
    };
    const TCase cases[] = {
        {"string up to its null", REG_SZ, "C:\\x.exe /u\0junk"s, "C:\\x.exe /u"},
        {"expandable string unexpanded", REG_EXPAND_SZ, "%SystemRoot%\\x.exe\0"s, "%SystemRoot%\\x.exe"},
        {"string without data", REG_SZ, "", ""},
        {"dword", REG_DWORD, "\x0a\0\0\0"s, "0x0000000a (10)"},
        {"dword zero", REG_DWORD, "\0\0\0\0"s, "0x00000000 (0)"},
        {"dword is little-endian and unsigned", REG_DWORD, "\xfe\xff\xff\xff"s, "0xfffffffe (4294967294)"},
        {"dword without data", REG_DWORD, "", ""},
        {"dword of 2 bytes shows its bytes", REG_DWORD, "\x01\x02", "01 02"},
        {"qword", REG_QWORD, "\xef\xcd\xab\x34\x12\0\0\0"s, "0x0000001234abcdef (78193085935)"},
        {"qword all ones", REG_QWORD, std::string(8, '\xff'), "0xffffffffffffffff (18446744073709551615)"},
        {"qword of 4 bytes shows its bytes", REG_QWORD, "\x01\0\0\0"s, "01 00 00 00"},
        {"binary", REG_BINARY, "\x00\x1f\xa0\xff"s, "00 1f a0 ff"},
        {"binary without data", REG_BINARY, "", ""},
        {"multi-string", REG_MULTI_SZ, "one\0two words\0\0"s, "one two words"},
        {"multi-string ends at its empty string", REG_MULTI_SZ, "a\0\0b\0\0"s, "a"},
        {"multi-string without its final nulls", REG_MULTI_SZ, "a\0b"s, "a b"},
        {"big-endian dword shows its bytes", REG_DWORD_BIG_ENDIAN, "\0\0\0\x0a"s, "00 00 00 0a"},
        {"none", REG_NONE, "\x01", "01"},
        {"unknown type", 99, "\x05\x06", "05 06"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.shown, ValueDisplayText({c.type, c.data}));
    }
}

}  // namespace
