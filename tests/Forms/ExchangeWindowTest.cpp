// File > Export and File > Import in the real main window against a scratch registry, through
// the platform's real file dialogs, answered from a timer.
#include "GuiTest.h"
#include "ScratchFolder.h"

#include "Win/Application.h"
#include "Win/Controls.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

// Controls of the explorer-style file dialog and of a message box.
constexpr int kFileNameBox = 0x47c;   // cmb13, the file name
constexpr int kFilterBox = 0x470;     // cmb1, the file types
constexpr int kReadOnlyBox = 0x410;   // chx1
constexpr int kMessageText = 0xffff;  // a message box's text

// What a file dialog showed when it was answered.
struct TFileDialogView {
    std::string fileName;              // the name box when the dialog opened
    std::vector<std::string> filters;  // the file types' descriptions
    int selectedFilter = -1;
    bool readOnlyBoxShown = true;
    bool explorerStyle = false;  // a shell view shows the folder
    HWND owner = nullptr;
    bool ownerEnabled = true;
};

void Press(HWND window, int buttonId) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0); }

struct TOwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM searchAddress) {
    auto& search = *reinterpret_cast<TOwnedSearch*>(searchAddress);
    if (GetWindow(window, GW_OWNER) != search.owner || !IsWindowVisible(window)) return TRUE;
    search.found = window;
    return FALSE;
}

// Answers the file dialog captioned `title` that the test's next action opens: records what it
// shows, runs `whileOpen`, then types `typed` and presses OK, or presses Cancel when `typed` is
// empty. The dialog's own message boxes are answered Yes, or OK followed by Cancel on the
// dialog when they only tell of a refusal; the program's error box and warnings are answered
// OK. The texts of all of them are recorded. Only one at a time; the timer stops when the object goes.
class TFileDialogAnswer {
public:
    TFileDialogAnswer(std::string title, std::string typed, std::function<void()> whileOpen = {})
        : title_(std::move(title)), typed_(std::move(typed)), whileOpen_(std::move(whileOpen)) {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 20, OnTimer);
    }
    ~TFileDialogAnswer() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    TFileDialogAnswer(const TFileDialogAnswer&) = delete;
    TFileDialogAnswer& operator=(const TFileDialogAnswer&) = delete;

    bool Shown() const { return dialog_ != nullptr; }
    const TFileDialogView& View() const { return view_; }
    const std::vector<std::string>& Prompts() const { return prompts_; }
    const std::vector<std::string>& Errors() const { return errors_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (TFileDialogAnswer* self = active_) self->Step();
    }

    void Step() {
        if (!dialog_) {
            HWND dialog = FindWindowA(kMessageBoxClass, title_.c_str());
            if (dialog && IsWindowVisible(dialog) && GetDlgItem(dialog, kFileNameBox)) Answer(dialog);
        } else if (IsWindow(dialog_)) {
            TOwnedSearch search{dialog_, nullptr};
            EnumThreadWindows(GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&search));
            if (!search.found) return;
            prompts_.push_back(WindowText(GetDlgItem(search.found, kMessageText)));
            const bool question = GetDlgItem(search.found, IDYES) != nullptr;
            Press(search.found, question ? IDYES : IDOK);
            if (!question) Press(dialog_, IDCANCEL);
        } else if (HWND box = FindWindowA(kMessageBoxClass, Application().Title().c_str());
                   box && IsWindowVisible(box)) {
            errors_.push_back(WindowText(GetDlgItem(box, kMessageText)));
            Press(box, IDOK);
        } else if (HWND warning = FindWindowA(kFormClassName, "Warning"); warning && IsWindowVisible(warning)) {
            warnings_.push_back(SnapshotOf(warning).text);
            PressButton(IDOK)(warning);
        }
    }

    void Answer(HWND dialog) {
        dialog_ = dialog;
        view_.fileName = WindowText(GetDlgItem(dialog, kFileNameBox));
        HWND filters = GetDlgItem(dialog, kFilterBox);
        for (int index = 0; index < SendMessageA(filters, CB_GETCOUNT, 0, 0); ++index) {
            char text[256] = "";
            SendMessageA(filters, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
            view_.filters.push_back(text);
        }
        view_.selectedFilter = static_cast<int>(SendMessageA(filters, CB_GETCURSEL, 0, 0));
        view_.readOnlyBoxShown = IsWindowVisible(GetDlgItem(dialog, kReadOnlyBox)) != FALSE;
        view_.explorerStyle = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr) != nullptr;
        view_.owner = GetWindow(dialog, GW_OWNER);
        view_.ownerEnabled = view_.owner && IsWindowEnabled(view_.owner);
        if (whileOpen_) whileOpen_();
        if (typed_.empty()) {
            Press(dialog, IDCANCEL);
        } else {
            SetWindowTextA(GetDlgItem(dialog, kFileNameBox), typed_.c_str());
            Press(dialog, IDOK);
        }
    }

    static inline TFileDialogAnswer* active_ = nullptr;
    std::string title_;
    std::string typed_;
    std::function<void()> whileOpen_;
    UINT_PTR timer_ = 0;
    HWND dialog_ = nullptr;
    TFileDialogView view_;
    std::vector<std::string> prompts_;
    std::vector<std::string> errors_;
    std::vector<std::string> warnings_;
};

