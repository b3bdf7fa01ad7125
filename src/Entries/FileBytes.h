// Whole files as bytes, and the temporary file beside a target through which an export replaces
// the target in one step, so that the old file survives any failure.
#pragma once

#include <string>

// The file's bytes. Throws Exception "Unable to read %s" (`fileName`).
std::string ReadFileBytes(const std::string& fileName);

// Creates or replaces the file `path` with `bytes`. Throws Exception "Unable to write to %s".
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The full path of `fileName`. Throws Exception "Unable to write to %s".
std::string FullPathOf(const std::string& fileName);

// A file that is deleted when it goes out of scope, unless it was kept.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TTemporaryFile();
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// Creates an empty, uniquely named file in `folder` (with its final "\\"); its path, or "" on
// failure.
std::string CreateTemporaryFileIn(const std::string& folder);

// Creates an empty, uniquely named file in the folder of `target` (same volume: a rename
// replaces the target in one step). Throws "Unable to write to %s" naming `fileName`.
std::string CreateFileBeside(const std::string& target, const std::string& fileName);

// Moves `temporary` over `target` in one step and keeps it there. Throws "Unable to write to
// %s" naming `fileName`; the target is then unchanged.
void MoveOver(TTemporaryFile& temporary, const std::string& target, const std::string& fileName);

// Replaces `fileName` with `bytes` through a temporary file beside it.
void ReplaceFileBytes(const std::string& fileName, const std::string& bytes);
