// End to end in the real main window: the sample NSIS installers (for all users and for the
// current user) and the sample Windows Installer packages (64-bit and 32-bit) install into the
// test prefix's real registry; the window finds each entry under its own View item only, and
// lists, resolves, uninstalls, removes, exports and imports it as a user would, answering the
// real dialogs; Check Entries finds the NSIS entries whose uninstallers were deleted.
#include "Forms/CheckEntries.h"
#include "GuiTest.h"
#include "Installations.h"
#include "KeyTrees.h"
#include "Entries/CodePage.h"
#include "Entries/RegFile.h"
#include "Entries/ExecApp.h"
#include "ScratchFolder.h"
#include "Win/Controls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr int kFileNameBox = 0x47c;  // the file dialogs' file name box (cmb13)

using TStringValues = std::map<std::string, std::string>;  // name -> data

// The View menu's items and the locations they show.
const struct {
    const TEntryLocation& location;
    const char* itemName;
} kViewItems[] = {
    {kMachine64Location, "View64BitItem"},
    {kMachine32Location, "View32BitItem"},
    {kUserLocation, "ViewUserItem"},
};

// The values of an entry read with the raw API: the strings (REG_SZ, REG_EXPAND_SZ) and the
// others, each with the text the details are to show for it. The installers write numbers
// (REG_DWORD) only beside their strings.
struct TEntryValues {
    TStringValues strings;
    TStringValues others;
};

TEntryValues ReadEntryValues(const std::string& entry, const TEntryLocation& location) {
    TEntryValues values;
    TKeyHandle key;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(location.root, EntryKeyPath(entry).c_str(), 0, KEY_READ | location.view,
                                           key.Receive()))
        << entry;
    for (DWORD index = 0;; ++index) {
        char name[256];
        char data[4096];
        DWORD nameLength = sizeof(name), type = REG_NONE, size = sizeof(data);
        if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS)
            break;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            values.strings[name] = std::string(data, size > 0 ? size - 1 : 0);
        } else {
            EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << name;
            EXPECT_EQ(4u, size) << name;
            DWORD number = 0;
            std::memcpy(&number, data, sizeof(number));
            char shown[32];
            std::snprintf(shown, sizeof(shown), "0x%08lx (%lu)", static_cast<unsigned long>(number),
                          static_cast<unsigned long>(number));
            values.others[name] = shown;
        }
    }
    return values;
}

// The export's warning for the values that are not text, named in the details' order.
std::string NotExportedWarning(const TStringValues& others) {
    std::vector<std::string> names;
    for (const auto& [name, shown] : others) names.push_back(name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; });
    std::string series;
    for (size_t i = 0; i < names.size(); ++i) series += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return names.size() == 1 ? "The value " + series + " is not text and was not exported."
                             : "The values " + series + " are not text and were not exported.";
}

