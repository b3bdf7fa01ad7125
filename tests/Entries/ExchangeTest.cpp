// Export and import of exchange files, with files in a scratch folder and HKLM redirected.
#include "Entries/Exchange.h"

#include "Entries/CodePage.h"
#include "Entries/IniFile.h"
#include "ScratchFolder.h"
#include "ScratchRegistry.h"

#include <map>

namespace {

struct TStoredValue {
    DWORD type;
    std::string data;
    bool operator==(const TStoredValue&) const = default;
};
using TStoredValues = std::map<std::string, TStoredValue>;

void PrintTo(const TStoredValue& value, std::ostream* out) {
    *out << "type " << value.type << " \"" << value.data.substr(0, 60) << (value.data.size() > 60 ? "...\"" : "\"")
         << " (" << value.data.size() << " chars)";
}

// A file's bytes in UTF-16 with its byte-order mark.
std::string Utf16File(const std::wstring& text) {
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

class ExchangeTest : public ScratchRegistryTest {
protected:
    // The entry's values as the details list holds them: (name, text) in enumeration order.
    static TValueRows RowsOf(const std::string& entry) {
        TRegistry registry;
        registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
        EXPECT_TRUE(registry.OpenRegistryKey(EntryPath(entry), false)) << entry;
        TStringList names;
        registry.ListValueNames(names);
        TValueRows rows;
        for (const std::string& name : names) rows.emplace_back(name, registry.ReadStringValue(name));
        return rows;
    }

    // Every value of the entry with its type, read with the raw API.
    static TStoredValues ValuesOf(const std::string& path) {
        TStoredValues values;
        TKeyHandle key;
        const REGSAM access = KEY_READ | kMachine64Location.view;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, key.Receive()) != ERROR_SUCCESS)
            return values;
        for (DWORD index = 0;; ++index) {
            char name[16384];
            std::string data(65536, '\0');
            DWORD nameLength = sizeof(name), type = 0, size = static_cast<DWORD>(data.size());
            if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
                break;
            data.resize(size > 0 ? size - 1 : 0);
            values[name] = {type, data};
        }
        return values;
    }

    static std::string ExportError(const std::string& file, const std::string& entry, const TValueRows& rows) {
        try {
            ExportEntry(file, entry, rows);
        } catch (const Exception& error) {
            return error.Message();
        }
        return "(no exception)";
    }

    static std::string ImportError(const std::string& file) {
        try {
            ImportEntries(file, kMachine64Location);
        } catch (const Exception& error) {
            return error.Message();
        }
        return "(no exception)";
    }

    TScratchFolder folder_;
};

TEST_F(ExchangeTest, RoundTripGivesBackEveryValueAsAString) {
    CreateEntry("Sample", {{"DisplayName", "Sample App"},
                           {"UninstallString", "\"C:\\Program Files\\Sample\\uninst.exe\" /S"},
                           {"", "default text"},
                           {"Lead", "  lead"},
                           {"Trail", "trail\t "},
                           {"DoubleQuoted", "\"quoted\""},
                           {"SingleQuoted", "'single'"},
                           {"SpacedQuotes", "\"  spaced  \""},
                           {"EmptyQuotes", "\"\""},
                           {"Unbalanced", "\"x'"},
                           {"Specials", "a=b; c #d [e] %PATH%"},
                           {"[Bracket", "notsection"},
                           {"Long2k", std::string(2100, 'L')},
                           {"Long16k", std::string(20000, 'M')},
                           {"Longest", std::string(TIniFile::MaxTextLength, 'N')},
                           {"Café", "café € ÿ"},
                           {"Empty", ""}});
    SetString(EntryPath("Sample"), "Expand", "%SystemRoot%\\x.exe", REG_EXPAND_SZ);
    const TStoredValues before = ValuesOf(EntryPath("Sample"));
    const std::string file = folder_.Path("sample.ini");

    ExportEntry(file, "Sample", RowsOf("Sample"));
    const std::string text = TScratchFolder::ReadBytes(file);
    EXPECT_EQ(0u, text.find("[Sample]\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\n@=default text\r\n"));
    EXPECT_EQ(std::vector<std::string>{"sample.ini"}, folder_.FileNames()) << "no temporary file is left";

    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry("Sample"));
    ImportEntries(file, kMachine64Location);
    TStoredValues expected = before;
    expected["Expand"].type = REG_SZ;
    for (const auto& [name, value] : ValuesOf(EntryPath("Sample"))) {
        SCOPED_TRACE(name);
        EXPECT_EQ(expected[name], value);
    }
    EXPECT_EQ(expected.size(), ValuesOf(EntryPath("Sample")).size());
}