constexpr const char* kExportTitle = "Export registry key";
constexpr const char* kImportTitle = "Import registry key";

using TValues = std::map<std::string, std::pair<DWORD, std::string>>;  // name -> type, data

class ExchangeWindowTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        SetCurrentDirectoryA(kElsewhere);
    }


    // Selects `entry` from whichever list shows it.
    void Select(const std::string& entry) {
        ClickEntry(Listed("CEntryList", entry) ? "CEntryList" : "UEntryList", entry);
    }

    bool Listed(const char* listName, const std::string& entry) {
        const auto entries = Entries(listName);
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }

    // What both file dialogs show when they open, owned (and disabled) by the main window.
    void ExpectTheExchangeDialogLook(TFileDialogAnswer& answer) {
        EXPECT_EQ("Untitled", answer.View().fileName);
        EXPECT_EQ((std::vector<std::string>{"INI files", "Registration Files (*.reg)", "All files"}), answer.View().filters);
        EXPECT_EQ(0, answer.View().selectedFilter);
        EXPECT_FALSE(answer.View().readOnlyBoxShown);
        EXPECT_TRUE(answer.View().explorerStyle);
        EXPECT_EQ(Form().Handle(), answer.View().owner);
        EXPECT_FALSE(answer.View().ownerEnabled);
        EXPECT_TRUE(answer.Errors().empty());
    }

    static std::string CurrentDirectory() {
        char path[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, path);
        return path;
    }

    // Every value of the entry with its type, read with the raw API.
    static TValues ValuesOf(const std::string& entry) {
        TValues values;
        TKeyHandle key;
        const REGSAM access = KEY_READ | kMachine64Location.view;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryPath(entry).c_str(), 0, access, key.Receive()) != ERROR_SUCCESS)
            return values;
        for (DWORD index = 0;; ++index) {
            char name[256];
            char data[4096];
            DWORD nameLength = sizeof(name), type = 0, size = sizeof(data);
            if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                              &size) != ERROR_SUCCESS)
                break;
            values[name] = {type, std::string(data, size > 0 ? size - 1 : 0)};
        }
        return values;
    }

    static constexpr const char* kElsewhere = "C:\\windows";
    TScratchFolder folder_;
};