std::string SystemFolder() {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\r')); }

// Puts the process's current directory back when it goes: a file dialog makes the chosen
// file's folder current, and a current folder cannot be deleted.
class TCurrentDirectoryGuard {
public:
    TCurrentDirectoryGuard() {
        char directory[MAX_PATH] = "";
        saved_.assign(directory, GetCurrentDirectoryA(MAX_PATH, directory));
    }
    ~TCurrentDirectoryGuard() { SetCurrentDirectoryA(saved_.c_str()); }
    TCurrentDirectoryGuard(const TCurrentDirectoryGuard&) = delete;
    TCurrentDirectoryGuard& operator=(const TCurrentDirectoryGuard&) = delete;

private:
    std::string saved_;
};

// The main window over the prefix's real registry, where the installers write; `location_` is
// where the test's sample registers.
class MachineWindowTest : public ::testing::Test, public TMainWindowFixture {
protected:
    explicit MachineWindowTest(const TEntryLocation& location = kMachine64Location) : location_(location) {}

    void SetUp() override { OpenMainWindow(); }
    void TearDown() override { CloseMainWindow(); }

    bool Listed(const char* listName, const std::string& entry) {
        const auto entries = Entries(listName);
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }

    TStringValues ShownValues() {
        TStringValues shown;
        for (const TRow& row : Rows()) shown[row.caption] = row.value;
        return shown;
    }

    std::vector<std::string> CheckedCaptions() {
        std::vector<std::string> checked;
        for (const TRow& row : Rows())
            if (row.checked) checked.push_back(row.caption);
        return checked;
    }

    // The user focuses the details row `caption` and presses space, which toggles its check.
    void PressSpaceOn(const std::string& caption) {
        HWND details = Control("DEntryList");
        const std::vector<TRow> rows = Rows();
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const TRow& shown) { return shown.caption == caption; });
        ASSERT_NE(rows.end(), row) << "no row " << caption;
        SetFocus(details);
        LVITEMA state{};
        state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
        const auto index = static_cast<WPARAM>(row - rows.begin());
        SendMessageA(details, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
        PressKey(details, VK_SPACE);
    }

    // Waits for `condition` while the window goes on handling its messages, as the
    // application's loop would while an uninstaller runs.
    template <class Condition>
    static bool PumpUntil(Condition condition) {
        return WaitFor([&] {
            PumpMessages();
            return condition();
        });
    }

    // Shows each location in turn: the entry is listed under its own View item only. Ends on
    // the entry's own location.
    void ExpectListedOnlyInItsLocation(const std::string& entry) {
        const char* ownItem = nullptr;
        for (const auto& view : kViewItems) {
            SCOPED_TRACE(view.itemName);
            Command(view.itemName);
            const bool own = &view.location == &location_;
            EXPECT_EQ(own, Listed("CEntryList", entry)) << entry;
            EXPECT_FALSE(Listed("UEntryList", entry));
            if (own) ownItem = view.itemName;
        }
        ASSERT_NE(nullptr, ownItem);
        Command(ownItem);
    }

    // Activates the application and selects the installed entry in "Conventional Entries" of
    // its location. Installers write numbers beside the strings: the details show every value,
    // the numbers in the registry editor's notation, and no error box opens.
    void SelectInstalledEntry(const std::string& entry) {
        ASSERT_NO_FATAL_FAILURE(ExpectListedOnlyInItsLocation(entry));
        Activate();
        ASSERT_TRUE(Listed("CEntryList", entry)) << entry;
        EXPECT_FALSE(Listed("UEntryList", entry));
        const TEntryValues values = ReadEntryValues(entry, location_);
        ASSERT_FALSE(values.others.empty()) << entry << " holds only strings";
        {
            TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
            ClickEntry("CEntryList", entry);
            EXPECT_FALSE(errorBox.Answered()) << errorBox.Snapshot().text;
        }
        EXPECT_EQ(entry, Form().EntryName);
        TStringValues expected = values.strings;
        expected.insert(values.others.begin(), values.others.end());
        EXPECT_EQ(expected, ShownValues());
    }

    // Runs a menu command whose confirmation is answered OK; fails when a warning follows.
    void RunConfirmed(const char* itemName) {
        const TConfirmedRun run = RunWithConfirmation([&] { Command(itemName); }, PressButton(IDOK));
        ASSERT_TRUE(run.confirmed) << itemName << " asked nothing";
        EXPECT_FALSE(run.warned) << run.warning.text;
    }

    // Runs File > Export or File > Import and answers its file dialog with `fileName`; fails
    // when the program's error box follows (which is answered OK). With `warningFollows` a
    // warning is expected instead and answered OK; its text goes to `warning`.
    void RunFileCommand(const char* itemName, const char* dialogTitle, const std::string& fileName,
                        bool warningFollows = false, std::string* warning = nullptr) {
        std::unique_ptr<TModalAnswer> followUp;
        TModalAnswer dialog(kMessageBoxClass, dialogTitle, [&](HWND window) {
            SetWindowTextA(GetDlgItem(window, kFileNameBox), fileName.c_str());
            PressButton(IDOK)(window);
            followUp = warningFollows ? std::make_unique<TModalAnswer>(kFormClassName, "Warning", PressButton(IDOK))
                                      : std::make_unique<TModalAnswer>(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        });
        Command(itemName);
        ASSERT_TRUE(dialog.Answered()) << dialogTitle << " did not open";
        if (warningFollows) {
            ASSERT_TRUE(followUp && followUp->Answered()) << "no warning after " << itemName;
            if (warning) *warning = followUp->Snapshot().text;
        } else {
            EXPECT_FALSE(followUp && followUp->Answered()) << followUp->Snapshot().text;
        }
    }

    // Uninstall in the window runs the entry's own uninstaller; once it has removed the entry
    // and the program's folder, coming back to the application lists the entry no more.
    // `whileRunning`, if given, acts on the uninstaller after the removal.
    void UninstallSelectedEntry(const std::string& entry, const std::string& folder,
                                const std::function<void()>& whileRunning = {}) {
        ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditUninstallItem"));
        EXPECT_TRUE(PumpUntil([&] { return EntryAndFolderGone(entry, folder, location_); })) << entry << " stays";
        if (whileRunning) whileRunning();
        Activate();
        EXPECT_FALSE(Listed("CEntryList", entry));
        EXPECT_FALSE(Listed("UEntryList", entry));
        EXPECT_EQ("", Form().EntryName);
    }

    // Exports the selected entry, which warns of the values that are not text, removes it,
    // imports the file again: the entry is back in "Conventional Entries" with the same string
    // values. The others could not be exported and do not come back.
    void ExportRemoveImport(const std::string& entry) {
        const TEntryValues before = ReadEntryValues(entry, location_);
        const TScratchFolder folder;
        const TCurrentDirectoryGuard directory;
        const std::string fileName = folder.Path("entry.ini");
        std::string warning;
        ASSERT_NO_FATAL_FAILURE(RunFileCommand("FileExportItem", "Export registry key", fileName, true, &warning));
        EXPECT_EQ(NotExportedWarning(before.others), warning);
        ASSERT_TRUE(PathExists(fileName));

        ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditRemoveItem"));
        ASSERT_FALSE(EntryExists(entry, location_));
        EXPECT_FALSE(Listed("CEntryList", entry));

        ASSERT_NO_FATAL_FAILURE(RunFileCommand("FileImportItem", "Import registry key", fileName));
        ASSERT_TRUE(EntryExists(entry, location_));
        const TEntryValues after = ReadEntryValues(entry, location_);
        EXPECT_EQ(before.strings, after.strings);
        EXPECT_TRUE(after.others.empty());
        EXPECT_TRUE(Listed("CEntryList", entry));
        EXPECT_FALSE(Listed("UEntryList", entry));
        for (const auto& view : kViewItems) {
            if (&view.location == &location_) continue;
            EXPECT_FALSE(EntryExists(entry, view.location)) << view.itemName;
        }
    }

    // Registration files both ways between the window and Wine's registry editor and reg
    // tool: each gives back the identical tree of the entry.
    void RegFileRoundTrips(const std::string& entry) {
        const TKeyTree before = ReadEntryTree(location_, WideFromCodePage(CP_ACP, entry));
        ASSERT_FALSE(before.values.empty());
        const TScratchFolder folder;
        const TCurrentDirectoryGuard directory;
        const std::string ours = folder.Path("ours.reg");
        ASSERT_NO_FATAL_FAILURE(RunFileCommand("FileExportItem", "Export registry key", ours));
        const std::string key = DisplayName(RegFileUninstallKey(location_)) + "\\" + entry;
        for (const std::string& importer : {"regedit.exe /S " + Quoted(ours), "reg.exe import " + Quoted(ours)}) {
            SCOPED_TRACE(importer);
            ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditRemoveItem"));
            ASSERT_FALSE(EntryExists(entry, location_));
            EXPECT_EQ(0u, RunAndWait(importer));
            EXPECT_EQ(before, ReadEntryTree(location_, WideFromCodePage(CP_ACP, entry)));
            Form().RefreshEntryViews();
            ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(entry));
        }
        const std::string theirs = folder.Path("theirs.reg");
        for (const std::string& exporter :
             {"regedit.exe /E " + Quoted(theirs) + " " + Quoted(key), "reg.exe export " + Quoted(key) + " " + Quoted(theirs) + " /y"}) {
            SCOPED_TRACE(exporter);
            DeleteFileA(theirs.c_str());
            EXPECT_EQ(0u, RunAndWait(exporter));
            ASSERT_TRUE(PathExists(theirs));
            ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditRemoveItem"));
            ASSERT_NO_FATAL_FAILURE(RunFileCommand("FileImportItem", "Import registry key", theirs));
            EXPECT_EQ(before, ReadEntryTree(location_, WideFromCodePage(CP_ACP, entry)));
            ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(entry));
        }
    }

    const TEntryLocation& location_;
};