TEST_F(ExchangeTest, ImportsLargeFilesEmptySectionsAndTheDefaultValue) {
    const std::string file = folder_.Path("many.ini");
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(10000 + i);
        text += "[Entry_" + n + "]\r\nDisplayName=Entry " + n + "\r\nUninstallString=C:\\e" + n + ".exe\r\n";
    }
    text += "[Empty]\r\n"
            "[Dup]\r\nk=first\r\n@=default\r\n"
            "Long=" + std::string(40000, 'x') + "\r\n";
    TScratchFolder::WriteBytes(file, text);
    CreateEntry("Entry_10001", {{"Keep", "me"}, {"DisplayName", "old"}});

    ImportEntries(file, kMachine64Location);
    TStringList subkeys;
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    ASSERT_TRUE(registry.OpenRegistryKey(UninstallKeyPath, false));
    registry.ListSubkeyNames(subkeys);
    EXPECT_EQ(2002u, subkeys.size());
    EXPECT_TRUE(ValuesOf(UninstallKeyPath).empty()) << "nothing is written into the Uninstall key itself";

    EXPECT_EQ((TStoredValues{{"DisplayName", {REG_SZ, "Entry 11999"}},
                             {"UninstallString", {REG_SZ, "C:\\e11999.exe"}}}),
              ValuesOf(EntryPath("Entry_11999")));
    EXPECT_EQ((TStoredValues{{"DisplayName", {REG_SZ, "Entry 10001"}},
                             {"UninstallString", {REG_SZ, "C:\\e10001.exe"}},
                             {"Keep", {REG_SZ, "me"}}}),
              ValuesOf(EntryPath("Entry_10001")))
        << "values the file does not name stay";
    EXPECT_TRUE(KeyExists(EntryPath("Empty")));
    EXPECT_TRUE(ValuesOf(EntryPath("Empty")).empty());
    EXPECT_EQ((TStoredValues{{"k", {REG_SZ, "first"}},
                             {"", {REG_SZ, "default"}},
                             {"Long", {REG_SZ, std::string(40000, 'x')}}}),
              ValuesOf(EntryPath("Dup")));
}

TEST_F(ExchangeTest, ExportRefusesWhatTheFileCannotCarryAndKeepsTheOldFile) {
    struct TCase {
        const char* label;
        std::string entry;
        TValueRows rows;
        std::string named;
        const char* reason;
    };
    constexpr const char* kLineBreak = "it holds a line break";
    constexpr const char* kNameLineBreak = "its name holds a line break";
    constexpr const char* kEquals = "its name contains '='";
    constexpr const char* kTooLong = "it is longer than the file format allows";
    constexpr const char* kChanged = "the file does not give it back unchanged";
    const std::vector<TCase> cases{
        {"CR LF in a value", "Sample",
         {{"DisplayName", "x"}, {"Comments", "safe\r\n[Evil]\r\nUninstallString=x"}}, "Comments", kLineBreak},
        {"bare LF in a value", "Sample", {{"Comments", "a\nb"}}, "Comments", kLineBreak},
        {"bare CR in a value", "Sample", {{"Comments", "a\rb"}}, "Comments", kLineBreak},
        {"line break in a name", "Sample", {{"K\r\n[Evil]\r\nX", "v"}}, "K\r\n[Evil]\r\nX", kNameLineBreak},
        {"line break in the entry", "Sample]\r\n[Evil", {{"DisplayName", "x"}}, "Sample]\r\n[Evil", kNameLineBreak},
        {"= in a name", "Sample", {{"DisplayName", "x"}, {"k=v", "x"}}, "k=v", kEquals},
        {"blank around a name", "Sample", {{" Name", "x"}}, " Name", "its name begins or ends with a blank"},
        {"blank around the entry", "Sample ", {{"DisplayName", "x"}}, "Sample ", "its name begins or ends with a blank"},
        {"comment-like name", "Sample", {{"DisplayName", "x"}, {";Note", "x"}}, ";Note", "its name begins with ';'"},
        {"bracketed name", "Sample", {{"DisplayName", "x"}, {"[Bracket", "x]"}}, "[Bracket", kChanged},
        {"null inside a value", "Sample", {{"DisplayName", "x"}, {"Nul", std::string("a\0b", 3)}}, "Nul",
         "it holds a null character"},
        {"value of 40000 chars", "Sample", {{"DisplayName", "x"}, {"Huge", std::string(40000, 'h')}}, "Huge", kTooLong},
        {"value quoted beyond the limit", "Sample", {{"Huge", std::string(" ").append(32765, 'h')}}, "Huge", kTooLong},
        {"name beyond the limit", "Sample", {{std::string(40000, 'n'), "x"}}, std::string(40000, 'n'),
         "its name is longer than the file format allows"},
        {"real @ beside the default", "Sample", {{"", "default"}, {"@", "real"}}, "@",
         "the file format keeps the name '@' for the unnamed value"},
    };
    const std::string file = folder_.Path("old.ini");
    const std::string old = "[Old]\r\nkeep=1\r\n";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.label);
        TScratchFolder::WriteBytes(file, old);
        EXPECT_EQ("Unable to export '" + c.named + "': " + c.reason, ExportError(file, c.entry, c.rows));
        EXPECT_EQ(old, TScratchFolder::ReadBytes(file));
        EXPECT_EQ(std::vector<std::string>{"old.ini"}, folder_.FileNames());
    }
}

