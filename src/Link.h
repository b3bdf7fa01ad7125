// Link states: what the checked uninstall command points to, with the message and colour the
// information box shows for each.
#pragma once

#include <windows.h>

#include <string>

enum LinkState {
    lsNoSelectedEntry,
    lsNoCheckedItem,
    lsTooManyCheckedItems,
    lsExistingLink,
    lsMissingDisk,
    lsInvalidLink,
    lsEmptyList,
};

inline constexpr int kLinkStateCount = 7;

// Two lines each, separated by CR LF: a heading in capitals and the recommended action.
extern const char* const LinkMessages[kLinkStateCount];
// Text colours, 0x00BBGGRR.
extern const COLORREF LinkColors[kLinkStateCount];

// For a resolved program path: lsExistingLink when the file exists, lsMissingDisk when its
// drive is a removable or CD drive with no disk (the free-space query fails), otherwise
// lsInvalidLink (also for an empty path).
LinkState ProgramLinkState(const std::string& program);

// Looks up GetDiskFreeSpaceExA once (the program calls this at start); GetDiskFreeSpaceA is
// used where it is missing.
void InitDiskFreeSpaceFunction();
