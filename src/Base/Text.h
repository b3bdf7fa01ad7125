// The program's text rules: blanks are the codes 0 to 32, and case folding touches the ASCII
// letters only (names compare the same whatever code page the machine runs). Texts are read a
// character at a time by the ANSI code page's rules: in a double-byte code page (932, 936, 950)
// the second byte of a character may look like "\" or an ASCII letter, and is neither.
#pragma once

#include <string>
#include <vector>

using TStringList = std::vector<std::string>;

// Whether `c` is a blank: a space or a control character (codes 0 to 32).
bool IsBlank(char c);

// `text` without the blanks at both ends.
std::string TrimBlanks(const std::string& text);

// The letter in the other case; every other character (accented letters too) as it is.
char AsciiLower(char c);
char AsciiUpper(char c);
// `text` with its ASCII letters in the other case; the bytes of double-byte characters as they are.
std::string AsciiLower(std::string text);
std::string AsciiUpper(std::string text);

// Whether the texts are the same once their ASCII letters are folded.
bool SameTextAscii(const std::string& left, const std::string& right);

// Whether `list` holds `item`, compared exactly.
bool Contains(const TStringList& list, const std::string& item);

// The position of the first character `c` at or after `start` (a character's first byte), or
// npos; the second byte of a double-byte character never matches.
std::string::size_type FindCharacter(const std::string& text, char c, std::string::size_type start = 0);

// The position of the last character of `text` that is one of `characters`, or npos; the
// second byte of a double-byte character never matches.
std::string::size_type FindLastOf(const std::string& text, const char* characters);

// The parts of `text` between the `separator`s, empty ones included: n separators give n + 1
// parts, and an empty text gives one empty part.
TStringList SplitAt(const std::string& text, char separator);