TEST_F(ExchangeTest, ExportReplacesTheWholeFileOrKeepsItForNoRows) {
    const std::string file = folder_.Path("entry.ini");
    TScratchFolder::WriteBytes(file, "; kept notes\r\n[Old]\r\nkeep=1\r\n");
    TStringList sections;
    TIniFile(file).ReadSectionNames(sections);  // the platform may now hold the old file in its cache
    ASSERT_EQ(TStringList{"Old"}, sections);

    ExportEntry(file, "New", {{"DisplayName", "New"}, {"", " padded "}});
    EXPECT_EQ("[New]\r\nDisplayName=New\r\n@=\" padded \"\r\n", TScratchFolder::ReadBytes(file));
    TIniFile(file).ReadSectionNames(sections);
    EXPECT_EQ(TStringList{"New"}, sections);
    EXPECT_EQ(std::vector<std::string>{"entry.ini"}, folder_.FileNames());

    const std::string exported = TScratchFolder::ReadBytes(file);
    ExportEntry(file, "New", {});
    EXPECT_EQ(exported, TScratchFolder::ReadBytes(file));
}

TEST_F(ExchangeTest, ExportWriteFailuresNameTheFileAndLeaveNoTemporaryFile) {
    const std::string directory = folder_.Path("folder.ini");
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    EXPECT_EQ("Unable to write to " + directory, ExportError(directory, "Sample", {{"DisplayName", "x"}}));
    EXPECT_EQ(std::vector<std::string>{"folder.ini"}, folder_.FileNames());

    const std::string orphan = folder_.Path("missing\\x.ini");
    EXPECT_EQ("Unable to write to " + orphan, ExportError(orphan, "Sample", {{"DisplayName", "x"}}));
    EXPECT_EQ(std::vector<std::string>{"folder.ini"}, folder_.FileNames());
}

TEST_F(ExchangeTest, ImportWritesIntoTheGivenLocationOnly) {
    RedirectCurrentUser();
    const std::string file = folder_.Path("entry.ini");
    TScratchFolder::WriteBytes(file, "[Imported]\r\nDisplayName=Imported\r\n");
    const TEntryLocation* locations[] = {&kMachine64Location, &kMachine32Location, &kUserLocation};
    for (const TEntryLocation* target : locations) {
        SCOPED_TRACE(target->title);
        ImportEntries(file, *target);
        for (const TEntryLocation* location : locations)
            EXPECT_EQ(location == target, KeyExists(*location, EntryPath("Imported"))) << location->title;
        RegDeleteKeyExA(target->root, EntryPath("Imported").c_str(), target->view, 0);
    }
}

TEST_F(ExchangeTest, ExportAndImportKeepNamesAndDataInAnyScript) {
    const std::string entry = "Пример 例 😀";
    CreateEntry(entry, {{"DisplayName", "Ελληνικά 中文 😀"},
                        {"UninstallString", "C:\\Программы\\卸载.exe /x"},
                        {"Имя", "значение"},
                        {"", "日本語の名前です"}});
    const TStoredValues before = ValuesOf(EntryPath(entry));
    const std::string file = folder_.Path("scripts.ini");

    ExportEntry(file, entry, RowsOf(entry));
    const std::string bytes = TScratchFolder::ReadBytes(file);
    EXPECT_EQ(0u, bytes.find("[Пример 例 😀]\r\n")) << "the file is UTF-8";
    EXPECT_NE(std::string::npos, bytes.find("\r\nИмя=значение\r\n"));
    EXPECT_EQ(std::string::npos, bytes.find("\xEF\xBB\xBF")) << "without a byte-order mark";

    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry(entry));
    ImportEntries(file, kMachine64Location);
    EXPECT_EQ(before, ValuesOf(EntryPath(entry)));
}

