// Registration files: the layout an export writes, imports of both versions into the scratch
// registry with every type kept, and hostile files that must change nothing.
#include "Entries/RegFile.h"

#include "Base/Exception.h"
#include "Entries/CodePage.h"
#include "KeyTrees.h"
#include "ScratchFolder.h"
#include "ScratchRegistry.h"

namespace {

std::string Utf16File(const std::wstring& text) { return "\xFF\xFE" + Utf16Bytes(text); }
std::string BigEndianFile(const std::wstring& text) {
    std::string bytes = "\xFE\xFF" + Utf16Bytes(text);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

const std::wstring kUninstall = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The keys of `tree` as a file lists them: the key, then its subkeys, depth first.
void Flatten(const TKeyTree& tree, std::vector<std::wstring> path, std::vector<TRegFileKey>& keys) {
    path.push_back(tree.name);
    keys.push_back({path, tree.values});
    for (const TKeyTree& subtree : tree.subkeys) Flatten(subtree, path, keys);
}

class RegFileTest : public ScratchRegistryTest {
protected:
    TScratchFolder folder_;
};

TEST_F(RegFileTest, AnExportIsLaidOutAsTheRegistryEditorWritesAndReadsBackExactly) {
    const TKeyTree tree = EveryKindOfEntry(L"Every kind");
    const std::wstring text = RegFileText(tree, kMachine32Location);
    const std::wstring key = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
                             L"\\Every kind]\r\n";
    EXPECT_EQ(0u, text.find(L"Windows Registry Editor Version 5.00\r\n\r\n" + key));
    for (const wchar_t* line : {L"\r\n\"DisplayName\"=\"Quote \\\" and \\\\ back\"\r\n", L"\r\n@=\"default\"\r\n",
                                L"\r\n\"Cut\"=hex(1):61,00,00,00,61,00,66,00,74,00,65,00,72,00,00,00\r\n",
                                L"\r\n\"Empty\"=hex(1):\r\n", L"\r\n\"Size\"=dword:12345678\r\n",
                                L"\r\n\"Short\"=hex(4):01\r\n", L"\r\n\"Own \\\"type\\\"\"=hex(12345):63,75,73,74,6f,6d\r\n",
                                L"\r\n\"Ελληνικά\"=\"中文\"\r\n"})
        EXPECT_NE(std::wstring::npos, text.find(line)) << DisplayName(line);
    // Hex data breaks at 80 columns: 25 bytes a continued line, each line ending in "\".
    const size_t blob = text.find(L"\"Blob\"=hex:");
    ASSERT_NE(std::wstring::npos, blob);
    std::wstring blobLines = L"\"Blob\"=hex:";
    for (int i = 0; i < 22; ++i) blobLines += L"ab,";
    blobLines += L"\\\r\n  ab,";
    EXPECT_EQ(blobLines, text.substr(blob, blobLines.size()));
    for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        if (text[start] != L'[') {
            EXPECT_LE(end - start, 80u) << DisplayName(text.substr(start, end - start));
        }

    std::vector<TRegFileKey> expected;
    Flatten(tree, {}, expected);
    const std::vector<TRegFileKey> keys = ParseRegFile(Utf16File(text), "x.reg", kMachine32Location);
    ASSERT_EQ(expected.size(), keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(expected[i].path, keys[i].path) << i;
        EXPECT_EQ(expected[i].values, keys[i].values) << i;
    }
}

TEST_F(RegFileTest, ImportsBothVersionsIntoTheLocationTheFileNames) {
    const std::string version5 = folder_.Path("five.reg"), version4 = folder_.Path("four.reg");
    TScratchFolder::WriteBytes(version5, Utf16File(RegFileText(EveryKindOfEntry(L"Every kind"), kMachine64Location)));
    // REGEDIT4 holds 8-bit text, also in the data of its hex(2) values.
    TScratchFolder::WriteBytes(version4, "REGEDIT4\r\n\r\n; a comment\r\n[" + DisplayName(kUninstall) +
                                             "\\Old]\r\n\"DisplayName\"=\"Old\"\r\n\"Path\"=hex(2):25,41,25,\\\r\n"
                                             "  00\r\n\"Size\"=dword:a\r\n");
    ImportRegFile(version5, kMachine64Location);
    ImportRegFile(version4, kMachine64Location);
    EXPECT_EQ(Sorted(EveryKindOfEntry(L"Every kind")), ReadEntryTree(kMachine64Location, L"Every kind"));
    EXPECT_EQ((std::vector<TKeyValue>{{L"DisplayName", REG_SZ, Utf16Bytes(std::wstring(L"Old\0", 4))},
                                      {L"Path", REG_EXPAND_SZ, Utf16Bytes(std::wstring(L"%A%\0", 4))},
                                      {L"Size", REG_DWORD, std::string("\x0A\0\0\0", 4)}}),
              ReadEntryTree(kMachine64Location, L"Old").values);
    EXPECT_FALSE(KeyExists(kMachine32Location, EntryPath("Old"))) << "only where the file says";
}

TEST_F(RegFileTest, HostileFilesAreRefusedWithTheirLineAndChangeNothing) {
    CreateEntry("Kept", {{"DisplayName", "Kept"}});
    const std::wstring head = L"Windows Registry Editor Version 5.00\r\n\r\n[" + kUninstall +
                              L"\\Victim]\r\n\"DisplayName\"=\"written first\"\r\n";
    const std::string kept = DisplayName(kUninstall) + "\\Kept";
    const struct {
        const char* label;
        std::string bytes;
        std::string fault;
    } rows[] = {
        {"a key outside Uninstall",
         Utf16File(head + L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"),
         "line 5 names a key outside " + DisplayName(kUninstall)},
        {"another location's key", Utf16File(head + L"[HKEY_CURRENT_USER" + kUninstall.substr(18) + L"\\X]\r\n"),
         "line 5 names a key outside " + DisplayName(kUninstall)},
        {"'..' in a path", Utf16File(head + L"[" + kUninstall + L"\\Victim\\..\\..\\Run]\r\n"),
         "line 5 holds '..' in its key path"},
        {"a key deletion", Utf16File(head + L"[-" + kUninstall + L"\\Kept]\r\n"),
         "line 5 deletes a key, which an import never does"},
        {"a value deletion", Utf16File(head + L"\"DisplayName\"=-\r\n"),
         "line 5 deletes a value, which an import never does"},
        {"a hex line cut at the end", Utf16File(head + L"\"B\"=hex:01,02,\\"),
         "line 5 ends the file in the middle of a hex value"},
        {"a hex line ending in a comma", Utf16File(head + L"\"B\"=hex:01,02,\r\n\"C\"=hex:03\r\n"),
         "line 5 holds a damaged or truncated hex value"},
        {"a hex byte of three digits", Utf16File(head + L"\"B\"=hex(2):010\r\n"),
         "line 5 holds a damaged or truncated hex value"},
        {"a string without its closing quote", Utf16File(head + L"\"B\"=\"open\r\n"),
         "line 5 has a quoted text without its closing quote"},
        {"a value above every key", Utf16File(L"Windows Registry Editor Version 5.00\r\n\"B\"=\"x\"\r\n"),
         "line 2 holds a value before the first key"},
        {"a line of nothing known", Utf16File(head + L"DisplayName=x\r\n"),
         "line 5 is neither a key, a value nor a comment"},
        {"version 5.00 in 8-bit text", "Windows Registry Editor Version 5.00\r\n[" + kept + "]\r\n",
         "line 1 says version 5.00, whose files are UTF-16 text, but the file is 8-bit text"},
        {"REGEDIT4 in UTF-16", Utf16File(L"REGEDIT4\r\n"),
         "line 1 is not the header of a UTF-16 file, \"Windows Registry Editor Version 5.00\""},
        {"UTF-16 without its mark", Utf16Bytes(head), "line 1 is UTF-16 text without the byte-order mark of little-endian text"},
        {"big-endian UTF-16", BigEndianFile(head), "line 1 is UTF-16 text without the byte-order mark of little-endian text"},
        {"half a UTF-16 character", Utf16File(head) + "x", "line 1 is not UTF-16 text: the file ends in half a character"},
        {"a lone surrogate", Utf16File(head + L"\"B\"=\"\xD800\"\r\n"), "line 5 is not valid text of its encoding"},
        {"no key at all", Utf16File(L"Windows Registry Editor Version 5.00\r\n\r\n"), "it holds no key"},
        {"a 100,000-character value", Utf16File(head + L"\"Huge\"=\"" + std::wstring(100000, L'x') + L"\"\r\n"),
         "line 5 holds more than 65,536 bytes of data in one value"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string path = folder_.Path("hostile.reg");
        TScratchFolder::WriteBytes(path, row.bytes);
        EXPECT_TRUE(IsRegFile(row.bytes)) << "taken for a registration file by its content";
        try {
            ImportRegFile(path, kMachine64Location);
            ADD_FAILURE() << "imported";
        } catch (const Exception& error) {
            EXPECT_EQ("Unable to import " + path + ": " + row.fault, error.Message());
        }
        EXPECT_FALSE(KeyExists(EntryPath("Victim")));
        EXPECT_EQ((TKeyTree{L"Kept", {{L"DisplayName", REG_SZ, Utf16Bytes(std::wstring(L"Kept\0", 5))}}, {}}),
                  ReadEntryTree(kMachine64Location, L"Kept"));
    }
    EXPECT_FALSE(IsRegFile("[Section]\r\nKey=Value\r\n")) << "an INI file stays one";
}

}  // namespace