class NsisEntryWindowTest : public MachineWindowTest {
protected:
    TSampleNsisGuard sample_;
};

TEST_F(NsisEntryWindowTest, IsResolvedAndUninstalledByItsOwnUninstaller) {
    ASSERT_TRUE(InstallSampleNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kNsisEntry));
    // The registry enumerates QuietUninstallString before UninstallString here, and the
    // auto-check takes the first value whose name holds "UninstallString".
    EXPECT_EQ(std::vector<std::string>{"QuietUninstallString"}, CheckedCaptions());
    EXPECT_EQ(lsExistingLink, Form().LinkState);
    EXPECT_EQ("EXISTING LINK", FirstLine(InfoText()));
    EXPECT_EQ(kNsisUninstaller, Form().UninstallCommand);
    EXPECT_EQ("/S", Form().UninstallParams);

    UninstallSelectedEntry(kNsisEntry, kNsisFolder);
}

TEST_F(NsisEntryWindowTest, ItsPlainUninstallStringRunsTheUninstallerWithItsWindow) {
    ASSERT_TRUE(InstallSampleNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kNsisEntry));
    // The user checks the plain command instead of the quiet one.
    ASSERT_NO_FATAL_FAILURE(PressSpaceOn("QuietUninstallString"));
    ASSERT_NO_FATAL_FAILURE(PressSpaceOn("UninstallString"));
    EXPECT_EQ(std::vector<std::string>{"UninstallString"}, CheckedCaptions());
    EXPECT_EQ(lsExistingLink, Form().LinkState);
    EXPECT_EQ(kNsisUninstaller, Form().UninstallCommand);
    EXPECT_EQ("", Form().UninstallParams);

    // Without /S the uninstaller removes everything at once, then waits on its last page for
    // the user to press Close.
    UninstallSelectedEntry(kNsisEntry, kNsisFolder, [] {
        HWND uninstaller = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            uninstaller = FindWindowA(kMessageBoxClass, "Tarnwick Sample NSIS Uninstall: Completed");
            return uninstaller != nullptr;
        })) << "the uninstaller's window did not show";
        PressButton(IDOK)(uninstaller);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(uninstaller); }));
    });
}