TEST_F(ExchangeTest, ExportAndImportWorkInFoldersOfMoreBytesThanMaxPath) {
    std::string name;
    for (int i = 0; i < 90; ++i) name += "字";  // 3 bytes each in UTF-8
    const std::string folder = folder_.Path(name);
    ASSERT_GT(folder.size(), size_t{MAX_PATH});
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = folder + "\\entry.ini";
    CreateEntry("Sample", {{"DisplayName", "Sample"}});
    ExportEntry(file, "Sample", RowsOf("Sample"));
    EXPECT_EQ("[Sample]\r\nDisplayName=Sample\r\n", TScratchFolder::ReadBytes(file));

    // A file in the legacy code page is read through a copy in the temporary folder.
    TScratchFolder::WriteBytes(file, "[Caf\xE9]\r\nDisplayName=Caf\xE9\r\n");
    std::wstring savedTemp(32767, L'\0');
    savedTemp.resize(GetEnvironmentVariableW(L"TMP", savedTemp.data(), static_cast<DWORD>(savedTemp.size())));
    SetEnvironmentVariableW(L"TMP", WideFromCodePage(CP_UTF8, folder).c_str());
    EXPECT_EQ("(no exception)", ImportError(file));
    SetEnvironmentVariableW(L"TMP", savedTemp.empty() ? nullptr : savedTemp.c_str());
    EXPECT_EQ((TStoredValues{{"DisplayName", {REG_SZ, "Café"}}}), ValuesOf(EntryPath("Café")));
    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "no temporary file is left";
}

TEST_F(ExchangeTest, ImportReadsFilesOfOlderProgramsInTheLegacyCodePage) {
    ASSERT_EQ(1252u, LegacyAnsiCodePage()) << "the test prefix has a Western locale";
    const struct {
        const char* label;
        std::string bytes;
    } files[] = {
        {"Windows-1252", "[Caf\xE9]\r\nDisplayName=Caf\xE9 \xD6lpumpe \x80\r\nUninstallString=C:\\Caf\xE9\\u.exe\r\n"},
        {"UTF-8", "[Café]\r\nDisplayName=Café Ölpumpe €\r\nUninstallString=C:\\Café\\u.exe\r\n"},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF[Café]\r\nDisplayName=Café Ölpumpe €\r\nUninstallString=C:\\Café\\u.exe\r\n"},
        {"UTF-16 with a byte-order mark",
         Utf16File(L"[Café]\r\nDisplayName=Café Ölpumpe €\r\nUninstallString=C:\\Café\\u.exe\r\n")},
    };
    const TStoredValues expected{{"DisplayName", {REG_SZ, "Café Ölpumpe €"}},
                                 {"UninstallString", {REG_SZ, "C:\\Café\\u.exe"}}};
    const std::string file = folder_.Path("old.ini");
    for (const auto& [label, bytes] : files) {
        SCOPED_TRACE(label);
        TScratchFolder::WriteBytes(file, bytes);
        ImportEntries(file, kMachine64Location);
        EXPECT_EQ(expected, ValuesOf(EntryPath("Café")));
        EXPECT_EQ(bytes, TScratchFolder::ReadBytes(file)) << "the file itself is left as it was";
        DeleteEntry("Café");
    }
}

