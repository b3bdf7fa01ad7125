// Registration files in the registry editor's own layout: keys as "[path]" blocks, values as
// "name"=data lines, hex data continued with "\" at 80 columns. An import reads and checks
// the whole file before it writes anything.
#include "Entries/RegFile.h"

#include "Base/Exception.h"
#include "Entries/CodePage.h"
#include "Entries/FileBytes.h"
#include "Entries/Registry.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr const wchar_t* kVersion5Header = L"Windows Registry Editor Version 5.00";
constexpr const wchar_t* kVersion4Header = L"REGEDIT4";
constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf16BigEndianMark[] = "\xFE\xFF";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr const char* kUnableToExport = "Unable to export '%s'";
constexpr const char* kUnableToImport = "Unable to import %s";

// The registry's limits, checked before anything is written; and the most data of one value
// a file may hold, far beyond any entry's needs.
constexpr size_t kLongestKeyName = 255;
constexpr size_t kLongestValueName = 16383;
constexpr size_t kLongestData = 65536;
// Hex data is broken after the byte that reaches this column, as the registry editor does.
constexpr size_t kHexLineColumns = 77;

bool StartsWith(const std::string& bytes, const char* prefix) { return bytes.rfind(prefix, 0) == 0; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Trimmed(const std::wstring& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    const size_t length = wcslen(prefix);
    return text.size() >= length &&
           CompareStringOrdinal(text.data(), static_cast<int>(length), prefix, static_cast<int>(length), TRUE) ==
               CSTR_EQUAL;
}

bool SameNoCase(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

// The pieces of UTF-16 `text` between its `separator`s.
std::vector<std::wstring> SplitWide(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (const wchar_t c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string BytesOf(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The UTF-16 text of `bytes` from `start`; an odd last byte is left out.
std::wstring Utf16Of(const std::string& bytes, size_t start, bool bigEndian) {
    std::wstring text;
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        const auto high = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        text += static_cast<wchar_t>(low | high << 8);
    }
    return text;
}

std::wstring HeaderOf(const std::wstring& text) { return Trimmed(text.substr(0, text.find_first_of(L"\r\n"))); }

bool IsHeader(const std::wstring& line) { return line == kVersion5Header || line == kVersion4Header; }

// ---- Writing

std::wstring HexByte(unsigned char byte) {
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    return {kDigits[byte >> 4], kDigits[byte & 15]};
}

std::wstring Escaped(const std::wstring& text) {
    std::wstring escaped;
    for (const wchar_t c : text) {
        if (c == L'\\' || c == L'"') escaped += L'\\';
        escaped += c;
    }
    return escaped;
}

bool HasLineBreak(const std::wstring& text) { return text.find_first_of(L"\r\n") != std::wstring::npos; }

// A REG_SZ that a quoted string gives back exactly: one final null and no other, no line break.
bool IsPlainString(const TKeyValue& value) {
    if (value.type != REG_SZ || value.data.size() < 2 || value.data.size() % 2) return false;
    const std::wstring text = Utf16Of(value.data, 0, false);
    return text.back() == L'\0' && text.find(L'\0') == text.size() - 1 && !HasLineBreak(text);
}

std::wstring ValueLine(const TKeyValue& value) {
    std::wstring line = value.name.empty() ? L"@=" : L"\"" + Escaped(value.name) + L"\"=";
    if (IsPlainString(value)) {
        const std::wstring text = Utf16Of(value.data, 0, false);
        return line + L"\"" + Escaped(text.substr(0, text.size() - 1)) + L"\"";
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        line += L"dword:";
        for (size_t i = 4; i-- > 0;) line += HexByte(static_cast<unsigned char>(value.data[i]));
        return line;
    }
    wchar_t type[16];
    swprintf(type, 16, L"hex(%lx):", static_cast<unsigned long>(value.type));
    line += value.type == REG_BINARY ? L"hex:" : type;
    size_t column = line.size();
    for (size_t i = 0; i < value.data.size(); ++i) {
        line += HexByte(static_cast<unsigned char>(value.data[i]));
        if (i + 1 == value.data.size()) break;
        line += L',';
        column += 3;
        if (column >= kHexLineColumns) {
            line += L"\\\r\n  ";
            column = 2;
        }
    }
    return line;
}

void AppendKey(std::wstring& text, const std::wstring& path, const TKeyTree& tree, const std::string& entryName) {
    const auto refuse = [&](const std::wstring& name, const char* reason) {
        throw Exception(FormatMessageText(kUnableToExport, entryName) + ": '" + DisplayName(name) + "' " + reason);
    };
    if (HasLineBreak(tree.name)) refuse(tree.name, "has a line break in its name");
    text += L"[" + path + L"]\r\n";
    for (const TKeyValue& value : tree.values) {
        if (HasLineBreak(value.name)) refuse(value.name, "has a line break in its name");
        if (value.data.size() > kLongestData) refuse(value.name, "holds more data than a registration file takes");
        text += ValueLine(value) + L"\r\n";
    }
    text += L"\r\n";
    for (const TKeyTree& subtree : tree.subkeys) AppendKey(text, path + L"\\" + subtree.name, subtree, entryName);
}

// ---- Reading

// Reads the quoted text at `text[pos]` (a '"') into `result` and moves `pos` past its closing
// quote; a reason when it is damaged, nullptr when not.
const char* ReadQuoted(const std::wstring& text, size_t& pos, std::wstring& result) {
    result.clear();
    for (++pos; pos < text.size(); ++pos) {
        wchar_t c = text[pos];
        if (c == L'"') {
            ++pos;
            return nullptr;
        }
        if (c == L'\\') {
            if (++pos == text.size()) break;
            switch (text[pos]) {
            case L'\\': c = L'\\'; break;
            case L'"': c = L'"'; break;
            case L'n': c = L'\n'; break;
            case L'r': c = L'\r'; break;
            case L'0': c = L'\0'; break;
            default: return "holds an unknown escape in a quoted text";
            }
        }
        result += c;
    }
    return "has a quoted text without its closing quote";
}

bool ReadHexNumber(const std::wstring& digits, size_t maxDigits, unsigned long& number) {
    if (digits.empty() || digits.size() > maxDigits) return false;
    number = 0;
    for (const wchar_t c : digits) {
        if (!std::iswxdigit(c) || c > 0x7F) return false;
        number = number * 16 + (c <= L'9' ? c - L'0' : (std::towlower(c) - L'a' + 10));
    }
    return true;
}

class TRegFileParser {
public:
    TRegFileParser(const std::string& fileName, const TEntryLocation& location)
        : fileName_(fileName), uninstallKey_(SplitWide(RegFileUninstallKey(location), L'\\')) {}

    std::vector<TRegFileKey> Parse(const std::string& bytes) {
        Decode(bytes);
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            lineNumber_ = index_ + 1;
            const std::wstring line = Trimmed(lines_[index_]);
            if (line.find(L'\0') != std::wstring::npos) Refuse("holds a null character");
            if (line.empty() || line[0] == L';') continue;
            if (line[0] == L'[')
                ReadKey(line);
            else if (line[0] == L'"' || line[0] == L'@')
                ReadValue(line);
            else
                Refuse("is neither a key, a value nor a comment");
        }
        if (keys_.empty()) throw Exception(FormatMessageText(kUnableToImport, fileName_) + ": it holds no key");
        return std::move(keys_);
    }

private:
    [[noreturn]] void Refuse(const std::string& what) const {
        throw Exception(FormatMessageText(kUnableToImport, fileName_) + ": line " + std::to_string(lineNumber_) +
                        " " + what);
    }

    // Sets the file's text and lines from its bytes: version 5.00 files are UTF-16LE with a
    // byte-order mark, REGEDIT4 files ANSI (UTF-8 taken as such).
    void Decode(const std::string& bytes) {
        lineNumber_ = 1;
        std::wstring text;
        if (StartsWith(bytes, kUtf16Mark)) {
            if (bytes.size() % 2) Refuse("is not UTF-16 text: the file ends in half a character");
            text = Utf16Of(bytes, 2, false);
            if (HeaderOf(text) != kVersion5Header)
                Refuse("is not the header of a UTF-16 file, \"Windows Registry Editor Version 5.00\"");
        } else if (StartsWith(bytes, kUtf16BigEndianMark) || (bytes.size() > 1 && bytes[1] == '\0')) {
            Refuse("is UTF-16 text without the byte-order mark of little-endian text");
        } else {
            const bool utf8Marked = StartsWith(bytes, kUtf8Mark);
            const std::string body = utf8Marked ? bytes.substr(3) : bytes;
            codePage_ = utf8Marked || IsValidUtf8(body) ? CP_UTF8 : LegacyAnsiCodePage();
            text = WideFromCodePage(codePage_, body);
            if (HeaderOf(text) == kVersion5Header)
                Refuse("says version 5.00, whose files are UTF-16 text, but the file is 8-bit text");
            if (HeaderOf(text) != kVersion4Header) Refuse("is no registration file's header");
        }
        lines_.assign(1, L"");
        for (const wchar_t c : text) {
            if (c == L'\n')
                lines_.emplace_back();
            else
                lines_.back() += c;
        }
        for (size_t i = 0; i < lines_.size(); ++i) {
            std::wstring& line = lines_[i];
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            std::string checked;
            lineNumber_ = i + 1;
            if (!CodePageFromWide(CP_UTF8, line, checked)) Refuse("is not valid text of its encoding");
        }
    }

    void ReadKey(const std::wstring& line) {
        if (line.back() != L']') Refuse("is a key without its closing ']'");
        const std::wstring path = line.substr(1, line.size() - 2);
        if (!path.empty() && path[0] == L'-') Refuse("deletes a key, which an import never does");
        const std::vector<std::wstring> parts = SplitWide(path, L'\\');
        for (const std::wstring& part : parts) {
            if (part == L".." || part == L".") Refuse("holds '" + DisplayName(part) + "' in its key path");
            if (part.empty()) Refuse("holds an empty key name");
            if (part.size() > kLongestKeyName) Refuse("holds a key name longer than 255 characters");
        }
        const bool inside = parts.size() >= uninstallKey_.size() &&
                            std::equal(uninstallKey_.begin(), uninstallKey_.end(), parts.begin(), SameNoCase);
        if (!inside) {
            std::wstring key;
            for (const std::wstring& part : uninstallKey_) key += (key.empty() ? L"" : L"\\") + part;
            Refuse("names a key outside " + DisplayName(key));
        }
        keys_.push_back({std::vector<std::wstring>(parts.begin() + uninstallKey_.size(), parts.end()), {}});
    }

    void ReadValue(const std::wstring& firstLine) {
        if (keys_.empty()) Refuse("holds a value before the first key");
        TKeyValue value;
        size_t pos = 1;
        if (firstLine[0] == L'"') {
            pos = 0;
            if (const char* fault = ReadQuoted(firstLine, pos, value.name)) Refuse(fault);
        }
        if (value.name.size() > kLongestValueName) Refuse("holds a value name longer than 16,383 characters");
        while (pos < firstLine.size() && IsBlank(firstLine[pos])) ++pos;
        if (pos == firstLine.size() || firstLine[pos] != L'=') Refuse("has no '=' after the value's name");
        std::wstring data = Trimmed(firstLine.substr(pos + 1));

        if (StartsWithNoCase(data, L"-")) {
            Refuse("deletes a value, which an import never does");
        } else if (StartsWithNoCase(data, L"\"")) {
            std::wstring text;
            pos = 0;
            if (const char* fault = ReadQuoted(data, pos, text)) Refuse(fault);
            if (pos != data.size()) Refuse("has more after the closing quote of its text");
            value.type = REG_SZ;
            value.data = BytesOf(text + L'\0');
        } else if (StartsWithNoCase(data, L"dword:")) {
            unsigned long number = 0;
            if (!ReadHexNumber(Trimmed(data.substr(6)), 8, number)) Refuse("holds a dword that is not 1 to 8 hex digits");
            value.type = REG_DWORD;
            value.data.assign(reinterpret_cast<const char*>(&number), 4);  // little-endian, as stored
        } else if (StartsWithNoCase(data, L"hex")) {
            ReadHex(data.substr(3), value);
        } else {
            Refuse("holds a value of no known form");
        }
        if (value.data.size() > kLongestData) Refuse("holds more than 65,536 bytes of data in one value");
        keys_.back().values.push_back(std::move(value));
    }

    // `data` is what follows "hex": ":" or "(type):", then the bytes, continued on the lines
    // that follow while a line ends in "\".
    void ReadHex(std::wstring data, TKeyValue& value) {
        unsigned long type = REG_BINARY;
        const size_t colon = data.find(L':');
        if (colon == std::wstring::npos) Refuse("holds a hex value without ':'");
        if (colon > 0) {
            if (data[0] != L'(' || data[colon - 1] != L')' ||
                !ReadHexNumber(data.substr(1, colon - 2), 8, type))
                Refuse("holds a hex value of a damaged type");
        }
        data = Trimmed(data.substr(colon + 1));
        while (!data.empty() && data.back() == L'\\') {
            data.pop_back();
            if (++index_ == lines_.size()) Refuse("ends the file in the middle of a hex value");
            data += Trimmed(lines_[index_]);
        }
        value.type = type;
        std::string bytes;
        if (!Trimmed(data).empty()) {
            for (const std::wstring& piece : SplitWide(data, L',')) {
                unsigned long byte = 0;
                if (!ReadHexNumber(Trimmed(piece), 2, byte)) Refuse("holds a damaged or truncated hex value");
                bytes += static_cast<char>(byte);
                if (bytes.size() > kLongestData) Refuse("holds more than 65,536 bytes of data in one value");
            }
        }
        // A REGEDIT4 file holds the text types in its ANSI code page.
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        value.data = codePage_ && text ? BytesOf(WideFromCodePage(codePage_, bytes)) : bytes;
    }

    const std::string& fileName_;
    const std::vector<std::wstring> uninstallKey_;
    UINT codePage_ = 0;  // of a REGEDIT4 file; 0 for UTF-16
    std::vector<std::wstring> lines_;
    size_t index_ = 0;       // of the line being read
    size_t lineNumber_ = 1;  // that a refusal names
    std::vector<TRegFileKey> keys_;
};

}  // namespace

std::wstring RegFileUninstallKey(const TEntryLocation& location) {
    const std::wstring below = WideFromCodePage(CP_ACP, UninstallKeyPath);  // "Software\Microsoft\..."
    if (location.root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER\\" + below;
    const std::wstring belowSoftware = below.substr(below.find(L'\\'));
    return std::wstring(L"HKEY_LOCAL_MACHINE\\SOFTWARE") + (location.view == KEY_WOW64_32KEY ? L"\\WOW6432Node" : L"") +
           belowSoftware;
}

std::wstring RegFileText(const TKeyTree& tree, const TEntryLocation& location) {
    std::wstring text = std::wstring(kVersion5Header) + L"\r\n\r\n";
    AppendKey(text, RegFileUninstallKey(location) + L"\\" + tree.name, tree, DisplayName(tree.name));
    return text;
}

void ExportRegFile(const std::string& fileName, const TKeyTree& tree, const TEntryLocation& location) {
    ReplaceFileBytes(fileName, std::string(kUtf16Mark) + BytesOf(RegFileText(tree, location)));
}

bool IsRegFile(const std::string& bytes) {
    if (StartsWith(bytes, kUtf16Mark)) return IsHeader(HeaderOf(Utf16Of(bytes, 2, false)));
    if (StartsWith(bytes, kUtf16BigEndianMark)) return IsHeader(HeaderOf(Utf16Of(bytes, 2, true)));
    if (bytes.size() > 1 && bytes[1] == '\0') return IsHeader(HeaderOf(Utf16Of(bytes, 0, false)));
    const std::string body = StartsWith(bytes, kUtf8Mark) ? bytes.substr(3) : bytes;
    return IsHeader(HeaderOf(WideFromCodePage(CP_UTF8, body.substr(0, body.find_first_of("\r\n")))));
}

std::vector<TRegFileKey> ParseRegFile(const std::string& bytes, const std::string& fileName,
                                      const TEntryLocation& location) {
    return TRegFileParser(fileName, location).Parse(bytes);
}

void ImportRegFile(const std::string& fileName, const TEntryLocation& location) {
    const std::vector<TRegFileKey> keys = ParseRegFile(ReadFileBytes(fileName), fileName, location);
    TKeyHandle uninstall;
    if (!OpenUninstallKey(location, true, uninstall))
        throw Exception(FormatMessageText("Failed to create key '%s'", UninstallKeyPath));
    for (const TRegFileKey& key : keys) {
        TKeyHandle current;
        HKEY parent = uninstall.Get();
        std::wstring path;
        for (const std::wstring& name : key.path) {
            path += (path.empty() ? L"" : L"\\") + name;
            TKeyHandle next;
            if (RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS | location.view, nullptr, next.Receive(), nullptr) != ERROR_SUCCESS)
                throw Exception(FormatMessageText("Failed to create key '%s'", DisplayName(path)));
            current = std::move(next);
            parent = current.Get();
        }
        WriteKeyValues(parent, key.values, path);
    }
}
