// Code page conversions over MultiByteToWideChar and WideCharToMultiByte.
#include "Entries/CodePage.h"

#include <cstdlib>

namespace {

constexpr UINT kWesternCodePage = 1252;

}  // namespace

bool AnsiCodePageIsUtf8() { return GetACP() == CP_UTF8; }

UINT LegacyAnsiCodePage() {
    if (!AnsiCodePageIsUtf8()) return GetACP();
    char number[8] = "";
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof(number));
    // Locales without an ANSI code page of their own give 0.
    const UINT codePage = static_cast<UINT>(std::strtoul(number, nullptr, 10));
    return codePage != 0 && codePage != CP_UTF8 ? codePage : kWesternCodePage;
}

bool IsValidUtf8(const std::string& text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

std::wstring WideFromCodePage(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

bool CodePageFromWide(UINT codePage, const std::wstring& text, std::string& result) {
    result.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    // UTF-8 takes no "default character used" flag; it refuses lone surrogates instead.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultFlag = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, usedDefaultFlag);
    if (length <= 0 || usedDefault) return false;
    result.resize(static_cast<size_t>(length));
    WideCharToMultiByte(codePage, flags, text.data(), size, result.data(), length, nullptr, usedDefaultFlag);
    // A code page may still map a character to another one without saying so.
    if (WideFromCodePage(codePage, result) == text) return true;
    result.clear();
    return false;
}
