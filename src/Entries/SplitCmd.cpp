// Command-line resolution: the first token, or the text up to ".exe"/".bat", is looked up in the
// current directory and on the search list (Windows directory, system directory, PATH).
#include "Entries/SplitCmd.h"

#include "Base/Handles.h"
#include "Base/Text.h"

#include <algorithm>
#include <vector>

namespace {

// Reads a string through a Win32 getter that, given too small a buffer, returns the size it
// needs; so nothing is ever cut. Empty when the getter fails or the value is not set.
template <class Getter>
std::string ReadGrowing(Getter get) {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = get(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.assign(length, '\0');
    }
}

// The Windows directory, the system directory and every entry of PATH, in that order.
std::vector<std::string> SearchList() {
    std::vector<std::string> list;
    list.push_back(ReadGrowing([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); }));
    list.push_back(ReadGrowing([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); }));
    const std::string path =
        ReadGrowing([](char* buffer, DWORD size) { return GetEnvironmentVariableA("PATH", buffer, size); });
    for (std::string& directory : SplitAt(path, ';')) list.push_back(std::move(directory));
    return list;
}

bool StartsWithDrive(const std::string& path) { return path.size() >= 3 && path[1] == ':' && path[2] == '\\'; }

unsigned long probeCount = 0;

}  // namespace

unsigned long BenchmarkSeam::FileProbeCount() { return probeCount; }

bool FileExists(const std::string& name, TProbeCache* cache) {
    if (cache) {
        const auto [known, added] = cache->files.try_emplace(name, false);
        if (added) known->second = FileExists(name);
        return known->second;
    }
    ++probeCount;
    WIN32_FIND_DATAA data;
    const TFindHandle find(FindFirstFileA(name.c_str(), &data));
    if (!find || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    FILETIME local;
    WORD dosDate, dosTime;
    return FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &dosDate, &dosTime);
}

void StripQuotes(std::string& text) {
    if (text.empty() || text[0] != '"') return;
    text.erase(0, 1);
    const size_t quote = text.find('"');
    if (quote != std::string::npos) text.erase(quote, 1);
}

std::string SearchProgram(const std::string& name, TProbeCache* cache) {
    if (name.empty()) return {};
    if (FileExists(name, cache)) return name;
    for (const std::string& directory : SearchList()) {
        if (directory.empty()) continue;
        const bool endsInSeparator = FindLastOf(directory, ":\\") + 1 == directory.size();
        const std::string candidate = directory + (endsInSeparator ? "" : "\\") + name;
        if (FileExists(candidate, cache)) return candidate;
    }
    return {};
}

void SplitCommandLine(const std::string& line, std::string& program, std::string& params, TProbeCache* cache) {
    program = TrimBlanks(line);
    StripQuotes(program);
    const std::string saved = program;

    // First token, with ".exe" appended when it names neither extension.
    program = program.substr(0, program.find(' '));
    size_t length = program.size();
    const std::string lower = AsciiLower(program);
    if (lower.find(".exe") == std::string::npos && lower.find(".bat") == std::string::npos) program += ".exe";
    program = SearchProgram(program, cache);

    // Otherwise everything up to the first extension, or the whole text with ".exe".
    if (program.empty()) {
        const std::string lowerSaved = AsciiLower(saved);
        const size_t position = std::min(lowerSaved.find(".exe"), lowerSaved.find(".bat"));
        if (position != std::string::npos) {
            length = position + 4;
            program = saved.substr(0, length);
            // A path on a drive is kept even when it does not exist: its disk may be missing.
            if (!StartsWithDrive(program)) program = SearchProgram(program, cache);
        } else {
            length = saved.size();
            program = SearchProgram(saved + ".exe", cache);
        }
        if (program.empty()) {
            params = line;
            return;
        }
    }
    params = TrimBlanks(saved.substr(length));
}