TEST_F(ExchangeWindowTest, ExportDialogSavesEveryValueOfTheSelectedEntry) {
    CreateEntry("Demo", {{"DisplayName", "Demo"}, {"UninstallString", "C:\\DEMO\\UNINST.EXE"}, {"", " padded "}});
    Activate();
    Select("Demo");
    ASSERT_EQ(3u, Rows().size());

    TFileDialogAnswer answer(kExportTitle, folder_.Path("saved"));
    Command("FileExportItem");
    ASSERT_TRUE(answer.Shown());
    ExpectTheExchangeDialogLook(answer);

    // In the details' order (by name), checked or not; nothing left out, so no warning.
    EXPECT_TRUE(answer.Warnings().empty());
    EXPECT_EQ("[Demo]\r\n@=\" padded \"\r\nDisplayName=Demo\r\nUninstallString=C:\\DEMO\\UNINST.EXE\r\n",
              TScratchFolder::ReadBytes(folder_.Path("saved.ini")))
        << "a name without extension gets .ini";
    EXPECT_EQ(std::vector<std::string>{"saved.ini"}, folder_.FileNames());
    EXPECT_EQ(folder_.Path(), CurrentDirectory()) << "the chosen file's folder is the current directory";
    EXPECT_EQ("Demo", Form().EntryName) << "the views are not refreshed";
}

TEST_F(ExchangeWindowTest, TheRegistrationFileTypeSavesTheWholeEntryAndImportBringsItBack) {
    CreateEntry("Demo", {{"DisplayName", "Demo"}, {"UninstallString", "C:\\DEMO\\UNINST.EXE"}});
    SetDword(EntryPath("Demo\\Sub"), "Number", 7);
    Activate();
    Select("Demo");
    // The user picks the type; the name typed without an extension gets its ".reg".
    TFileDialogAnswer answer(kExportTitle, folder_.Path("saved"), [] {
        HWND dialog = FindWindowA(kMessageBoxClass, kExportTitle);
        HWND types = GetDlgItem(dialog, kFilterBox);
        SendMessageA(types, CB_SETCURSEL, 1, 0);
        // A choice with the mouse ends with both notifications.
        for (const WORD notification : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterBox, notification), reinterpret_cast<LPARAM>(types));
    });
    Command("FileExportItem");
    ASSERT_TRUE(answer.Shown());
    EXPECT_TRUE(answer.Errors().empty() && answer.Warnings().empty());
    ASSERT_EQ(std::vector<std::string>{"saved.reg"}, folder_.FileNames());
    const std::string bytes = TScratchFolder::ReadBytes(folder_.Path("saved.reg"));
    const std::wstring header = L"\xFEFFWindows Registry Editor Version 5.00\r\n";
    EXPECT_EQ(0, bytes.compare(0, header.size() * 2, reinterpret_cast<const char*>(header.data()), header.size() * 2));

    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry("Demo"));
    // The content decides: a registration file under another name is still one.
    ASSERT_TRUE(MoveFileA(folder_.Path("saved.reg").c_str(), folder_.Path("saved.txt").c_str()));
    TFileDialogAnswer import(kImportTitle, folder_.Path("saved.txt"));
    Command("FileImportItem");
    EXPECT_TRUE(import.Errors().empty()) << import.Errors().front();
    EXPECT_EQ(std::vector<std::string>{"Demo"}, Entries("CEntryList"));
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    ASSERT_TRUE(registry.OpenRegistryKey(EntryPath("Demo\\Sub"), false));
    EXPECT_EQ(REG_DWORD, registry.ReadValue("Number").type) << "every type comes back";
    EXPECT_EQ(std::string("\x07\0\0\0", 4), registry.ReadValue("Number").data);
}

