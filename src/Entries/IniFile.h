// TIniFile: reads and writes one profile (INI) file through the platform's profile functions.
// It holds only the file's name; every list and value is read whole, however long it is.
#pragma once

#include "Base/Text.h"

#include <string>

class TIniFile {
public:
    // The longest name or value the profile functions take: Wine corrupts longer ones, or
    // crashes, while reporting success.
    static constexpr std::string::size_type MaxTextLength = 32766;

    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // `name` the way Windows' profile functions and the registry compare section and key names:
    // in UTF-16, with the letters of every script in one case. Two names of one form are one
    // section, key or value there (Wine's profile functions fold ASCII letters only).
    static std::wstring FoldedName(const std::string& name);

    // Replaces `list` with the file's section names in file order (empty when there is no file).
    void ReadSectionNames(TStringList& list) const;

    // Replaces `list` with the key names of `section` in file order, duplicates included; lines
    // with an empty key name, without "=" or commented out are left out. Empty for a section
    // name that is empty or longer than MaxTextLength.
    void ReadKeyNames(const std::string& section, TStringList& list) const;

    // The value of `key` in `section`, or `defaultValue` when there is none or a name is empty or
    // longer than MaxTextLength.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Stores the value; throws Exception "Unable to write to %s" on failure, for an empty name and
    // for a name or value longer than MaxTextLength.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

private:
    std::string fileName_;
};
