// A fresh folder below the temp folder for one test, removed with its files afterwards, with
// helpers that read and write files byte for byte (no profile functions involved).
#pragma once

#include "Base/Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class TScratchFolder {
public:
    // `suffix` ends the folder's name, for tests of names in other scripts (UTF-8 under the manifest).
    explicit TScratchFolder(const std::string& suffix = "") {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        // A folder left by a crashed run may hold the name: take the next free one.
        static int counter = 0;
        do {
            path_ = std::string(temp) + "twk-scratch-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter) + suffix;
        } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
        EXPECT_TRUE(FileNames().empty()) << path_;
    }
    ~TScratchFolder() {
        // A file dialog leaves the current directory here, and a current directory cannot be removed.
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        if (lstrcmpiA(current, path_.c_str()) == 0) SetCurrentDirectoryA((path_ + "\\..").c_str());
        for (const std::string& name : FileNames()) {
            const std::string path = Path(name);
            if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "\\" + name; }

    // The names in the folder, sorted, without "." and "..".
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        const TFindHandle find(FindFirstFileA(Path("*").c_str(), &data));
        if (!find) return names;
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(find.Get(), &data));
        std::sort(names.begin(), names.end());
        return names;
    }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    static bool Copy(const std::string& from, const std::string& to) { return CopyFileA(from.c_str(), to.c_str(), FALSE); }

private:
    std::string path_;
};