TEST_F(NsisEntryWindowTest, WithoutItsUninstallerIsAnInvalidLinkThatRemoveDeletes) {
    ASSERT_TRUE(InstallSampleNsis());
    ASSERT_TRUE(DeleteFileA(kNsisUninstaller.c_str()));
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kNsisEntry));
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
    EXPECT_EQ("INVALID LINK", FirstLine(InfoText()));
    EXPECT_EQ(kNsisUninstaller, Form().UninstallCommand);

    ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditRemoveItem"));
    EXPECT_FALSE(EntryExists(kNsisEntry));
    EXPECT_FALSE(Listed("CEntryList", kNsisEntry));
    EXPECT_FALSE(Listed("UEntryList", kNsisEntry));
    EXPECT_EQ("NO SELECTED ENTRY", FirstLine(InfoText()));
    EXPECT_TRUE(PathExists(kNsisFolder + "\\SampleApp.exe")) << "Remove touches the registry only";
}

TEST_F(NsisEntryWindowTest, ExportRemoveImportRestoresItsTextValuesAndNamesTheNumbers) {
    ASSERT_TRUE(InstallSampleNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kNsisEntry));
    ExportRemoveImport(kNsisEntry);
}

TEST_F(NsisEntryWindowTest, RegistrationFilesRoundTripWithWineRegeditAndReg) {
    ASSERT_TRUE(InstallSampleNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kNsisEntry));
    RegFileRoundTrips(kNsisEntry);
}

class MsiEntryWindowTest : public MachineWindowTest {
protected:
    TSampleMsiGuard sample_;
};

TEST_F(MsiEntryWindowTest, IsResolvedThroughTheSearchListAndUninstalledByWindowsInstaller) {
    ASSERT_TRUE(InstallSampleMsi());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kMsiProductCode));
    EXPECT_EQ(std::vector<std::string>{"UninstallString"}, CheckedCaptions());
    EXPECT_EQ(lsExistingLink, Form().LinkState);
    EXPECT_EQ("EXISTING LINK", FirstLine(InfoText()));
    // "MsiExec.exe" alone is found in the system folder.
    EXPECT_STRCASEEQ((SystemFolder() + "\\msiexec.exe").c_str(), Form().UninstallCommand.c_str());
    EXPECT_EQ("/X" + kMsiProductCode, Form().UninstallParams);

    // Run as it stands: Wine's msiexec asks nothing before it removes a product.
    UninstallSelectedEntry(kMsiProductCode, kMsiFolder);
}

