// Registration files: an entry's whole tree in the format the registry editor and `reg export`
// write (version 5.00: UTF-16LE with a byte-order mark, CRLF; REGEDIT4: ANSI), and such files
// written back below the Uninstall key of a location. No window involved.
#pragma once

#include "Entries/EntryTree.h"
#include "Entries/Location.h"

#include <string>
#include <vector>

// The registry editor's path of the Uninstall key of `location`:
// "HKEY_LOCAL_MACHINE\SOFTWARE\...\Uninstall", "...\SOFTWARE\WOW6432Node\..." for the 32-bit
// view, "HKEY_CURRENT_USER\Software\...\Uninstall".
std::wstring RegFileUninstallKey(const TEntryLocation& location);

// The text of a version 5.00 file holding `tree` as an entry of `location`, without the
// byte-order mark. Throws Exception "Unable to export '%s': <reason>" for a name the format
// cannot hold (a line break) or data longer than an import takes.
std::wstring RegFileText(const TKeyTree& tree, const TEntryLocation& location);

// Replaces `fileName` with RegFileText as UTF-16LE with a byte-order mark; the old file stays
// as it was on failure.
void ExportRegFile(const std::string& fileName, const TKeyTree& tree, const TEntryLocation& location);

// Whether `bytes` begin with a registration file's header, in any encoding.
bool IsRegFile(const std::string& bytes);

// One key of a registration file: its path below the Uninstall key (empty for that key) and its
// values in file order.
struct TRegFileKey {
    std::vector<std::wstring> path;
    std::vector<TKeyValue> values;
};

// The keys of a registration file for `location`. Throws Exception "Unable to import %s: line
// <n> <what>" for the first line that is damaged, in the wrong encoding, deletes a key or a
// value, or names a key outside the Uninstall key of `location` or with "..", and "Unable to
// import %s: it holds no key" for a file without any.
std::vector<TRegFileKey> ParseRegFile(const std::string& bytes, const std::string& fileName,
                                      const TEntryLocation& location);

// Checks the whole file with ParseRegFile, then writes every key (missing ones created) and value
// with its exact type and data. Nothing is written when the file is refused.
void ImportRegFile(const std::string& fileName, const TEntryLocation& location);
