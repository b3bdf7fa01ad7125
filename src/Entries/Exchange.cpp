// Export goes through a temporary file beside the chosen one that replaces it only after every
// value has been read back unchanged; import checks every line of the file before writing
// anything.
#include "Entries/Exchange.h"

#include "Base/Exception.h"
#include "Base/Text.h"
#include "Entries/CodePage.h"
#include "Entries/FileBytes.h"
#include "Entries/IniFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

namespace {

constexpr const char* kUnableToWrite = "Unable to write to %s";
constexpr const char* kUnableToExport = "Unable to export '%s'";
constexpr const char* kUnableToCreateKey = "Failed to create key '%s'";
constexpr const char* kUnableToRead = "Unable to read %s";
constexpr const char* kUnableToImport = "Unable to import %s";

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16Mark[] = "\xFF\xFE";

bool HasOuterBlanks(const std::string& text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

[[noreturn]] void RefuseExport(const std::string& name, const char* reason) {
    throw Exception(FormatMessageText(kUnableToExport, name) + ": " + reason);
}

// The file's key name for a value name.
std::string KeyOf(const std::string& valueName) { return valueName.empty() ? DefaultValueKey : valueName; }

// The text to store: reading strips outer blanks and one pair of enclosing quotes, so such a
// value gets one extra pair of double quotes, which reading removes again.
std::string StoredText(const std::string& value) {
    const bool enclosed = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                          value.back() == value.front();
    return enclosed || HasOuterBlanks(value) ? "\"" + value + "\"" : value;
}

// Why a section or key name cannot be stored as it is; nullptr when it can.
const char* NameFault(const std::string& name) {
    if (HasLineBreak(name)) return "its name holds a line break";
    if (HasOuterBlanks(name)) return "its name begins or ends with a blank";
    if (name.size() > TIniFile::MaxTextLength) return "its name is longer than the file format allows";
    return nullptr;
}

// Refuses what the profile format cannot store as it is, before anything is written: a line
// break would start new keys or sections, "=" ends a key name, ";" starts a comment, outer
// blanks of names are lost, over-long texts are mangled, and a real value named "@" would come
// back as the default value.
void CheckExportable(const std::string& entryName, const TValueRows& rows) {
    if (const char* fault = NameFault(entryName)) RefuseExport(entryName, fault);
    for (const auto& [name, value] : rows) {
        const std::string key = KeyOf(name);
        if (name == DefaultValueKey) RefuseExport(key, "the file format keeps the name '@' for the unnamed value");
        if (const char* fault = NameFault(key)) RefuseExport(key, fault);
        if (key.find('=') != std::string::npos) RefuseExport(key, "its name contains '='");
        if (key.front() == ';') RefuseExport(key, "its name begins with ';'");
        if (HasLineBreak(value)) RefuseExport(key, "it holds a line break");
        if (value.find('\0') != std::string::npos) RefuseExport(key, "it holds a null character");
        if (StoredText(value).size() > TIniFile::MaxTextLength)
            RefuseExport(key, "it is longer than the file format allows");
    }
}

// Refuses the export unless the written file holds exactly the entry's section with every value
// unchanged: a write succeeds even when its line will read as a section header or a shorter
// text. Each write reaches the disk at once and the reads below see the disk.
void CheckReadBack(const TIniFile& ini, const std::string& entryName, const TValueRows& rows) {
    constexpr const char* kChanged = "the file does not give it back unchanged";
    TStringList keys, sections;
    ini.ReadKeyNames(entryName, keys);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string key = KeyOf(rows[i].first);
        if (i >= keys.size() || keys[i] != key || ini.ReadString(entryName, key, "") != rows[i].second)
            RefuseExport(key, kChanged);
    }
    ini.ReadSectionNames(sections);
    if (keys.size() != rows.size() || sections != TStringList{entryName}) RefuseExport(entryName, kChanged);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::string Utf8FromUtf16Bytes(const std::string& bytes, const std::string& fileName) {
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    std::memcpy(wide.data(), bytes.data() + 2, wide.size() * sizeof(wchar_t));
    std::string text;
    if (!CodePageFromWide(CP_UTF8, wide, text)) throw Exception(FormatMessageText(kUnableToRead, fileName));
    return text;
}

// Writes `text` into a new file in the temporary folder, to be read in place of the file it
// came from.
std::unique_ptr<TTemporaryFile> CopyToTemporaryFile(const std::string& text) {
    wchar_t wideFolder[MAX_PATH + 1] = L"";
    const DWORD folderLength = GetTempPathW(MAX_PATH + 1, wideFolder);
    std::string folder;
    if (folderLength == 0 || folderLength > MAX_PATH || !CodePageFromWide(CP_ACP, wideFolder, folder))
        throw Exception(FormatMessageText(kUnableToWrite, "the temporary folder"));
    const std::string path = CreateTemporaryFileIn(folder);
    if (path.empty()) throw Exception(FormatMessageText(kUnableToWrite, folder));
    auto copy = std::make_unique<TTemporaryFile>(path);
    WriteFileBytes(path, text);
    return copy;
}

// "A", "A and B", "A, B and C".
std::string NameSeries(const TStringList& names) {
    std::string series;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) series += i + 1 == names.size() ? " and " : ", ";
        series += names[i].empty() ? "(Default)" : names[i];
    }
    return series;
}

