// Benchmark: the entry views with 1,000 to 50,000 Uninstall entries beside the bare registry work
// they need, in the machine's 64-bit view and at 10,000 entries in the 32-bit view and the
// current user's location; Check Entries over 1,000 to 50,000 entries beside the same checks in a
// plain loop; the details of a 200-value entry, command-line resolution and the peak memory.
// Works in scratch registry keys and a scratch folder, prints tables and judges nothing.
#include "Entries/EntryCheck.h"
#include "Entries/Link.h"
#include "Forms/CheckEntries.h"
#include "Forms/Main.h"
#include "Entries/Registry.h"
#include "Entries/SplitCmd.h"
#include "FolderTree.h"
#include "Base/Handles.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER stand for these keys below the real HKEY_CURRENT_USER
// during the run.
constexpr const char* kScratchRootPath = "Software\\TarnwickBench";
constexpr const char* kScratchMachinePath = "Software\\TarnwickBench\\Machine";
constexpr const char* kScratchUserPath = "Software\\TarnwickBench\\User";
constexpr int kSizes[] = {1000, 10000, 50000};
constexpr int kOtherLocationSize = 10000;
constexpr int kPathDirectories = 40;
constexpr int kDetailValues = 200;
constexpr int kCheckedProgramFiles = 1000;  // distinct uninstallers that exist, shared by the check's entries

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::uint32_t Mix(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    return x ^ (x >> 16);
}

std::string Format(const char* format, auto... arguments) {
    char text[512];
    std::snprintf(text, sizeof(text), format, arguments...);
    return text;
}

// "12,345"
std::string Grouped(long long number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0) grouped += ',';
        grouped += digits[at];
    }
    return grouped;
}

// The program's locations on 64-bit Windows, with the View item that shows each.
struct TLocationSpec {
    const char* label;
    const char* viewItem;
    TEntryLocation location;
};
const TLocationSpec kMachine64 = {"64-bit view", "View64BitItem", kMachine64Location};
const TLocationSpec kOtherLocations[] = {
    {"32-bit view", "View32BitItem", kMachine32Location},
    {"current user", "ViewUserItem", kUserLocation},
};

TKeyHandle CreateUninstallKey(const TEntryLocation& location) {
    TKeyHandle uninstall;
    RegCreateKeyExA(location.root, UninstallKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS | location.view, nullptr,
                    uninstall.Receive(), nullptr);
    return uninstall;
}

// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER redirected to emptied scratch keys, the machine's split
// into a 64-bit and a 32-bit view as the real Software key is, with an empty Uninstall key in
// each location; the redirections and the whole scratch tree go when the object does.
class TScratchMachine {
public:
    TScratchMachine() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRootPath);
        TKeyHandle wow64Node;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kScratchMachinePath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            machine_.Receive(), nullptr) != ERROR_SUCCESS ||
            RegCreateKeyExA(machine_.Get(), "Software\\Wow6432Node", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            wow64Node.Receive(), nullptr) != ERROR_SUCCESS ||
            RegCreateKeyExA(HKEY_CURRENT_USER, kScratchUserPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            user_.Receive(), nullptr) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.Get()) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_CURRENT_USER, user_.Get()) != ERROR_SUCCESS)
            return;
        uninstall_ = CreateUninstallKey(kMachine64.location);
        for (const TLocationSpec& other : kOtherLocations) others_.push_back(CreateUninstallKey(other.location));
    }
    ~TScratchMachine() {
        uninstall_.Reset();
        others_.clear();
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        machine_.Reset();
        user_.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRootPath);
    }
    TScratchMachine(const TScratchMachine&) = delete;
    TScratchMachine& operator=(const TScratchMachine&) = delete;

    bool Ready() const {
        return uninstall_.IsValid() && others_.size() == std::size(kOtherLocations) &&
               std::all_of(others_.begin(), others_.end(), [](const TKeyHandle& key) { return key.IsValid(); });
    }
    // The 64-bit view's Uninstall key, and that of kOtherLocations[index].
    HKEY Uninstall() const { return uninstall_.Get(); }
    HKEY OtherUninstall(size_t index) const { return others_[index].Get(); }