TEST_F(MsiEntryWindowTest, ExportRemoveImportRestoresItsTextValuesAndNamesTheNumbers) {
    ASSERT_TRUE(InstallSampleMsi());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kMsiProductCode));
    ExportRemoveImport(kMsiProductCode);
}

class UserNsisEntryWindowTest : public MachineWindowTest {
protected:
    UserNsisEntryWindowTest() : MachineWindowTest(kUserLocation) {}
    TSampleNsisGuard sample_{true};
};

TEST_F(UserNsisEntryWindowTest, IsListedUnderUserProgramsAndUninstalledByItsOwnUninstaller) {
    ASSERT_TRUE(InstallSampleUserNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kUserNsisEntry));
    EXPECT_EQ("Tarnwick - User Programs", WindowText(Form().Handle()));
    EXPECT_EQ(lsExistingLink, Form().LinkState);
    EXPECT_EQ(UserNsisFolder() + "\\uninstall.exe", Form().UninstallCommand);
    EXPECT_EQ("/S", Form().UninstallParams);

    UninstallSelectedEntry(kUserNsisEntry, UserNsisFolder());
}

TEST_F(UserNsisEntryWindowTest, ExportRemoveImportRestoresItsTextValuesAndNamesTheNumbers) {
    ASSERT_TRUE(InstallSampleUserNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kUserNsisEntry));
    ExportRemoveImport(kUserNsisEntry);
}

TEST_F(UserNsisEntryWindowTest, RegistrationFilesRoundTripWithWineRegeditAndReg) {
    ASSERT_TRUE(InstallSampleUserNsis());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kUserNsisEntry));
    RegFileRoundTrips(kUserNsisEntry);
}

class Msi32EntryWindowTest : public MachineWindowTest {
protected:
    Msi32EntryWindowTest() : MachineWindowTest(kMachine32Location) {}
    TSampleMsiGuard sample_{true};
};

TEST_F(Msi32EntryWindowTest, IsListedUnder32BitProgramsAndUninstalledByWindowsInstaller) {
    ASSERT_TRUE(InstallSampleMsi32());
    EXPECT_TRUE(PathExists(kMsi32Folder + "\\SampleApp.exe"));
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kMsi32ProductCode));
    EXPECT_EQ("Tarnwick - 32-bit Programs", WindowText(Form().Handle()));
    EXPECT_EQ(lsExistingLink, Form().LinkState);
    EXPECT_STRCASEEQ((SystemFolder() + "\\msiexec.exe").c_str(), Form().UninstallCommand.c_str());
    EXPECT_EQ("/X" + kMsi32ProductCode, Form().UninstallParams);

    UninstallSelectedEntry(kMsi32ProductCode, kMsi32Folder);
}

TEST_F(Msi32EntryWindowTest, ExportRemoveImportRestoresItsTextValuesAndNamesTheNumbers) {
    ASSERT_TRUE(InstallSampleMsi32());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kMsi32ProductCode));
    ExportRemoveImport(kMsi32ProductCode);
}

class NsisEntriesCheckTest : public MachineWindowTest {
protected:
    TSampleNsisGuard machineSample_;
    TSampleNsisGuard userSample_{true};
};