TEST_F(ExchangeTest, TheTextOfAnExchangeFileIsUtf8) {
    const struct {
        const char* label;
        std::string bytes;
        std::string text;
    } rows[] = {
        {"empty", "", ""},
        {"ASCII", "[A]\r\nk=v\r\n", "[A]\r\nk=v\r\n"},
        {"UTF-8 as it is", "[Привет]\r\n😀=中文\r\n", "[Привет]\r\n😀=中文\r\n"},
        {"UTF-8 without its mark", "\xEF\xBB\xBF[A]\r\n", "[A]\r\n"},
        {"a lone mark", "\xEF\xBB\xBF", ""},
        {"legacy", "[\xC9t\xE9]\r\nk=\x80\r\n", "[Été]\r\nk=€\r\n"},
        {"legacy that starts like UTF-8", "\xC3\xA9\xE9", "Ã©é"},
        {"UTF-16", Utf16File(L"[П]\r\n😀=中\r\n"), "[П]\r\n😀=中\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.text, ExchangeTextOf(row.bytes, "x.ini"));
    }
    try {
        ExchangeTextOf(Utf16File(L"[\xD83D]"), "C:\\half.ini");
        ADD_FAILURE() << "a lone surrogate is no text";
    } catch (const Exception& error) {
        EXPECT_EQ("Unable to read C:\\half.ini", error.Message());
    }
    EXPECT_EQ("Unable to read " + folder_.Path("missing.ini"), ImportError(folder_.Path("missing.ini")));
}

TEST_F(ExchangeTest, ImportRefusesADamagedFileNamingItsFirstBadLine) {
    struct TCase {
        const char* label;
        std::string text;
        std::string what;  // after "Unable to import <file>: "
    };
    using namespace std::string_literals;
    const std::string binary = "MZ\x90\0\x03\0\0\0\x04\0=\xff\xff\0\0\xb8\r\n[Good]\r\n"s;
    const TCase cases[] = {
        {"empty file", "", "it holds no section"},
        {"comments and blanks only", "; notes\r\n\r\n  \t\r\n", "it holds no section"},
        {"random binary bytes", binary, "line 1 is neither a section header, a value nor a comment"},
        {"line break inside a value",
         "[Good]\r\nDisplayName=Good\r\nComments=first half\r\nsecond half\r\nUninstallString=x\r\n",
         "line 4 is neither a section header, a value nor a comment"},
        {"empty section name", "[Good]\r\nk=v\r\n; [] below\r\n[]\r\nDisplayName=lost\r\n",
         "line 4 names an empty section"},
        {"blank section name", "[Good]\r\n[   ]\r\n", "line 2 names an empty section"},
        {"section twice", "[Good]\r\nk=v\r\n[Other]\r\n[good]\r\nUninstallString=lost\r\n",
         "line 4 repeats the section 'good'"},
        {"text after a header", "[Good]\r\n[Other] more\r\n", "line 2 is neither a section header, a value nor a comment"},
        {"value above the first section", "\r\nDisplayName=lost\r\n[Good]\r\n",
         "line 2 holds a value before the first section"},
        {"section with a backslash", "[Good]\r\nk=v\r\n[Bad\\Name]\r\nk=v\r\n", "line 3 names a section with a '\\'"},
        {"lines ending in LF only", "[Good]\nk=v\nbroken\n", "line 3 is neither a section header, a value nor a comment"},
        {"UTF-16 file", "\xff\xfe[\0G\0]\0\r\0\n\0o\0o\0p\0s\0"s,
         "line 2 is neither a section header, a value nor a comment"},
        {"lone CR inside a value line", "[Good]\r\nDisplayName=Good\r[\\]\r\nUninstallString=x\r\n",
         "line 2 ends in a carriage return without a line feed"},
        {"key twice", "[Good]\r\nk=first\r\nK=second\r\n", "line 3 repeats the key 'K'"},
        {"key twice in non-ASCII case", "[Good]\r\nÉté=1\r\nÉTÉ=2\r\n", "line 3 repeats the key 'ÉTÉ'"},
        {"empty key", "[Good]\r\nk=v\r\n =value\r\n", "line 3 holds a value without a name"},
        {"section twice in non-ASCII case", "[Good]\r\n[Été]\r\n[ÉTÉ]\r\n", "line 3 repeats the section 'ÉTÉ'"},
    };
    const std::string file = folder_.Path("damaged.ini");
    CreateEntry("Good", {{"DisplayName", "before"}});
    const TStoredValues before = ValuesOf(UninstallKeyPath);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.label);
        TScratchFolder::WriteBytes(file, c.text);
        EXPECT_EQ("Unable to import " + file + ": " + c.what, ImportError(file));
        EXPECT_EQ((TStoredValues{{"DisplayName", {REG_SZ, "before"}}}), ValuesOf(EntryPath("Good")));
        EXPECT_FALSE(KeyExists(EntryPath("Other")));
        EXPECT_FALSE(KeyExists(EntryPath("Bad")));
    }
    EXPECT_EQ(before, ValuesOf(UninstallKeyPath));
}