private:
    TKeyHandle machine_;
    TKeyHandle user_;
    TKeyHandle uninstall_;
    std::vector<TKeyHandle> others_;
};

void SetString(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

void SetDword(HKEY key, const char* name, DWORD number) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
}

const char* const kVendors[] = {"Harbor", "Northwind", "Lumen", "Pixel", "Atlas", "Cobalt", "Meridian", "Tiny"};
const char* const kProducts[] = {"Maps", "Notes", "Runtime", "Forge", "Sync Client", "Tools", "Codec Pack", "Studio"};

std::string Guid(std::uint32_t seed, int index) {
    return Format("{%08X-%04X-%04X-%04X-%04X%08X}", Mix(seed), Mix(seed + 1) >> 16, Mix(seed + 2) >> 16,
                  Mix(seed + 3) >> 16, Mix(seed + 4) >> 16, static_cast<unsigned>(index));
}

// The key name of generated entry `index`: product codes, installer names and updates, unique.
std::string EntryKeyName(int index) {
    const std::uint32_t hash = Mix(static_cast<std::uint32_t>(index));
    const char* vendor = kVendors[hash % 8];
    const char* product = kProducts[(hash >> 3) % 8];
    switch (index % 5) {
    case 0:
    case 1:
        return Guid(hash, index);
    case 2:
        return Format("%s %s %u.%d", vendor, product, hash % 9 + 1, index);
    case 3:
        return Format("%s%s%d_is1", vendor, product, index);
    default:
        return Format("KB%07d", 1000000 + index);
    }
}

// Entries 0..count-1 always get the same values: 70% conventional (DisplayName, UninstallString
// and a few more, a number among them), 20% DisplayName only, 10% bare or without DisplayName.
void AddEntries(HKEY uninstall, int from, int to) {
    for (int index = from; index < to; ++index) {
        const std::string name = EntryKeyName(index);
        TKeyHandle entry;
        if (RegCreateKeyExA(uninstall, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, entry.Receive(),
                            nullptr) != ERROR_SUCCESS)
            continue;
        const std::uint32_t hash = Mix(static_cast<std::uint32_t>(index) ^ 0x5BD1E995u);
        const std::string displayName =
            Format("%s %s %u.%u", kVendors[hash % 8], kProducts[(hash >> 3) % 8], hash % 7 + 1, hash % 10);
        const int kind = static_cast<int>(hash % 10);
        if (kind < 7) {
            SetString(entry.Get(), "DisplayName", displayName);
            SetString(entry.Get(), "DisplayVersion", Format("%u.%u.%u", hash % 7 + 1, hash % 10, hash % 4000));
            SetString(entry.Get(), "Publisher", Format("%s Software", kVendors[hash % 8]));
            SetString(entry.Get(), "UninstallString",
                      name.front() == '{' ? "MsiExec.exe /X" + name
                                          : Format("\"C:\\Program Files\\%s\\unins000.exe\"", displayName.c_str()));
            SetString(entry.Get(), "InstallLocation", Format("C:\\Program Files\\%s\\", displayName.c_str()));
            SetDword(entry.Get(), "EstimatedSize", hash % 500000);
        } else if (kind < 9) {
            SetString(entry.Get(), "DisplayName", displayName);
            SetString(entry.Get(), "ParentKeyName", Guid(hash, index));
        } else if (hash % 2) {
            SetString(entry.Get(), "UninstallString", Format("C:\\Tools\\%s\\remove.exe", kProducts[hash % 8]));
            SetDword(entry.Get(), "SystemComponent", 1);
        }
    }
}

struct TClassCounts {
    long long conventional = 0;
    long long unconventional = 0;
};

