// Folder helpers shared by the test programs, the fake uninstaller and the benchmark.
#pragma once

#include "Base/Handles.h"

#include <string>

// Creates `path` and any missing folders above it (a drive path such as C:\a\b).
inline void CreateFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

// Deletes everything below `folder` (read-only files too) and the folder itself; true when the
// folder is gone.
inline bool DeleteFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    if (const TFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found)); search) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteFolderTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search.Get(), &found));
    }
    return RemoveDirectoryA(folder.c_str()) != 0;
}
