// TIniFile over GetPrivateProfileStringA / GetPrivateProfileSectionA / WritePrivateProfileStringA.
#include "Entries/IniFile.h"

#include "Base/Exception.h"
#include "Entries/CodePage.h"

#include <windows.h>

namespace {

constexpr DWORD kListBufferSize = 16384;
constexpr DWORD kValueBufferSize = 2048;

// Calls `read` with ever larger buffers until its text is whole. The profile functions report a
// cut text (and an exact fit) as a length of size-2 or more, and only that length is reliable.
template <class ReadFunction>
std::string ReadWhole(DWORD initialSize, ReadFunction read) {
    std::string buffer(initialSize, '\0');
    for (;;) {
        const DWORD length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size() - 2) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Splits null-separated strings; an empty string inside the text is kept, not taken as the end.
void SplitList(const std::string& text, TStringList& list) {
    list.clear();
    if (text.empty()) return;
    const bool terminated = text.back() == '\0';
    list = SplitAt(text.substr(0, text.size() - (terminated ? 1 : 0)), '\0');
}

// A name or value that may be handed to a profile function.
bool Fits(const std::string& text) { return text.size() <= TIniFile::MaxTextLength; }

// A section or key name that may be handed to a profile function: an empty one means another
// thing there (the lines above the first section, the key "") or crashes Windows.
bool IsUsableName(const std::string& name) { return !name.empty() && Fits(name); }

}  // namespace

std::wstring TIniFile::FoldedName(const std::string& name) {
    std::wstring folded = WideFromCodePage(CP_ACP, name);
    CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

void TIniFile::ReadSectionNames(TStringList& list) const {
    const std::string names = ReadWhole(kListBufferSize, [this](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(nullptr, nullptr, "", buffer, size, fileName_.c_str());
    });
    SplitList(names, list);
}

void TIniFile::ReadKeyNames(const std::string& section, TStringList& list) const {
    list.clear();
    if (!IsUsableName(section)) return;
    // The section's lines rather than the key enumeration: Wine enumerates no key at all when
    // the section's first line has an empty key name.
    const std::string text = ReadWhole(kListBufferSize, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(section.c_str(), buffer, size, fileName_.c_str());
    });
    TStringList lines;
    SplitList(text, lines);
    for (const std::string& line : lines) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = TrimBlanks(line.substr(0, equals));
        if (!name.empty() && name.front() != ';') list.push_back(std::move(name));
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    if (!IsUsableName(section) || !IsUsableName(key) || !Fits(defaultValue)) return defaultValue;
    return ReadWhole(kValueBufferSize, [&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, size,
                                        fileName_.c_str());
    });
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!IsUsableName(section) || !IsUsableName(key) || !Fits(value) ||
        !WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str()))
        throw Exception(FormatMessageText("Unable to write to %s", fileName_));
}