// A section or key name as the check read it, with its line number.
struct TCheckedName {
    std::string name;
    std::size_t line;
};

struct TCheckedSection {
    TCheckedName header;
    std::vector<TCheckedName> keys;
};

// Throws "Unable to import <file>: line <n> <what>".
[[noreturn]] void RefuseLine(const std::string& fileName, std::size_t line, const std::string& what) {
    throw Exception(FormatMessageText(kUnableToImport, fileName) + ": line " + std::to_string(line) + " " + what);
}

// Refuses a file with a line that the profile functions would drop or misread, naming the
// first: what is neither blank, a comment (";"), a section header ("[name]") nor a value line
// ("name=value"); a carriage return that does not end a line with its line feed (the profile
// functions end a line there too, so the rest of it would be read as a line of its own); a
// header of an empty name or of a name with a "\" (no entry's key name); a section that
// appeared before (the profile functions read only its first part); a value above the first
// section (no entry's value), one without a name (never read) or one whose key appeared before
// in its section (only the first is read). A file without any section is refused as well.
// Gives the sections with their keys, in file order.
std::vector<TCheckedSection> CheckExchangeLines(const std::string& fileName, const std::string& text) {
    const auto refuse = [&](std::size_t number, const std::string& what) { RefuseLine(fileName, number, what); };
    std::vector<TCheckedSection> sections;
    std::set<std::wstring> foldedSections, foldedKeys;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        // No second byte of a double-byte character is a CR or an LF.
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        ++number;
        start = end + 1;
        if (end < text.size() && text[end] == '\r') {
            if (start < text.size() && text[start] != '\n')
                refuse(number, "ends in a carriage return without a line feed");
            ++start;
        }

        constexpr const char* kNeither = "is neither a section header, a value nor a comment";
        if (line.find('\0') != std::string::npos) refuse(number, kNeither);
        const std::string trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        // The profile functions take a line that starts with "[" and holds a "]" for a header.
        if (trimmed.front() == '[' && FindCharacter(trimmed, ']') != std::string::npos) {
            if (FindLastOf(trimmed, "]") + 1 != trimmed.size()) refuse(number, kNeither);
            const std::string section = TrimBlanks(trimmed.substr(1, trimmed.size() - 2));
            if (section.empty()) refuse(number, "names an empty section");
            if (FindCharacter(section, '\\') != std::string::npos) refuse(number, "names a section with a '\\'");
            if (!foldedSections.insert(TIniFile::FoldedName(section)).second)
                refuse(number, "repeats the section '" + section + "'");
            sections.push_back({{section, number}, {}});
            foldedKeys.clear();
        } else if (const auto equals = FindCharacter(trimmed, '='); equals != std::string::npos) {
            if (sections.empty()) refuse(number, "holds a value before the first section");
            const std::string key = TrimBlanks(trimmed.substr(0, equals));
            if (key.empty()) refuse(number, "holds a value without a name");
            if (!foldedKeys.insert(TIniFile::FoldedName(key)).second) refuse(number, "repeats the key '" + key + "'");
            sections.back().keys.push_back({key, number});
        } else {
            refuse(number, kNeither);
        }
    }
    if (sections.empty()) throw Exception(FormatMessageText(kUnableToImport, fileName) + ": it holds no section");
    return sections;
}

// Refuses the file unless the profile functions give the names the check read, in the same
// order: they read the text as UTF-16, may trim blanks beyond the codes 0 to 32 (U+3000,
// U+00A0), and give a byte sequence that is no character of the code page as another name. `after` is the line to name when they read more names.
void CheckNamesAsRead(const std::string& fileName, const TStringList& read, const std::vector<TCheckedName>& checked,
                      std::size_t after) {
    for (std::size_t i = 0; i < std::max(read.size(), checked.size()); ++i) {
        if (i < read.size() && i < checked.size() &&
            TIniFile::FoldedName(read[i]) == TIniFile::FoldedName(checked[i].name))
            continue;
        RefuseLine(fileName, i < checked.size() ? checked[i].line : after, "is read otherwise by this system");
    }
}

// The sections and keys of `ini` as the profile functions read them, checked against the check's.
void CheckFileAsRead(const TIniFile& ini, const std::string& fileName, const std::vector<TCheckedSection>& sections) {
    TStringList read;
    ini.ReadSectionNames(read);
    std::vector<TCheckedName> headers;
    for (const TCheckedSection& section : sections) headers.push_back(section.header);
    CheckNamesAsRead(fileName, read, headers, headers.back().line);
    for (const TCheckedSection& section : sections) {
        ini.ReadKeyNames(section.header.name, read);
        CheckNamesAsRead(fileName, read, section.keys, section.header.line);
    }
}

}  // namespace

