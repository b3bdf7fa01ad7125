// Link states: the information box's messages and colours, and the state of a resolved program
// path from file existence, drive type and free-space query.
#include "Entries/Link.h"

#include "Base/Text.h"

const char* const LinkMessages[kLinkStateCount] = {
    "NO SELECTED ENTRY\r\nSelect an entry in the lists above.",
    "NO CHECKED ITEM\r\nCheck the uninstall command or select this entry again.",
    "TOO MANY CHECKED ITEMS\r\nCheck the uninstall command only.",
    "EXISTING LINK\r\nUninstall and then remove this entry.",
    "MISSING DISK\r\nTo uninstall this program insert the appropriate disk.",
    "INVALID LINK\r\nTry to uninstall and then remove this entry.",
    "EMPTY LIST\r\nYou can remove this entry.",
    "UNSUPPORTED NAME\r\nThis entry's name cannot be handled on this system.",
};

const COLORREF LinkColors[kLinkStateCount] = {
    0x000000, 0x000000, 0x000000,
    0x800000,  // navy
    0x008080,  // olive
    0x000080,  // maroon
    0x800000,  // navy
    0x000080,  // maroon
};

namespace {

using TDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// GetDiskFreeSpaceExA when kernel32 has it, else null.
TDiskFreeSpaceExFunction DiskFreeSpaceEx() {
    static const auto function = reinterpret_cast<TDiskFreeSpaceExFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
    return function;
}

bool QueryFreeSpace(const char* root) {
    if (const TDiskFreeSpaceExFunction freeSpaceEx = DiskFreeSpaceEx()) {
        ULARGE_INTEGER available, total, free;
        return freeSpaceEx(root, &available, &total, &free);
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
    return GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
}

// Whether the drive of `root` ("X:\") exists but cannot report its free space: no disk in it.
bool DriveWithoutDisk(const char* root) {
    const UINT driveType = GetDriveTypeA(root);
    if (driveType == DRIVE_UNKNOWN || driveType == DRIVE_NO_ROOT_DIR) return false;
    return !QueryFreeSpace(root);
}

}  // namespace

void InitDiskFreeSpaceFunction() { DiskFreeSpaceEx(); }

LinkState ProgramLinkState(const std::string& program, TProbeCache* cache) {
    if (program.empty()) return lsInvalidLink;
    if (FileExists(program, cache)) return lsExistingLink;
    // Only "X:\..." names a drive; a relative or UNC path must not be taken for drive B: or worse.
    const char letter = AsciiUpper(program[0]);
    if (letter < 'A' || letter > 'Z' || program.compare(1, 2, ":\\") != 0) return lsInvalidLink;
    const char root[] = {letter, ':', '\\', '\0'};
    if (!cache) return DriveWithoutDisk(root) ? lsMissingDisk : lsInvalidLink;
    const auto [known, added] = cache->drivesWithoutDisk.try_emplace(letter, false);
    if (added) known->second = DriveWithoutDisk(root);
    return known->second ? lsMissingDisk : lsInvalidLink;
}
