// Link states: what the checked uninstall command points to, with the message and colour the
// information box shows for each.
#pragma once

#include <windows.h>

#include "Entries/SplitCmd.h"

#include <string>

enum LinkState {
    lsNoSelectedEntry,
    lsNoCheckedItem,
    lsTooManyCheckedItems,
    lsExistingLink,
    lsMissingDisk,
    lsInvalidLink,
    lsEmptyList,
    lsUnsupportedName,  // the entry's name cannot reach its key in this ANSI code page
};

inline constexpr int kLinkStateCount = 8;

// Two lines each, separated by CR LF: a heading in capitals and the recommended action.
extern const char* const LinkMessages[kLinkStateCount];
// Text colours, 0x00BBGGRR.
extern const COLORREF LinkColors[kLinkStateCount];

// For a resolved program path: lsExistingLink when the file exists; lsMissingDisk when it starts
// with a drive root "X:\" whose drive exists but cannot report its free space (no disk);
// otherwise lsInvalidLink (also for an empty, relative or UNC path). With `cache`, a file or drive
// probed before is answered from it.
LinkState ProgramLinkState(const std::string& program, TProbeCache* cache = nullptr);

// Looks up GetDiskFreeSpaceExA once (the program calls this at start); GetDiskFreeSpaceA is
// used where it is missing.
void InitDiskFreeSpaceFunction();
