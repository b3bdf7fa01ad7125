// The ANSI code page that the program's strings are in, and the conversions for the few places
// that must see text as the system stores it (UTF-16) or as older programs wrote it.
#pragma once

#include <windows.h>

#include <string>

// True when the process's ANSI code page is UTF-8: the manifest asks for it, and systems that
// know the setting give it; older ones keep the locale's code page.
bool AnsiCodePageIsUtf8();

// The ANSI code page of the system's locale: the one that files of older programs are in. It is
// the process's own unless that is UTF-8.
UINT LegacyAnsiCodePage();

bool IsValidUtf8(const std::string& text);

// `text` in code page `codePage` as UTF-16.
std::wstring WideFromCodePage(UINT codePage, const std::string& text);

// `text` in code page `codePage`; false when a character has no exact form there (no look-alike
// is taken, and a lone surrogate has none in UTF-8).
bool CodePageFromWide(UINT codePage, const std::wstring& text, std::string& result);