TEST_F(ExchangeWindowTest, ExportReplacesAnExistingFileOrKeepsItForNoRows) {
    CreateEntry("Demo", {{"DisplayName", "Demo"}, {"UninstallString", "C:\\DEMO\\UNINST.EXE"}});
    CreateKey(EntryPath("Bare"));
    TScratchFolder::WriteBytes(folder_.Path("old.ini"), "; notes\r\n[Other]\r\nk=v\r\n[Demo]\r\nExtra=1\r\n");
    Activate();
    Select("Demo");
    {
        TFileDialogAnswer answer(kExportTitle, folder_.Path("old.ini"));
        Command("FileExportItem");
        EXPECT_EQ(1u, answer.Prompts().size()) << "the dialog asks before replacing the file";
        EXPECT_TRUE(answer.Errors().empty());
    }
    EXPECT_EQ("[Demo]\r\nDisplayName=Demo\r\nUninstallString=C:\\DEMO\\UNINST.EXE\r\n",
              TScratchFolder::ReadBytes(folder_.Path("old.ini")));

    Select("Bare");
    ASSERT_TRUE(Rows().empty());
    {
        TFileDialogAnswer answer(kExportTitle, folder_.Path("old.ini"));
        Command("FileExportItem");
        EXPECT_TRUE(answer.Shown());
        EXPECT_TRUE(answer.Errors().empty());
        EXPECT_EQ(std::vector<std::string>{"The entry 'Bare' has no values. No file was written."}, answer.Warnings());
    }
    EXPECT_EQ("[Demo]\r\nDisplayName=Demo\r\nUninstallString=C:\\DEMO\\UNINST.EXE\r\n",
              TScratchFolder::ReadBytes(folder_.Path("old.ini")))
        << "the file chosen is kept";
    EXPECT_EQ(std::vector<std::string>{"old.ini"}, folder_.FileNames());
}

TEST_F(ExchangeWindowTest, RefusedExportIsToldAndKeepsTheOldFile) {
    CreateEntry("Demo", {{"DisplayName", "Demo"}, {"Comments", "one\r\n[Evil]\r\ntwo"}});
    const std::string old = "[Old]\r\nkeep=1\r\n";
    TScratchFolder::WriteBytes(folder_.Path("old.ini"), old);
    Activate();
    Select("Demo");

    TFileDialogAnswer answer(kExportTitle, folder_.Path("old.ini"));
    Command("FileExportItem");
    EXPECT_EQ(std::vector<std::string>{"Unable to export 'Comments': it holds a line break."}, answer.Errors());
    EXPECT_EQ(old, TScratchFolder::ReadBytes(folder_.Path("old.ini")));
    EXPECT_EQ(std::vector<std::string>{"old.ini"}, folder_.FileNames());
}

TEST_F(ExchangeWindowTest, ExportWritesTheEntryAsTheRegistryHoldsItAndNamesWhatIsLeftOut) {
    CreateEntry("Installed", {{"DisplayName", "Installed"}, {"UninstallString", "C:\\i.exe"}});
    SetDword(EntryPath("Installed"), "NoModify", 1);
    SetDword(EntryPath("Installed"), "EstimatedSize", 120);
    Activate();
    Select("Installed");
    ASSERT_EQ(4u, Rows().size());
    // A value that the details do not show yet is exported all the same.
    SetString(EntryPath("Installed"), "Comments", "added meanwhile");
    {
        TFileDialogAnswer answer(kExportTitle, folder_.Path("installed.ini"));
        Command("FileExportItem");
        EXPECT_TRUE(answer.Errors().empty());
        EXPECT_EQ(std::vector<std::string>{"The values EstimatedSize and NoModify are not text and were not exported."},
                  answer.Warnings());
    }
    EXPECT_EQ("[Installed]\r\nComments=added meanwhile\r\nDisplayName=Installed\r\nUninstallString=C:\\i.exe\r\n",
              TScratchFolder::ReadBytes(folder_.Path("installed.ini")));

    CreateKey(EntryPath("Numbers"));
    SetDword(EntryPath("Numbers"), "Version", 1);
    Activate();
    Select("Numbers");
    {
        TFileDialogAnswer answer(kExportTitle, folder_.Path("numbers.ini"));
        Command("FileExportItem");
        EXPECT_TRUE(answer.Errors().empty());
        EXPECT_EQ(std::vector<std::string>{"The value Version is not text and was not exported. No file was written."},
                  answer.Warnings());
    }
    EXPECT_EQ(std::vector<std::string>{"installed.ini"}, folder_.FileNames());
}

