// The text rules shared by the registry, profile, command-line and window code.
#include "Base/Text.h"

#include <algorithm>

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimBlanks(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiLower(std::string text) {
    for (char& c : text) c = AsciiLower(c);
    return text;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) c = AsciiUpper(c);
    return text;
}

bool SameTextAscii(const std::string& left, const std::string& right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

bool Contains(const TStringList& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

TStringList SplitAt(const std::string& text, char separator) {
    TStringList parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        if (end == std::string::npos) break;
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}