TEST_F(NsisEntriesCheckTest, WithoutTheirUninstallersAreInvalidLinksThatRemoveCheckedDeletes) {
    ASSERT_TRUE(InstallSampleNsis());
    ASSERT_TRUE(InstallSampleUserNsis());
    const struct {
        const char* viewItem;
        const std::string& entry;
        std::string folder;
        const TEntryLocation& location;
    } samples[] = {
        {"View64BitItem", kNsisEntry, kNsisFolder, kMachine64Location},
        {"ViewUserItem", kUserNsisEntry, UserNsisFolder(), kUserLocation},
    };
    for (const auto& sample : samples) ASSERT_TRUE(DeleteFileA((sample.folder + "\\uninstall.exe").c_str()));
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.entry);
        Command(sample.viewItem);
        TCheckEntriesForm dialog(Form().Handle(), Form().ShownLocation(),
                                 [&](const std::vector<std::string>& names) { return Form().RemoveEntries(names); });
        dialog.Show();
        PumpMessages();
        ASSERT_FALSE(dialog.Checking());
        HWND list = dialog.FindControl("EntryList");
        int sampleRow = -1;
        for (int row = 0; row < ListViewRowCount(list); ++row) {
            if (ListViewText(list, row, 0) == sample.entry) sampleRow = row;
            else ListViewSetChecked(list, row, false);  // the prefix's other entries stay
        }
        ASSERT_LE(0, sampleRow);
        EXPECT_EQ("INVALID LINK", ListViewText(list, sampleRow, 2));
        // The command the details check: the registry lists QuietUninstallString first.
        EXPECT_EQ(Quoted(sample.folder + "\\uninstall.exe") + " /S", ListViewText(list, sampleRow, 3));
        EXPECT_TRUE(ListViewChecked(list, sampleRow));

        HWND remove = dialog.FindControl("RemoveButton");
        const TConfirmedRun run = RunWithConfirmation([&] {
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(remove), BN_CLICKED),
                         reinterpret_cast<LPARAM>(remove));
            PumpMessages();
        }, PressButton(IDOK));
        ASSERT_TRUE(run.confirmed);
        EXPECT_EQ("You are about to remove 1 registry key.\r\nContinue ?", run.confirmation.text);
        EXPECT_FALSE(run.warned) << run.warning.text;
        EXPECT_FALSE(EntryExists(sample.entry, sample.location));
        for (const TEntryCheck& left : dialog.ListedEntries()) EXPECT_NE(sample.entry, left.name);
        EXPECT_TRUE(PathExists(sample.folder + "\\SampleApp.exe")) << "Remove touches the registry only";
    }
}

TEST_F(Msi32EntryWindowTest, RegistrationFilesRoundTripWithWineRegeditAndReg) {
    ASSERT_TRUE(InstallSampleMsi32());
    ASSERT_NO_FATAL_FAILURE(SelectInstalledEntry(kMsi32ProductCode));
    RegFileRoundTrips(kMsi32ProductCode);
}

}  // namespace

// The system folder of each registry view, in the prefix's real folders and registry: a
// program that only the native system folder holds, and one that only SysWOW64 holds, each
// named as an entry of either view writes it, under %windir%\System32.
class SystemFolderViewTest : public MachineWindowTest {
protected:
    static constexpr const char* kNativeOnly = "TwkNativeOnly";
    static constexpr const char* kWow64Only = "TwkWow64Only";