TEST_F(ExchangeWindowTest, ExportWritesTheEntryChosenEvenWhenTheViewsAreRefreshedMeanwhile) {
    CreateEntry("Demo", {{"DisplayName", "Demo"}, {"UninstallString", "C:\\DEMO\\UNINST.EXE"}});
    Activate();
    Select("Demo");

    // The user switches to another program and back while the dialog is open.
    TFileDialogAnswer answer(kExportTitle, folder_.Path("demo.ini"), [this] { Activate(); });
    Command("FileExportItem");
    EXPECT_EQ("", Form().EntryName);
    EXPECT_EQ("[Demo]\r\nDisplayName=Demo\r\nUninstallString=C:\\DEMO\\UNINST.EXE\r\n",
              TScratchFolder::ReadBytes(folder_.Path("demo.ini")));
}

TEST_F(ExchangeWindowTest, TheDialogsTakeFileNamesAndEntriesInAnyScript) {
    const std::string entry = "Пример 例 😀";
    const TValues values{{"DisplayName", {REG_SZ, "Ελληνικά 中文"}},
                         {"UninstallString", {REG_SZ, "C:\\Программы\\卸载.exe"}}};
    CreateEntry(entry, {{"DisplayName", "Ελληνικά 中文"}, {"UninstallString", "C:\\Программы\\卸载.exe"}});
    Activate();
    Select(entry);
    {
        TFileDialogAnswer answer(kExportTitle, folder_.Path("Экспорт 导出"));
        Command("FileExportItem");
        ASSERT_TRUE(answer.Shown());
        EXPECT_TRUE(answer.Errors().empty());
    }
    EXPECT_EQ(std::vector<std::string>{"Экспорт 导出.ini"}, folder_.FileNames());

    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry(entry));
    {
        TFileDialogAnswer answer(kImportTitle, folder_.Path("Экспорт 导出.ini"));
        Command("FileImportItem");
        EXPECT_TRUE(answer.Errors().empty());
    }
    EXPECT_EQ(values, ValuesOf(entry));
    EXPECT_EQ(std::vector<std::string>{entry}, Entries("CEntryList"));
}

TEST_F(ExchangeWindowTest, TheErrorBoxShowsNamesInAnyScript) {
    CreateEntry("Демо", {{"DisplayName", "Демо"}, {"名前=値", "x"}});
    Activate();
    Select("Демо");
    TFileDialogAnswer answer(kExportTitle, folder_.Path("demo.ini"));
    Command("FileExportItem");
    EXPECT_EQ(std::vector<std::string>{"Unable to export '名前=値': its name contains '='"}, answer.Errors());
}

TEST_F(ExchangeWindowTest, ImportDialogWritesEverySectionAndRefreshesTheLists) {
    TScratchFolder::WriteBytes(folder_.Path("demo.ini"),
                               "[Demo]\r\nDisplayName=Demo\r\nUninstallString=C:\\DEMO\\UNINST.EXE\r\n[Empty]\r\n");
    CreateEntry("Other", {{"DisplayName", "Other"}, {"UninstallString", "C:\\other.exe"}});
    Activate();
    Select("Other");

    TFileDialogAnswer answer(kImportTitle, folder_.Path("demo.ini"));
    Command("FileImportItem");
    ASSERT_TRUE(answer.Shown());
    ExpectTheExchangeDialogLook(answer);

    EXPECT_EQ((TValues{{"DisplayName", {REG_SZ, "Demo"}}, {"UninstallString", {REG_SZ, "C:\\DEMO\\UNINST.EXE"}}}),
              ValuesOf("Demo"));
    EXPECT_TRUE(KeyExists(EntryPath("Empty")));
    EXPECT_EQ((std::vector<std::string>{"Demo", "Other"}), Entries("CEntryList"));
    EXPECT_EQ(std::vector<std::string>{"Empty"}, Entries("UEntryList"));
    EXPECT_EQ("", Form().EntryName);
    EXPECT_EQ(folder_.Path(), CurrentDirectory()) << "the chosen file's folder is the current directory";
}