TEST_F(ExchangeTest, ImportTakesHandWrittenFilesThatSayWhatTheyMean) {
    const std::string file = folder_.Path("hand.ini");
    TScratchFolder::WriteBytes(file,
                               "; saved by hand\r\n\r\n  [ Hand ]  \r\n  DisplayName = Hand  \r\n"
                               "[Bracket=notsection\r\nUninstallString=C:\\h.exe\r\n\r\n[a]b]\r\nk=v");
    EXPECT_EQ("(no exception)", ImportError(file));
    EXPECT_EQ((TStoredValues{{"DisplayName", {REG_SZ, "Hand"}},
                             {"[Bracket", {REG_SZ, "notsection"}},
                             {"UninstallString", {REG_SZ, "C:\\h.exe"}}}),
              ValuesOf(EntryPath("Hand")));
    EXPECT_EQ((TStoredValues{{"k", {REG_SZ, "v"}}}), ValuesOf(EntryPath("a]b")));

    const std::string tooLong(300, 'n');
    TScratchFolder::WriteBytes(file, "[" + tooLong + "]\r\n");
    EXPECT_EQ("Failed to create key '" + tooLong + "'", ImportError(file))
        << "a key that cannot be made is told";
}

TEST_F(ExchangeTest, ExportTakesTheEntryFromTheRegistryAndNamesWhatIsNotText) {
    CreateEntry("Mixed", {{"DisplayName", "Mixed"}, {"", "default"}});
    SetDword(EntryPath("Mixed"), "EstimatedSize", 120);
    SetRaw(EntryPath("Mixed"), "Empty", REG_DWORD, nullptr, 0);
    SetString(EntryPath("Mixed"), "Expand", "%TEMP%", REG_EXPAND_SZ);
    SetRaw(EntryPath("Mixed"), "Cut", REG_SZ, "abc\0def\0", 8);
    SetRaw(EntryPath("Mixed"), "Padded", REG_SZ, "abc\0\0\0", 6);
    const wchar_t loneSurrogate[] = L"x\xD800y";  // no character in UTF-8 either
    TKeyHandle mixed;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryPath("Mixed").c_str(), 0,
                                           KEY_SET_VALUE | kMachine64Location.view, mixed.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(mixed.Get(), L"Broken", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(loneSurrogate), sizeof(loneSurrogate)));
    const TExportValues values = ReadExportValues("Mixed", kMachine64Location);
    EXPECT_EQ((TValueRows{{"", "default"}, {"DisplayName", "Mixed"}, {"Expand", "%TEMP%"}, {"Padded", "abc"}}),
              values.texts);
    EXPECT_EQ((TStringList{"Empty", "EstimatedSize"}), values.nonText);
    EXPECT_EQ(TStringList{"Broken"}, values.outsideCodePage);
    EXPECT_EQ(TStringList{"Cut"}, values.afterNull);
    EXPECT_FALSE(values.vanished);
    RedirectCurrentUser();
    for (const TEntryLocation* other : {&kMachine32Location, &kUserLocation}) {
        SCOPED_TRACE(other->title);
        EXPECT_TRUE(ReadExportValues("Mixed", *other).vanished) << "only the given location is read";
    }
    EXPECT_TRUE(ReadExportValues("Missing", kMachine64Location).texts.empty());
    EXPECT_TRUE(ReadExportValues("Missing", kMachine64Location).nonText.empty());

    struct TCase {
        const char* label;
        TExportValues values;
        std::string warning;
    };
    const TValueRows text{{"DisplayName", "x"}};
    const TCase cases[] = {
        {"only text", {text, {}, {}, {}}, ""},
        {"one number", {text, {"NoModify"}, {}, {}}, "The value NoModify is not text and was not exported."},
        {"two numbers", {text, {"EstimatedSize", "NoModify"}, {}, {}},
         "The values EstimatedSize and NoModify are not text and were not exported."},
        {"three, one unnamed", {text, {"A", "", "C"}, {}, {}},
         "The values A, (Default) and C are not text and were not exported."},
        {"outside the code page", {text, {}, {"Name", "Path"}, {}},
         "The values Name and Path hold characters this system cannot handle and were not exported."},
        {"data after a null and a number", {text, {"Size"}, {}, {""}},
         "The value Size is not text and was not exported. "
         "The value (Default) holds data after a null character and was not exported."},
        {"numbers only", {{}, {"Version"}, {}, {}},
         "The value Version is not text and was not exported. No file was written."},
        {"no values", {}, "The entry 'Mixed' has no values. No file was written."},
        {"vanished", {{}, {}, {}, {}, true}, "The entry 'Mixed' no longer exists. No file was written."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.warning, ExportWarning("Mixed", c.values));
    }
}

}  // namespace