    void SetUp() override {
        MachineWindowTest::SetUp();
        // Copies of this process's own command interpreter, which writes the marker it is told to.
        const std::string interpreter = SystemFolder() + "\\cmd.exe";
        ASSERT_TRUE(CopyFileA(interpreter.c_str(), Program(NativeFolder(), kNativeOnly).c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(interpreter.c_str(), Program(Wow64Folder(), kWow64Only).c_str(), FALSE));
    }
    void TearDown() override {
        for (const auto& view : kViewItems) RemoveEntry(view.location);
        DeleteFileA(Program(NativeFolder(), kNativeOnly).c_str());
        DeleteFileA(Program(Wow64Folder(), kWow64Only).c_str());
        MachineWindowTest::TearDown();
    }

    static std::string WindowsFolder() {
        char folder[MAX_PATH] = "";
        GetWindowsDirectoryA(folder, MAX_PATH);
        return folder;
    }
    // The 64-bit system folder as this process reaches it with redirection on.
    static std::string NativeFolder() {
        return WindowsFolder() + (sizeof(void*) == 4 ? "\\Sysnative" : "\\System32");
    }
    static std::string Wow64Folder() {
        char folder[MAX_PATH] = "";
        GetSystemWow64DirectoryA(folder, MAX_PATH);
        return folder;
    }
    static std::string Program(const std::string& folder, const char* name) { return folder + "\\" + name + ".exe"; }

    static constexpr const char* kEntry = "TarnwickSystemFolderSample";
    static void WriteEntry(const TEntryLocation& location, const std::string& subkey, const std::string& name,
                           const std::string& value) {
        TKeyHandle key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(location.root, (EntryKeyPath(kEntry) + subkey).c_str(), 0, nullptr,
                                                 0, KEY_ALL_ACCESS | location.view, nullptr, key.Receive(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(value.c_str()),
                                                static_cast<DWORD>(value.size() + 1)));
    }
    static void RemoveEntry(const TEntryLocation& location) {
        TKeyHandle uninstall;
        if (RegOpenKeyExA(location.root, UninstallKeyPath, 0, KEY_ALL_ACCESS | location.view, uninstall.Receive()) ==
            ERROR_SUCCESS)
            RegDeleteTreeA(uninstall.Get(), kEntry);
    }
    static bool SubkeyExists(const TEntryLocation& location, const std::string& subkey) {
        TKeyHandle key;
        return RegOpenKeyExA(location.root, (EntryKeyPath(kEntry) + subkey).c_str(), 0, KEY_READ | location.view,
                             key.Receive()) == ERROR_SUCCESS;
    }
};

// The uninstallers start with redirection on, so the shell still works in the same run after
// the 64-bit one: it starts the 32-bit one, and a program of the process's own system folder.
TEST_F(SystemFolderViewTest, EachViewFindsAndStartsOnlyItsOwnSystemFoldersProgram) {
    const TScratchFolder markers;
    const struct {
        const TEntryLocation& location;
        const char* itemName;
        const char* program;
        LinkState state;
    } rows[] = {
        {kMachine64Location, "View64BitItem", kWow64Only, lsInvalidLink},
        {kMachine32Location, "View32BitItem", kNativeOnly, lsInvalidLink},
        {kMachine64Location, "View64BitItem", kNativeOnly, lsExistingLink},
        {kMachine32Location, "View32BitItem", kWow64Only, lsExistingLink},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.itemName) + " " + row.program);
        const std::string marker = markers.Path(std::string(row.program) + ".started");
        ASSERT_NO_FATAL_FAILURE(WriteEntry(row.location, "", "DisplayName", row.program));
        ASSERT_NO_FATAL_FAILURE(WriteEntry(row.location, "", "UninstallString",
                                           Program(WindowsFolder() + "\\System32", row.program) +
                                               " /c echo started>" + Quoted(marker)));
        Command(row.itemName);
        Activate();
        ClickEntry("CEntryList", kEntry);
        EXPECT_EQ(row.state, Form().LinkState) << Form().UninstallCommand;
        if (row.state == lsExistingLink) {
            ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditUninstallItem"));
            // A program started under emulation takes minutes.
            EXPECT_TRUE(WaitFor([&] { PumpMessages(); return PathExists(marker); }, 600000)) << "not started";
        }
        RemoveEntry(row.location);
    }
    EXPECT_GT(ShellRun(SystemFolder() + "\\cmd.exe", "/c echo started>" + Quoted(markers.Path("shell")), "", SW_HIDE), 32);
    EXPECT_TRUE(WaitFor([&] { return PathExists(markers.Path("shell")); }, 600000));
}

// Remove deletes the tree of the shown view only: a same-named tree in the other view stays.
TEST_F(SystemFolderViewTest, RemoveDeletesTheShownViewsTreeOnly) {
    const struct {
        const TEntryLocation& removed;
        const char* itemName;
        const TEntryLocation& kept;
    } rows[] = {
        {kMachine64Location, "View64BitItem", kMachine32Location},
        {kMachine32Location, "View32BitItem", kMachine64Location},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.itemName);
        for (const TEntryLocation* location : {&row.removed, &row.kept}) {
            ASSERT_NO_FATAL_FAILURE(WriteEntry(*location, "", "DisplayName", location == &row.kept ? "kept" : "removed"));
            ASSERT_NO_FATAL_FAILURE(WriteEntry(*location, "", "UninstallString", "C:\\same\\unins.exe"));
            ASSERT_NO_FATAL_FAILURE(WriteEntry(*location, "\\Inner", "Kept", "yes"));
        }
        Command(row.itemName);
        Activate();
        ClickEntry("CEntryList", kEntry);
        ASSERT_NO_FATAL_FAILURE(RunConfirmed("EditRemoveItem"));
        EXPECT_FALSE(SubkeyExists(row.removed, ""));
        EXPECT_TRUE(SubkeyExists(row.kept, "\\Inner"));
        RemoveEntry(row.kept);
    }
}