// The registry work of a refresh with no window: list the entries of `location`, then per entry
// open its key below the Uninstall key, test the two values, close.
TClassCounts ClassifyWithoutWindow(const TEntryLocation& location = kMachine64.location) {
    TClassCounts counts;
    TKeyHandle uninstall;
    if (RegOpenKeyExA(location.root, UninstallKeyPath, 0, KEY_ALL_ACCESS | location.view, uninstall.Receive()) !=
        ERROR_SUCCESS)
        return counts;
    DWORD count = 0, longest = 0;
    RegQueryInfoKeyA(uninstall.Get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    std::vector<std::string> names;
    std::string buffer(longest + 1, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = longest + 1;
        if (RegEnumKeyExA(uninstall.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
            names.emplace_back(buffer.data(), length);
    }
    for (const std::string& name : names) {
        TKeyHandle entry;
        const bool conventional =
            RegOpenKeyExA(uninstall.Get(), name.c_str(), 0, KEY_ALL_ACCESS | location.view, entry.Receive()) ==
                ERROR_SUCCESS &&
            RegQueryValueExA(entry.Get(), "DisplayName", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            RegQueryValueExA(entry.Get(), "UninstallString", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        ++(conventional ? counts.conventional : counts.unconventional);
    }
    return counts;
}

long long ListCount(const TMainForm& form, const char* name) {
    return SendMessageA(form.FindControl(name), LB_GETCOUNT, 0, 0);
}

double PeakWorkingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

struct TRefreshRow {
    int entries;
    double windowMs;
    double floorMs;
};

// Table 1: RefreshEntryViews on the shown main window (with the painting it causes) beside the
// bare registry work, each the median of interleaved runs after one untimed run. Gives the peak
// working set with the most entries listed.
double BenchmarkRefresh(TMainForm& form, const TScratchMachine& machine) {
    std::vector<TRefreshRow> rows;
    double peakMiB = 0;
    std::printf("\n1. RefreshEntryViews: main window against the bare registry work (median ms)\n");
    std::printf("   %8s %11s %10s %7s %s\n", "entries", "window ms", "floor ms", "ratio", "listed conv/unconv");
    int created = 0;
    for (const int size : kSizes) {
        AddEntries(machine.Uninstall(), created, size);
        created = size;
        const int repetitions = size >= 50000 ? 5 : size >= 10000 ? 7 : 15;
        ClassifyWithoutWindow();
        form.RefreshEntryViews();
        PumpMessages();
        std::vector<double> windowSamples, floorSamples;
        TClassCounts floorCounts;
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            double start = NowMs();
            floorCounts = ClassifyWithoutWindow();
            floorSamples.push_back(NowMs() - start);
            start = NowMs();
            form.RefreshEntryViews();
            PumpMessages();
            windowSamples.push_back(NowMs() - start);
        }
        const TRefreshRow row{size, Median(windowSamples), Median(floorSamples)};
        rows.push_back(row);
        const long long conventional = ListCount(form, "CEntryList"), unconventional = ListCount(form, "UEntryList");
        std::printf("   %8s %11.1f %10.1f %7.2f %11s/%s%s\n", Grouped(size).c_str(), row.windowMs, row.floorMs,
                    row.windowMs / row.floorMs, Grouped(conventional).c_str(), Grouped(unconventional).c_str(),
                    conventional == floorCounts.conventional && unconventional == floorCounts.unconventional
                        ? ""
                        : "  (differs from the floor's count!)");
        std::fflush(stdout);
        if (size == kSizes[std::size(kSizes) - 1]) peakMiB = PeakWorkingSetMiB();
    }
    const TRefreshRow& first = rows.front();
    const TRefreshRow& last = rows.back();
    const double n = last.entries / static_cast<double>(first.entries);
    const double nLogN = n * std::log(static_cast<double>(last.entries)) / std::log(static_cast<double>(first.entries));
    std::printf("   growth %s -> %s entries: window x%.1f, floor x%.1f (linear x%.0f, n log n x%.1f)\n",
                Grouped(first.entries).c_str(), Grouped(last.entries).c_str(), last.windowMs / first.windowMs,
                last.floorMs / first.floorMs, n, nLogN);
    return peakMiB;
}

// Shows the location of View item `itemName`, as the menu command does.
void ShowLocation(TMainForm& form, const char* itemName) {
    if (const TMainMenu::TItem* item = form.Menu().FindItem(itemName))
        SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(item->id, 0), 0);
    PumpMessages();
}

// Table 1b: RefreshEntryViews in the 32-bit view and the user's location, each holding
// kOtherLocationSize entries, beside the same bare registry work there. Ends on the 64-bit view.
void BenchmarkOtherLocations(TMainForm& form, const TScratchMachine& machine) {
    std::printf("\n1b. RefreshEntryViews in the other locations (median ms of 7)\n");
    std::printf("   %-13s %8s %11s %10s %7s %s\n", "location", "entries", "window ms", "floor ms", "ratio",
                "listed conv/unconv");
    for (size_t index = 0; index < std::size(kOtherLocations); ++index) {
        const TLocationSpec& shown = kOtherLocations[index];
        AddEntries(machine.OtherUninstall(index), 0, kOtherLocationSize);
        ShowLocation(form, shown.viewItem);
        ClassifyWithoutWindow(shown.location);
        std::vector<double> windowSamples, floorSamples;
        TClassCounts floorCounts;
        for (int repetition = 0; repetition < 7; ++repetition) {
            double start = NowMs();
            floorCounts = ClassifyWithoutWindow(shown.location);
            floorSamples.push_back(NowMs() - start);
            start = NowMs();
            form.RefreshEntryViews();
            PumpMessages();
            windowSamples.push_back(NowMs() - start);
        }
        const double windowMs = Median(windowSamples), floorMs = Median(floorSamples);
        const long long conventional = ListCount(form, "CEntryList"), unconventional = ListCount(form, "UEntryList");
        std::printf("   %-13s %8s %11.1f %10.1f %7.2f %11s/%s%s\n", shown.label, Grouped(kOtherLocationSize).c_str(),
                    windowMs, floorMs, windowMs / floorMs, Grouped(conventional).c_str(),
                    Grouped(unconventional).c_str(),
                    conventional == floorCounts.conventional && unconventional == floorCounts.unconventional &&
                            conventional + unconventional == kOtherLocationSize
                        ? ""
                        : "  (differs from the floor's count!)");
        std::fflush(stdout);
    }
    ShowLocation(form, kMachine64.viewItem);
}

bool WriteSmallFile(const std::string& path) {
    const TFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), "MZ", 2, &written, nullptr);
}

// Uninstaller `number` of the check's entries, one of kCheckedProgramFiles.
std::string CheckedProgramFile(const std::string& folder, std::uint32_t number) {
    number %= kCheckedProgramFiles;
    return Format("%s\\Check\\%s %s %u\\unins000.exe", folder.c_str(), kVendors[number % 8],
                  kProducts[(number >> 3) % 8], number);
}

// Entries for the check, always the same for an index: 40% Windows Installer commands, 40%
// uninstallers that exist (kCheckedProgramFiles of them, in `folder`), 10% missing ones, 5% on the
// CD-ROM drive E: with no disk, 5% without a command (updates).
void AddCheckEntries(HKEY uninstall, int from, int to, const std::string& folder) {
    for (int index = from; index < to; ++index) {
        const std::string name = EntryKeyName(index);
        TKeyHandle entry;
        if (RegCreateKeyExA(uninstall, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, entry.Receive(),
                            nullptr) != ERROR_SUCCESS)
            continue;
        const std::uint32_t hash = Mix(static_cast<std::uint32_t>(index) ^ 0x27D4EB2Fu);
        const std::string displayName = Format("%s %s %u", kVendors[hash % 8], kProducts[(hash >> 3) % 8], hash % 100);
        SetString(entry.Get(), "DisplayName", displayName);
        SetString(entry.Get(), "DisplayVersion", Format("%u.%u", hash % 7 + 1, hash % 10));
        SetString(entry.Get(), "Publisher", Format("%s Software", kVendors[hash % 8]));
        const unsigned kind = hash % 20;
        if (kind < 8)
            SetString(entry.Get(), "UninstallString", "MsiExec.exe /X" + Guid(hash, index));
        else if (kind < 16)
            SetString(entry.Get(), "UninstallString", Format("\"%s\" /S", CheckedProgramFile(folder, hash >> 5).c_str()));
        else if (kind < 18)
            SetString(entry.Get(), "UninstallString", Format("\"C:\\Program Files\\Gone %d\\unins000.exe\"", index));
        else if (kind < 19)
            SetString(entry.Get(), "UninstallString", Format("E:\\SETUP%d\\UNINST.EXE /u", index % 50));
        else
            SetString(entry.Get(), "ParentKeyName", Guid(hash, index));
        SetDword(entry.Get(), "EstimatedSize", hash % 500000);
    }
}

// The check's work with no window: every entry checked in a plain loop, those not found kept.
size_t CheckWithoutWindow(const TEntryLocation& location) {
    TEntryChecker checker(location);
    std::vector<TEntryCheck> listed;
    for (size_t index = 0; index < checker.Names().size(); ++index) {
        TEntryCheck entry = checker.Check(index);
        if (entry.state != esExistingLink) listed.push_back(std::move(entry));
    }
    return listed.size();
}

// The Check Entries dialog over the main window, from its creation to the end of its check.
size_t CheckInDialog(const TMainForm& form, const TEntryLocation& location) {
    TCheckEntriesForm dialog(form.Handle(), location, [](const std::vector<std::string>&) {
        return std::vector<TRemovalFailure>{};
    });
    ShowWindow(dialog.Handle(), SW_SHOWNOACTIVATE);
    PumpMessages();  // the check runs in the first message the dialog handles
    return dialog.ListedEntries().size();
}

// Table 1c: Check Entries on the shown dialog beside the same checks in a plain loop, in a
// location of its own, each the median of interleaved runs after one untimed run.
void BenchmarkCheckEntries(const TMainForm& form, const std::string& folder) {
    for (std::uint32_t number = 0; number < kCheckedProgramFiles; ++number) {
        const std::string file = CheckedProgramFile(folder, number);
        CreateFolders(file.substr(0, file.rfind('\\')));
        WriteSmallFile(file);
    }
    TKeyHandle root, uninstall;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "CheckEntries", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.Receive(),
                        nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExA(root.Get(), UninstallKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, uninstall.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return;
    const TEntryLocation location{root.Get(), 0, ""};
    std::printf("\n1c. Check Entries: dialog against the same checks in a plain loop (median ms)\n");
    std::printf("   %8s %11s %10s %7s %8s %13s\n", "entries", "dialog ms", "floor ms", "ratio", "listed", "probes/entry");
    int created = 0;
    double firstDialog = 0, firstFloor = 0, lastDialog = 0, lastFloor = 0;
    for (const int size : kSizes) {
        AddCheckEntries(uninstall.Get(), created, size, folder);
        created = size;
        const int repetitions = size >= 50000 ? 3 : size >= 10000 ? 5 : 9;
        CheckWithoutWindow(location);
        const unsigned long probesBefore = BenchmarkSeam::FileProbeCount();
        CheckInDialog(form, location);
        const double probesPerEntry = static_cast<double>(BenchmarkSeam::FileProbeCount() - probesBefore) / size;
        std::vector<double> dialogSamples, floorSamples;
        size_t floorListed = 0, dialogListed = 0;
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            double start = NowMs();
            floorListed = CheckWithoutWindow(location);
            floorSamples.push_back(NowMs() - start);
            start = NowMs();
            dialogListed = CheckInDialog(form, location);
            dialogSamples.push_back(NowMs() - start);
        }
        const double dialogMs = Median(dialogSamples), floorMs = Median(floorSamples);
        if (size == kSizes[0]) firstDialog = dialogMs, firstFloor = floorMs;
        lastDialog = dialogMs, lastFloor = floorMs;
        std::printf("   %8s %11.1f %10.1f %7.2f %8s %13.2f%s\n", Grouped(size).c_str(), dialogMs, floorMs,
                    dialogMs / floorMs, Grouped(static_cast<long long>(dialogListed)).c_str(), probesPerEntry,
                    dialogListed == floorListed ? "" : "  (differs from the floor's count!)");
        std::fflush(stdout);
    }
    const double n = kSizes[std::size(kSizes) - 1] / static_cast<double>(kSizes[0]);
    std::printf("   growth %s -> %s entries: dialog x%.1f, floor x%.1f (linear x%.0f)\n", Grouped(kSizes[0]).c_str(),
                Grouped(kSizes[std::size(kSizes) - 1]).c_str(), lastDialog / firstDialog, lastFloor / firstFloor, n);
}

// Table 2: loading a 200-value entry into the details, and evaluating its link alone.
void BenchmarkDetails(TMainForm& form, const TScratchMachine& machine) {
    const std::string name = "Benchmark Suite 200 Values";
    {
        TKeyHandle entry;
        RegCreateKeyExA(machine.Uninstall(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, entry.Receive(),
                        nullptr);
        SetString(entry.Get(), "DisplayName", "Benchmark Suite 9.1");
        SetString(entry.Get(), "UninstallString", "MsiExec.exe /X{3F2B8C41-7D5E-4A9B-B1C6-2E8F0D4A7C13}");
        for (int index = 2; index < kDetailValues; ++index)
            SetString(entry.Get(), Format("Component%03d", index).c_str(),
                      Format("C:\\Program Files\\Benchmark Suite\\Modules\\module%03d.dll,%d", index, index * 7));
    }
    std::printf("\n2. Details of an entry with %d string values (median of 20 calls)\n", kDetailValues);
    std::printf("   %-44s %10s %13s\n", "call", "ms/call", "probes/call");
    struct TCase {
        const char* label;
        void (*run)(TMainForm&, const std::string&);
    };
    const TCase cases[] = {
        {"ShowEntryDetails (with EvaluateLink)", [](TMainForm& f, const std::string& n) { f.ShowEntryDetails(n); }},
        {"EvaluateLink alone", [](TMainForm& f, const std::string&) { f.EvaluateLink(); }},
    };
    form.ShowEntryDetails(name);
    PumpMessages();
    for (const TCase& item : cases) {
        std::vector<double> samples;
        unsigned long probes = 0;
        for (int call = 0; call < 20; ++call) {
            const unsigned long probesBefore = BenchmarkSeam::FileProbeCount();
            const double start = NowMs();
            item.run(form, name);
            PumpMessages();
            samples.push_back(NowMs() - start);
            probes = BenchmarkSeam::FileProbeCount() - probesBefore;
        }
        std::printf("   %-44s %10.2f %13lu\n", item.label, Median(samples), probes);
    }
    std::printf("   (%d rows shown, link state %d)\n",
                static_cast<int>(SendMessageA(form.FindControl("DEntryList"), LVM_GETITEMCOUNT, 0, 0)),
                static_cast<int>(form.LinkState));
    std::fflush(stdout);
}

// Table 3: SplitCommandLine over the command-line shapes installers write, with a PATH of 40
// directories; uninstallers that exist are files in a scratch folder.
void BenchmarkSplitCommandLine(const std::string& root) {
    const std::string northwind = root + "\\Program Files\\Northwind Notes\\unins000.exe";
    const std::string harbor = root + "\\Program Files (x86)\\Harbor Sync\\HSUninst.exe";
    const std::string script = root + "\\Tools\\Script Runner\\uninstall.bat";
    for (const std::string& file : {northwind, harbor, script}) {
        CreateFolders(file.substr(0, file.rfind('\\')));
        WriteSmallFile(file);
    }
    std::string path = "C:\\windows\\system32;C:\\windows;C:\\windows\\system32\\wbem";
    for (int index = 3; index < kPathDirectories; ++index) {
        const std::string directory = Format("%s\\Path\\Tool %02d\\bin", root.c_str(), index);
        CreateFolders(directory);
        path += ";" + directory;
    }
    SetEnvironmentVariableA("PATH", path.c_str());

    struct TShape {
        const char* label;
        std::string line;
    };
    const TShape shapes[] = {
        {"MsiExec /X{GUID}", "MsiExec.exe /X{3F2B8C41-7D5E-4A9B-B1C6-2E8F0D4A7C13}"},
        {"quoted path with spaces", "\"" + northwind + "\" /SILENT"},
        {"unquoted path with spaces, params", harbor + " /mode=remove /log \"C:\\Temp\\hs.log\""},
        {"missing program", "C:\\Program Files\\Old Scanner\\remove.exe -uninstall"},
        {"E:\\ CD path (no disk)", "E:\\SETUP\\UNINST.EXE /u"},
        {"RunDll32 line", "RunDll32 advpack.dll,LaunchINFSection C:\\windows\\INF\\codecs.inf,DefaultUninstall"},
        {".bat file", script},
        {"bare name not found", "uninst -y"},
    };
    std::printf("\n3. SplitCommandLine with a PATH of %d directories (median of 5 x 20 calls)\n", kPathDirectories);
    std::printf("   %-36s %10s %13s  %s\n", "command line", "ms/call", "probes/call", "program");
    for (const TShape& shape : shapes) {
        std::string program, params;
        const unsigned long probesBefore = BenchmarkSeam::FileProbeCount();
        SplitCommandLine(shape.line, program, params);
        const unsigned long probes = BenchmarkSeam::FileProbeCount() - probesBefore;
        std::vector<double> samples;
        for (int batch = 0; batch < 5; ++batch) {
            const double start = NowMs();
            for (int call = 0; call < 20; ++call) SplitCommandLine(shape.line, program, params);
            samples.push_back((NowMs() - start) / 20);
        }
        const char* found = program.empty() ? "not found" : FileExists(program) ? "found" : "drive path kept";
        std::printf("   %-36s %10.3f %13lu  %s\n", shape.label, Median(samples), probes, found);
    }
    std::fflush(stdout);
}

std::string WineVersion() {
    using TGetVersion = const char*(CDECL*)();
    const auto get = reinterpret_cast<TGetVersion>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return get ? Format("Wine %s", get()) : "Windows";
}

std::string TempFolder() {
    char buffer[MAX_PATH + 1] = "";
    const DWORD length = GetTempPathA(sizeof(buffer), buffer);
    std::string folder(buffer, length <= MAX_PATH ? length : 0);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + "\\TarnwickBench";
}

}  // namespace

int main() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InitDiskFreeSpaceFunction();

    std::printf("Tarnwick benchmark, %d-bit build under %s\n", static_cast<int>(sizeof(void*) * 8),
                WineVersion().c_str());
    const double startMiB = PeakWorkingSetMiB();
    const TScratchMachine machine;
    if (!machine.Ready()) {
        std::printf("could not set up the scratch registry key\n");
        return 1;
    }
    const std::string folder = TempFolder();
    int result = 0;
    try {
        TMainForm form;
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
        PumpMessages();
        const double peakMiB = BenchmarkRefresh(form, machine);
        BenchmarkOtherLocations(form, machine);
        BenchmarkCheckEntries(form, folder);
        BenchmarkDetails(form, machine);
        BenchmarkSplitCommandLine(folder);
        std::printf("\n4. Peak working set: %.1f MiB with %s entries listed (%.1f MiB at start)\n", peakMiB,
                    Grouped(kSizes[std::size(kSizes) - 1]).c_str(), startMiB);
    } catch (const std::exception& error) {
        std::printf("benchmark stopped: %s\n", error.what());
        result = 1;
    }
    DeleteFolderTree(folder);
    return result;
}
