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
    char folder[MAX_PATH + 1] = "", path[MAX_PATH] = "";
    const DWORD folderLength = GetTempPathA(sizeof(folder), folder);
    if (folderLength == 0 || folderLength >= sizeof(folder) || !GetTempFileNameA(folder, "twk", 0, path))
        throw Exception(FormatMessageText(kUnableToWrite, folder));
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

// Refuses a file with a line that the profile functions would drop or misread, naming the
// first: what is neither blank, a comment (";"), a section header ("[name]") nor a value line
// ("name=value"); a header of an empty name or of a name with a "\" (no entry's key name); a
// section that appeared before (the profile functions read only its first part); a value
// above the first section (no entry's value). A file without any section is refused as well.
void CheckExchangeLines(const std::string& fileName, const std::string& text) {
    const auto refuse = [&](std::size_t number, const std::string& what) {
        throw Exception(FormatMessageText(kUnableToImport, fileName) + ": line " + std::to_string(number) + " " +
                        what);
    };
    std::set<std::string> sections;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;

        constexpr const char* kNeither = "is neither a section header, a value nor a comment";
        if (line.find('\0') != std::string::npos) refuse(number, kNeither);
        const std::string trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        // The profile functions take a line that starts with "[" and holds a "]" for a header.
        if (trimmed.front() == '[' && trimmed.find(']') != std::string::npos) {
            if (trimmed.back() != ']') refuse(number, kNeither);
            const std::string section = TrimBlanks(trimmed.substr(1, trimmed.size() - 2));
            if (section.empty()) refuse(number, "names an empty section");
            if (section.find('\\') != std::string::npos) refuse(number, "names a section with a '\\'");
            if (!sections.insert(AsciiLower(section)).second) refuse(number, "repeats the section '" + section + "'");
        } else if (trimmed.find('=') != std::string::npos) {
            if (sections.empty()) refuse(number, "holds a value before the first section");
        } else {
            refuse(number, kNeither);
        }
    }
    if (sections.empty()) throw Exception(FormatMessageText(kUnableToImport, fileName) + ": it holds no section");
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
    if (!registry.OpenRegistryKey(UninstallEntryPath(entryName), false)) return values;
    TStringList names, unreachable;
    registry.ListValueNames(names, &unreachable);
    // A value that cannot be read here cannot be written either: no export may skip it silently.
    if (!unreachable.empty()) throw UnsupportedValueNameError(unreachable.front());
    // In the order the details show them.
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; });
    for (const std::string& name : names) {
        const TRegistryValue value = registry.ReadValue(name);
        if (value.IsText())
            values.texts.emplace_back(name, value.Text());
        else
            values.nonText.push_back(name);
    }
    return values;
}

void ExportEntry(const std::string& fileName, const std::string& entryName, const TValueRows& rows) {
    if (rows.empty()) {
        DeleteFileA(fileName.c_str());
        return;
    }
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
    std::string warning;
    if (values.nonText.size() == 1)
        warning = "The value " + NameSeries(values.nonText) + " is not text and was not exported.";
    else if (!values.nonText.empty())
        warning = "The values " + NameSeries(values.nonText) + " are not text and were not exported.";
    else if (values.texts.empty())
        warning = "The entry '" + entryName + "' has no values.";
    if (values.texts.empty()) warning += " No file was written.";
    return warning;
}

void ImportEntries(const std::string& fileName, const TEntryLocation& location) {
    // The profile functions read a file in the ANSI code page: a file in another encoding is
    // read through a copy in it.
    const std::string bytes = ReadFileBytes(fileName);
    const std::string text = ExchangeTextOf(bytes, fileName);
    CheckExchangeLines(fileName, text);
    const std::unique_ptr<TTemporaryFile> copy = text == bytes ? nullptr : CopyToTemporaryFile(text);
    TIniFile ini(copy ? copy->Path() : fileName);
    TStringList sections;
    ini.ReadSectionNames(sections);
    TRegistry registry;
    registry.ChooseRoot(location.root, location.view);
    for (const std::string& section : sections) {
        if (!registry.OpenRegistryKey(UninstallEntryPath(section), true))
            throw Exception(FormatMessageText(kUnableToCreateKey, section));

        TStringList keys;
        ini.ReadKeyNames(section, keys);
        // A repeated key name reads as its first occurrence, so it is written once.
        std::set<std::string> writtenKeys;
        for (const std::string& key : keys) {
            if (!writtenKeys.insert(AsciiLower(key)).second) continue;
            registry.WriteStringValue(key == DefaultValueKey ? "" : key, ini.ReadString(section, key, ""));
        }
        registry.CloseRegistryKey();
    }
}