TEST_F(ExchangeWindowTest, ImportFailureIsToldAndTheListsShowWhatWasWritten) {
    const std::string unmakeable(300, 'n');
    TScratchFolder::WriteBytes(
        folder_.Path("part.ini"),
        "[First]\r\nDisplayName=First\r\nUninstallString=C:\\f.exe\r\n[" + unmakeable + "]\r\nDisplayName=x\r\n");
    Activate();

    TFileDialogAnswer answer(kImportTitle, folder_.Path("part.ini"));
    Command("FileImportItem");
    EXPECT_EQ(std::vector<std::string>{"Failed to create key '" + unmakeable + "'"}, answer.Errors());
    EXPECT_EQ(std::vector<std::string>{"First"}, Entries("CEntryList"));
}

TEST_F(ExchangeWindowTest, ADamagedFileIsRefusedBeforeAnythingIsWritten) {
    const std::string file = folder_.Path("damaged.ini");
    TScratchFolder::WriteBytes(file, "[First]\r\nDisplayName=First\r\nUninstallString=C:\\f.exe\r\n[]\r\nk=v\r\n");
    Activate();

    TFileDialogAnswer answer(kImportTitle, file);
    Command("FileImportItem");
    EXPECT_EQ(std::vector<std::string>{"Unable to import " + file + ": line 4 names an empty section."},
              answer.Errors());
    EXPECT_FALSE(KeyExists(EntryPath("First")));
    EXPECT_TRUE(Entries("CEntryList").empty());
}

TEST_F(ExchangeWindowTest, RoundTripThroughTheWindowRestoresARemovedEntry) {
    CreateEntry("Round Trip", {{"DisplayName", "Round Trip"},
                               {"UninstallString", "\"C:\\Program Files\\RT\\unins.exe\" /x"},
                               {"", "default"},
                               {"Publisher", " padded "},
                               {"Quoted", "\"q\""},
                               {"Empty", ""}});
    const TValues before = ValuesOf("Round Trip");
    Activate();
    Select("Round Trip");
    {
        TFileDialogAnswer answer(kExportTitle, folder_.Path("rt.ini"));
        Command("FileExportItem");
        EXPECT_TRUE(answer.Errors().empty());
    }
    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry("Round Trip"));
    Activate();
    ASSERT_FALSE(Listed("CEntryList", "Round Trip"));
    {
        TFileDialogAnswer answer(kImportTitle, folder_.Path("rt.ini"));
        Command("FileImportItem");
        EXPECT_TRUE(answer.Errors().empty());
    }
    EXPECT_EQ(before, ValuesOf("Round Trip"));
    EXPECT_TRUE(Listed("CEntryList", "Round Trip"));
}

TEST_F(ExchangeWindowTest, CancelOrARefusedNameChangesNothing) {
    CreateEntry("Demo", {{"DisplayName", "Demo"}, {"UninstallString", "C:\\DEMO\\UNINST.EXE"}});
    TScratchFolder::WriteBytes(folder_.Path("new.ini"), "[New]\r\nDisplayName=New\r\nUninstallString=C:\\n.exe\r\n");
    Activate();
    Select("Demo");
    {
        TFileDialogAnswer answer(kExportTitle, "");
        Command("FileExportItem");
        EXPECT_TRUE(answer.Shown());
    }
    {
        TFileDialogAnswer answer(kImportTitle, "");
        Command("FileImportItem");
        EXPECT_TRUE(answer.Shown());
    }
    {
        TFileDialogAnswer answer(kImportTitle, folder_.Path("missing.ini"));
        Command("FileImportItem");
        EXPECT_EQ(1u, answer.Prompts().size()) << "the file must exist";
        EXPECT_TRUE(answer.Errors().empty());
    }
    EXPECT_EQ(std::vector<std::string>{"new.ini"}, folder_.FileNames());
    EXPECT_FALSE(KeyExists(EntryPath("New")));
    EXPECT_EQ(std::vector<std::string>{"Demo"}, Entries("CEntryList"));
    EXPECT_EQ("Demo", Form().EntryName) << "the views are not refreshed";

    // Export needs a selected entry, whatever sends the command.
    Activate();
    TFileDialogAnswer answer(kExportTitle, "");
    Command("FileExportItem");
    EXPECT_FALSE(answer.Shown());
}

}  // namespace
