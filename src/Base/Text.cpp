// The text rules shared by the registry, profile, command-line and window code.
#include "Base/Text.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// The number of bytes of the character that starts at `at`: two for a lead byte of a
// double-byte code page followed by its second byte, else one. No ASCII byte is a lead byte,
// and a null is no second byte.
std::string::size_type CharacterSize(const std::string& text, std::string::size_type at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    return byte >= 0x80 && at + 1 < text.size() && text[at + 1] != '\0' && IsDBCSLeadByte(byte) ? 2 : 1;
}

template <class Fold>
std::string FoldCharacters(std::string text, Fold fold) {
    for (std::string::size_type at = 0; at < text.size();) {
        const auto size = CharacterSize(text, at);
        if (size == 1) text[at] = fold(text[at]);
        at += size;
    }
    return text;
}

}  // namespace

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimBlanks(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiLower(std::string text) {
    return FoldCharacters(std::move(text), [](char c) { return AsciiLower(c); });
}

std::string AsciiUpper(std::string text) {
    return FoldCharacters(std::move(text), [](char c) { return AsciiUpper(c); });
}

bool SameTextAscii(const std::string& left, const std::string& right) {
    return left.size() == right.size() && AsciiLower(left) == AsciiLower(right);
}

bool Contains(const TStringList& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string::size_type FindCharacter(const std::string& text, char c, std::string::size_type start) {
    for (auto at = start; at < text.size(); at += CharacterSize(text, at))
        if (text[at] == c) return at;
    return std::string::npos;
}

std::string::size_type FindLastOf(const std::string& text, const char* characters) {
    auto last = std::string::npos;
    for (std::string::size_type at = 0; at < text.size(); at += CharacterSize(text, at))
        if (text[at] != '\0' && std::strchr(characters, text[at])) last = at;
    return last;
}

TStringList SplitAt(const std::string& text, char separator) {
    TStringList parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = FindCharacter(text, separator, start);
        if (end == std::string::npos) break;
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}