std::string ExchangeTextOf(const std::string& bytes, const std::string& fileName) {
    if (!AnsiCodePageIsUtf8()) return bytes;
    if (StartsWith(bytes, kUtf16Mark)) return Utf8FromUtf16Bytes(bytes, fileName);
    const bool marked = StartsWith(bytes, kUtf8Mark);
    const std::string text = marked ? bytes.substr(sizeof(kUtf8Mark) - 1) : bytes;
    if (marked || IsValidUtf8(text)) return text;
    std::string converted;
    CodePageFromWide(CP_UTF8, WideFromCodePage(LegacyAnsiCodePage(), text), converted);
    return converted;
}

TExportValues ReadExportValues(const std::string& entryName, const TEntryLocation& location) {
    TExportValues values;
    TRegistry registry;
    registry.ChooseRoot(location.root, location.view);
    if (!registry.OpenRegistryKey(UninstallEntryPath(entryName), false)) {
        values.vanished = true;
        return values;
    }
    TStringList names, unreachable;
    registry.ListValueNames(names, &unreachable);
    // A value that cannot be read here cannot be written either: no export may skip it silently.
    if (!unreachable.empty()) throw UnsupportedValueNameError(unreachable.front());
    // In the order the details show them.
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; });
    for (const std::string& name : names) {
        const TRegistryValue value = registry.ReadValue(name);
        if (!value.IsText())
            values.nonText.push_back(name);
        else if (value.HasDataAfterText())
            values.afterNull.push_back(name);
        else if (!registry.IsExactText(name, value.Text()))
            values.outsideCodePage.push_back(name);
        else
            values.texts.emplace_back(name, value.Text());
    }
    return values;
}

void ExportEntry(const std::string& fileName, const std::string& entryName, const TValueRows& rows) {
    if (rows.empty()) return;
    CheckExportable(entryName, rows);

    const std::string target = FullPathOf(fileName);
    TTemporaryFile temporary(CreateFileBeside(target, fileName));
    TIniFile ini(temporary.Path());
    try {
        for (const auto& [name, value] : rows) ini.WriteString(entryName, KeyOf(name), StoredText(value));
    } catch (const Exception&) {
        throw Exception(FormatMessageText(kUnableToWrite, fileName));
    }
    CheckReadBack(ini, entryName, rows);

    MoveOver(temporary, target, fileName);
}

std::string ExportWarning(const std::string& entryName, const TExportValues& values) {
    TStringList sentences;
    const auto leftOut = [&](const TStringList& names, const char* oneIs, const char* manyAre) {
        if (names.size() == 1)
            sentences.push_back("The value " + NameSeries(names) + " " + oneIs + " and was not exported.");
        else if (!names.empty())
            sentences.push_back("The values " + NameSeries(names) + " " + manyAre + " and were not exported.");
    };
    leftOut(values.nonText, "is not text", "are not text");
    leftOut(values.outsideCodePage, "holds characters this system cannot handle",
            "hold characters this system cannot handle");
    leftOut(values.afterNull, "holds data after a null character", "hold data after a null character");
    if (values.vanished)
        sentences.push_back("The entry '" + entryName + "' no longer exists.");
    else if (sentences.empty() && values.texts.empty())
        sentences.push_back("The entry '" + entryName + "' has no values.");
    if (values.texts.empty()) sentences.push_back("No file was written.");
    std::string warning;
    for (const std::string& sentence : sentences) warning += (warning.empty() ? "" : " ") + sentence;
    return warning;
}

void ImportEntries(const std::string& fileName, const TEntryLocation& location) {
    // The profile functions read a file in the ANSI code page: a file in another encoding is
    // read through a copy in it.
    const std::string bytes = ReadFileBytes(fileName);
    const std::string text = ExchangeTextOf(bytes, fileName);
    const std::vector<TCheckedSection> checked = CheckExchangeLines(fileName, text);
    const std::unique_ptr<TTemporaryFile> copy = text == bytes ? nullptr : CopyToTemporaryFile(text);
    TIniFile ini(copy ? copy->Path() : fileName);
    CheckFileAsRead(ini, fileName, checked);
    TRegistry registry;
    registry.ChooseRoot(location.root, location.view);
    for (const TCheckedSection& section : checked) {
        const std::string& name = section.header.name;
        if (!registry.OpenRegistryKey(UninstallEntryPath(name), true))
            throw Exception(FormatMessageText(kUnableToCreateKey, name));
        for (const TCheckedName& key : section.keys)
            registry.WriteStringValue(key.name == DefaultValueKey ? "" : key.name, ini.ReadString(name, key.name, ""));
        registry.CloseRegistryKey();
    }
}
