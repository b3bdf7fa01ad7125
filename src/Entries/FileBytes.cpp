// Files read and written whole through the kernel's file functions.
#include "Entries/FileBytes.h"

#include "Base/Exception.h"
#include "Base/Handles.h"
#include "Base/Text.h"
#include "Entries/CodePage.h"

namespace {

constexpr const char* kUnableToWrite = "Unable to write to %s";
constexpr const char* kUnableToRead = "Unable to read %s";

}  // namespace

std::string ReadFileBytes(const std::string& fileName) {
    const TFileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXDWORD)
        throw Exception(FormatMessageText(kUnableToRead, fileName));
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        throw Exception(FormatMessageText(kUnableToRead, fileName));
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    const TFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw Exception(FormatMessageText(kUnableToWrite, path));
}

std::string FullPathOf(const std::string& fileName) {
    const DWORD size = GetFullPathNameA(fileName.c_str(), 0, nullptr, nullptr);
    std::string path(size, '\0');
    const DWORD length = size ? GetFullPathNameA(fileName.c_str(), size, path.data(), nullptr) : 0;
    if (length == 0 || length >= size) throw Exception(FormatMessageText(kUnableToWrite, fileName));
    path.resize(length);
    return path;
}

TTemporaryFile::~TTemporaryFile() {
    if (!path_.empty()) DeleteFileA(path_.c_str());
}

std::string CreateTemporaryFileIn(const std::string& folder) {
    // The UTF-16 function takes a folder of up to MAX_PATH characters, however many bytes they
    // take in the ANSI code page.
    wchar_t path[MAX_PATH] = L"";
    std::string result;
    if (folder.empty() || !GetTempFileNameW(WideFromCodePage(CP_ACP, folder).c_str(), L"twk", 0, path)) return "";
    if (CodePageFromWide(CP_ACP, path, result)) return result;
    DeleteFileW(path);
    return "";
}

std::string CreateFileBeside(const std::string& target, const std::string& fileName) {
    const std::string path = CreateTemporaryFileIn(target.substr(0, FindLastOf(target, "\\/") + 1));
    if (path.empty()) throw Exception(FormatMessageText(kUnableToWrite, fileName));
    return path;
}

void MoveOver(TTemporaryFile& temporary, const std::string& target, const std::string& fileName) {
    if (!MoveFileExA(temporary.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw Exception(FormatMessageText(kUnableToWrite, fileName));
    temporary.Keep();
}

void ReplaceFileBytes(const std::string& fileName, const std::string& bytes) {
    const std::string target = FullPathOf(fileName);
    TTemporaryFile temporary(CreateFileBeside(target, fileName));
    try {
        WriteFileBytes(temporary.Path(), bytes);
    } catch (const Exception&) {
        throw Exception(FormatMessageText(kUnableToWrite, fileName));
    }
    MoveOver(temporary, target, fileName);
}
