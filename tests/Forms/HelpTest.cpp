// The Help menu's commands as the help viewer receives them: contents, keyword search, context
// help for F1 in an open menu, the short cuts (not while a dialog is open) and the final quit;
// the built help file's index and context map; and the real viewer opening that file.
#include "GuiTest.h"
#include "ScratchFolder.h"

#include "Forms/About.h"
#include "Base/Text.h"
#include "Win/Application.h"
#include "Win/Controls.h"

#include <algorithm>
#include <set>

namespace {

struct THelpCall {
    HWND owner;
    std::string file;
    UINT command;
    ULONG_PTR data;
    std::string keyword;  // the string `data` pointed at, for HELP_PARTIALKEY
};

std::vector<THelpCall> helpCalls;

BOOL WINAPI RecordWinHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data) {
    THelpCall call{owner, file ? file : "(null)", command, data, ""};
    if (command == HELP_PARTIALKEY && data != 0) call.keyword = reinterpret_cast<const char*>(data);
    helpCalls.push_back(call);
    return TRUE;
}

class HelpTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        helpCalls.clear();
        Application().Help().SetWinHelpFunction(RecordWinHelp);
    }
    void TearDown() override {
        MainFormTest::TearDown();  // the window's end may still ask the viewer to quit
        Application().Help().SetWinHelpFunction(nullptr);
    }

    // Checks that exactly one help call was made, to Twk.hlp for the main window, with `command`.
    void ExpectOneCall(UINT command) {
        ASSERT_EQ(1u, helpCalls.size());
        EXPECT_EQ(command, helpCalls[0].command);
        EXPECT_EQ(Form().Handle(), helpCalls[0].owner);
        EXPECT_EQ("Twk.hlp", helpCalls[0].file);
    }

    // Runs `command` as the user would and checks the one help call it makes.
    void ExpectCommandAsks(const char* label, const std::function<void()>& command, UINT helpCommand,
                           bool emptyKeyword) {
        SCOPED_TRACE(label);
        helpCalls.clear();
        command();
        PumpMessages();
        ExpectOneCall(helpCommand);
        if (helpCalls.empty()) return;
        if (emptyKeyword) {
            EXPECT_NE(0u, helpCalls[0].data) << "the address of an empty keyword";
            EXPECT_EQ("", helpCalls[0].keyword);
        } else {
            EXPECT_EQ(0u, helpCalls[0].data);
        }
    }

    void ChooseMenuItem(const char* itemName) {
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(MenuId(itemName), 0), 0);
    }
};

TEST_F(HelpTest, MenuToolbarAndShortCutsAskForContentsAndSearch) {
    HWND list = Control("CEntryList");
    ExpectCommandAsks("Help Topics", [&] { ChooseMenuItem("HelpTopicsItem"); }, HELP_CONTENTS, false);
    ExpectCommandAsks("Search for Help On", [&] { ChooseMenuItem("HelpSearchItem"); }, HELP_PARTIALKEY, true);
    ExpectCommandAsks(
        "the toolbar's Help", [&] {
            HWND speedBar = Control("SpeedBar");
            RECT button{};
            SendMessageA(speedBar, TB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&button));
            Click(speedBar, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
        },
        HELP_CONTENTS, false);
    ExpectCommandAsks("F1", [&] { PressKey(list, VK_F1); }, HELP_CONTENTS, false);
    ExpectCommandAsks(
        "Ctrl+F1", [&] {
            TCtrlDown ctrl(true);
            PressKey(list, VK_F1);
        },
        HELP_PARTIALKEY, true);
}

TEST_F(HelpTest, ShortCutsDoNothingWhileTheAboutBoxIsOpen) {
    for (const bool ctrl : {false, true}) {
        SCOPED_TRACE(ctrl ? "Ctrl+F1" : "F1");
        helpCalls.clear();
        TCtrlDown keys(ctrl);
        {
            TAboutForm about(Form().Handle());
            TModalAnswer answer(kFormClassName, "About Tarnwick", [&](HWND dialog) {
                PressKey(Control("CEntryList"), VK_F1);
                PressKey(GetFocus(), VK_F1);
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            });
            about.ShowModal();
            ASSERT_TRUE(answer.Answered());
        }
        EXPECT_TRUE(helpCalls.empty());
        PressKey(Control("CEntryList"), VK_F1);
        EXPECT_EQ(1u, helpCalls.size()) << "the same key works once the dialog is gone";
    }
}

// Drives an open menu from inside its own loop: F1 on the highlighted item, then Esc until
// the menu has closed (EndMenu as a last resort, so a stuck menu cannot hang the test).
struct TMenuDriver {
    static inline int ticks = 0;
    static inline bool popupSeen = false;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND window = Application().MainWindow();
        if (++ticks == 3) {
            HWND popup = FindWindowA("#32768", nullptr);
            popupSeen = popup && IsWindowVisible(popup);
            PostMessageA(window, WM_KEYDOWN, VK_F1, 0);
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (ticks > 50) {
            EndMenu();
        }
    }
};

TEST_F(HelpTest, F1InAnOpenMenuAsksForContextZero) {
    TMenuDriver::ticks = 0;
    TMenuDriver::popupSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, TMenuDriver::OnTimer);
    SendMessageA(Form().Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'h');  // Alt+H: returns when the menu closes
    KillTimer(nullptr, timer);
    PumpMessages();
    EXPECT_TRUE(TMenuDriver::popupSeen) << "the Help menu was open";
    ExpectOneCall(HELP_CONTEXT);
    if (!helpCalls.empty()) {
        EXPECT_EQ(0u, helpCalls[0].data);
    }
}

TEST_F(HelpTest, F1OutsideTheMainWindowsMenusAsksNothing) {
    HELPINFO window{};
    window.cbSize = sizeof(window);
    window.iContextType = HELPINFO_WINDOW;
    window.hItemHandle = Control("CEntryList");
    EXPECT_EQ(0, SendMessageA(Form().Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&window)))
        << "F1 on a control";

    // A dialog's own menus (its system menu) pass WM_HELP up to the window that owns it.
    TAboutForm about(Form().Handle());
    TModalAnswer answer(kFormClassName, "About Tarnwick", [&](HWND dialog) {
        HELPINFO menu{};
        menu.cbSize = sizeof(menu);
        menu.iContextType = HELPINFO_MENUITEM;
        menu.hItemHandle = GetSystemMenu(dialog, FALSE);
        SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&menu));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    about.ShowModal();
    ASSERT_TRUE(answer.Answered());
    EXPECT_TRUE(helpCalls.empty());
}

TEST_F(HelpTest, TheViewerIsToldToQuitOnceWhenTheMainWindowGoesAfterHelp) {
    OpenForm(true);
    HWND first = Form().Handle();
    ChooseMenuItem("HelpSearchItem");
    helpCalls.clear();
    ChooseMenuItem("FileExitItem");
    PumpMessages();
    ASSERT_FALSE(IsWindow(first));
    ASSERT_EQ(1u, helpCalls.size());
    EXPECT_EQ(static_cast<UINT>(HELP_QUIT), helpCalls[0].command);
    EXPECT_EQ(first, helpCalls[0].owner) << "the owner the viewer knows";
    EXPECT_EQ("Twk.hlp", helpCalls[0].file);

    helpCalls.clear();
    OpenForm(true);
    ChooseMenuItem("FileExitItem");
    PumpMessages();
    EXPECT_TRUE(helpCalls.empty()) << "no help used by this window: nothing to quit";
}

}  // namespace

namespace {

// The built WinHelp file beside the test program: its internal files, as the viewer reads them.
class THelpFile {
public:
    THelpFile() {
        const std::string bytes = TScratchFolder::ReadBytes(FileBesideProgram("Twk.hlp"));
        bytes_.assign(bytes.begin(), bytes.end());
    }

    bool Loaded() const { return bytes_.size() > 16 && Long(bytes_, 0) == 0x00035F3F; }

    // The data of the internal file `name` ("|SYSTEM"); empty when there is none.
    std::vector<unsigned char> Internal(const std::string& name) const {
        for (const auto& [entry, offset] : Leaves(Block(Long(bytes_, 4)), [](const std::vector<unsigned char>& page, size_t& at) {
                 const auto offset = Long(page, at);
                 at += 4;
                 return offset;
             }))
            if (entry == name) return Block(offset);
        return {};
    }

    // Every keyword of the index ("Search for Help On..."), in the file's order.
    std::vector<std::string> Keywords() const {
        std::vector<std::string> keywords;
        for (const auto& entry : Leaves(Internal("|KWBTREE"), [](const std::vector<unsigned char>&, size_t& at) {
                 at += 6;  // count of topics, offset of their list
                 return 0u;
             }))
            keywords.push_back(entry.first);
        return keywords;
    }

    // The |SYSTEM record of `type` (1: the title, 3: the contents topic).
    std::vector<unsigned char> SystemRecord(unsigned type) const {
        const auto system = Internal("|SYSTEM");
        for (size_t at = 12; at + 4 <= system.size(); at += 4 + Word(system, at + 2))
            if (Word(system, at) == type)
                return std::vector<unsigned char>(system.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                                  system.begin() + static_cast<std::ptrdiff_t>(at + 4 + Word(system, at + 2)));
        return {};
    }

    std::string Title() const {
        const auto record = SystemRecord(1);
        return std::string(record.begin(), std::find(record.begin(), record.end(), '\0'));
    }

private:
    static unsigned Word(const std::vector<unsigned char>& data, size_t at) {
        return at + 2 <= data.size() ? data[at] | data[at + 1] << 8 : 0;
    }
    static unsigned Long(const std::vector<unsigned char>& data, size_t at) {
        return Word(data, at) | Word(data, at + 2) << 16;
    }

    // An internal file's data: after its header (block size, data size, flags).
    std::vector<unsigned char> Block(size_t offset) const {
        if (offset + 9 > bytes_.size()) return {};
        const size_t size = std::min<size_t>(Long(bytes_, offset + 4), bytes_.size() - offset - 9);
        return std::vector<unsigned char>(bytes_.begin() + static_cast<std::ptrdiff_t>(offset + 9),
                                          bytes_.begin() + static_cast<std::ptrdiff_t>(offset + 9 + size));
    }

    // The (key, value) pairs of a B-tree with text keys, leaf by leaf; `readValue` reads one
    // entry's value at `at` and moves `at` past it.
    template <typename TRead>
    static std::vector<std::pair<std::string, unsigned>> Leaves(const std::vector<unsigned char>& tree, TRead readValue) {
        std::vector<std::pair<std::string, unsigned>> entries;
        if (tree.size() < 38 || Word(tree, 0) != 0x293B) return entries;
        const size_t pageSize = Word(tree, 4);
        const auto pageAt = [&](unsigned page) { return std::vector<unsigned char>(
            tree.begin() + static_cast<std::ptrdiff_t>(std::min(tree.size(), 38 + page * pageSize)),
            tree.begin() + static_cast<std::ptrdiff_t>(std::min(tree.size(), 38 + (page + 1) * pageSize))); };
        // Down the first child of each index page to the first leaf, then along the leaves.
        unsigned page = Word(tree, 26);
        for (unsigned level = Word(tree, 32); level > 1; --level) page = Word(pageAt(page), 4);
        for (int guard = 0; page != 0xFFFF && guard < 1000; ++guard) {
            const auto leaf = pageAt(page);
            if (leaf.size() < 8) break;
            size_t at = 8;
            for (unsigned n = Word(leaf, 2); n > 0 && at < leaf.size(); --n) {
                const auto end = std::find(leaf.begin() + static_cast<std::ptrdiff_t>(at), leaf.end(), '\0');
                std::string key(leaf.begin() + static_cast<std::ptrdiff_t>(at), end);
                at = static_cast<size_t>(end - leaf.begin()) + 1;
                entries.emplace_back(std::move(key), readValue(leaf, at));
            }
            page = Word(leaf, 6);
        }
        return entries;
    }

    std::vector<unsigned char> bytes_;
};

// A menu item's name as a reader looks for it: no "&", no short cut, no trailing "...".
std::string CommandName(std::string caption) {
    caption = caption.substr(0, caption.find('\t'));
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    if (caption.size() > 3 && caption.compare(caption.size() - 3, 3, "...") == 0) caption.resize(caption.size() - 3);
    return caption;
}

// The names of every command in the window's menus, as the running window shows them.
std::vector<std::string> MenuCommandNames(HWND window) {
    std::vector<std::string> names;
    HMENU bar = GetMenu(window);
    for (int menu = 0; menu < GetMenuItemCount(bar); ++menu) {
        HMENU popup = GetSubMenu(bar, menu);
        for (int item = 0; item < GetMenuItemCount(popup); ++item) {
            char caption[256] = "";
            if (GetMenuState(popup, static_cast<UINT>(item), MF_BYPOSITION) & MF_SEPARATOR) continue;
            GetMenuStringA(popup, static_cast<UINT>(item), caption, sizeof(caption), MF_BYPOSITION);
            names.push_back(CommandName(caption));
        }
    }
    return names;
}

class HelpFileTest : public MainFormTest {};

TEST_F(HelpFileTest, EveryMenuCommandIsAnIndexKeyword) {
    const THelpFile help;
    ASSERT_TRUE(help.Loaded()) << "Twk.hlp beside the test program";
    std::set<std::string> keywords;
    for (const std::string& keyword : help.Keywords()) keywords.insert(AsciiLower(keyword));
    ASSERT_GT(keywords.size(), 30u);

    const std::vector<std::string> commands = MenuCommandNames(Form().Handle());
    ASSERT_GE(commands.size(), 10u);
    for (const std::string& command : commands) EXPECT_TRUE(keywords.count(AsciiLower(command))) << command;
}

TEST_F(HelpFileTest, ContextZeroIsTheContentsTopic) {
    const THelpFile help;
    ASSERT_TRUE(help.Loaded());
    EXPECT_EQ("Tarnwick Help", help.Title());
    const auto contents = help.SystemRecord(3);
    ASSERT_EQ(4u, contents.size()) << "the file names its contents topic";
    const auto map = help.Internal("|CTXOMAP");
    ASSERT_EQ(10u, map.size()) << "one entry: a count, then context number and topic";
    EXPECT_EQ(1, map[0] | map[1] << 8);
    EXPECT_EQ(std::vector<unsigned char>(4, 0), std::vector<unsigned char>(map.begin() + 2, map.begin() + 6));
    EXPECT_EQ(contents, std::vector<unsigned char>(map.begin() + 6, map.end()));
}

// The real viewers, through the program's real calls (no test seam), given the help files as
// the program gives them, by their full paths, here in a folder named in Cyrillic (whose name
// Wine's WinHelp viewer cannot read in its own code page), while the current folder is
// elsewhere (as after an export or import).
class RealViewerTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        for (const char* name : {"Twk.hlp", "Twk.cnt", "Twk.chm"})
            ASSERT_TRUE(TScratchFolder::Copy(FileBesideProgram(name), helpFolder_.Path(name))) << name;
        GetCurrentDirectoryA(MAX_PATH, startFolder_);
        ASSERT_TRUE(SetCurrentDirectoryA(elsewhere_.Path().c_str()));
    }
    void TearDown() override {
        MainFormTest::TearDown();  // the window's end closes the viewers
        SetCurrentDirectoryA(startFolder_);
    }

    TScratchFolder helpFolder_{"-Справка"};
    TScratchFolder elsewhere_;
    char startFolder_[MAX_PATH] = "";
    TWatchdog watchdog_{"a help viewer", 60};
};

// Wine's winhlp32, a process of its own, for a help folder without Twk.chm.
class WinHelpViewerTest : public RealViewerTest {
protected:
    void SetUp() override {
        RealViewerTest::SetUp();
        // Without the file the viewer would ask the user to find it, in a message box that
        // would hold up the help call.
        Application().Help().SetFiles(helpFolder_.Path("Missing.chm"), helpFolder_.Path("Twk.hlp"));
    }
    void TearDown() override {
        RealViewerTest::TearDown();
        if (viewerProcess_) {
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(viewerProcess_, 10000)) << "the viewer ended";
            if (HWND left = FindWindowA(kViewerClass, nullptr)) PostMessageA(left, WM_CLOSE, 0, 0);
            CloseHandle(viewerProcess_);
        }
    }

    static constexpr const char* kViewerClass = "MS_WINHELP";

    // The viewer's main window once `visible` holds for it (within 10 s), else null. Remembers
    // the viewer's process, which must end with the program.
    HWND WaitForViewer(bool visible) {
        for (int tick = 0; tick < 200; ++tick) {
            PumpMessages();
            HWND viewer = FindWindowA(kViewerClass, nullptr);
            if (viewer && !viewerProcess_) {
                DWORD id = 0;
                GetWindowThreadProcessId(viewer, &id);
                viewerProcess_ = OpenProcess(SYNCHRONIZE, FALSE, id);
            }
            if (viewer && (!visible || IsWindowVisible(viewer))) return viewer;
            Sleep(50);
        }
        return nullptr;
    }

    // The text of the viewer's topic pane: the page it shows.
    static std::string PageText(HWND viewer) {
        std::string text;
        EnumChildWindows(viewer, [](HWND child, LPARAM found) CALLBACK -> BOOL {
            char className[64] = "";
            GetClassNameA(child, className, sizeof(className));
            if (std::string(className).rfind("RichEdit", 0) != 0) return TRUE;
            char page[512] = "";
            DWORD_PTR length = 0;
            SendMessageTimeoutA(child, WM_GETTEXT, sizeof(page), reinterpret_cast<LPARAM>(page), SMTO_ABORTIFHUNG,
                                5000, &length);
            *reinterpret_cast<std::string*>(found) = page;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&text));
        return text;
    }

    void ExpectContentsPage(HWND viewer) {
        ASSERT_NE(nullptr, viewer);
        EXPECT_EQ("Wine Help", WindowText(viewer));
        const std::string title = THelpFile().Title();
        ASSERT_FALSE(title.empty());
        std::string page;
        for (int tick = 0; tick < 100 && page.rfind(title, 0) != 0; ++tick, Sleep(50)) page = PageText(viewer);
        EXPECT_EQ(0u, page.rfind(title, 0)) << "the contents page of our Twk.hlp begins with its title: " << page;
    }

    HANDLE viewerProcess_ = nullptr;
};

TEST_F(WinHelpViewerTest, ShortCutsOpenTheViewerOnTheContentsAndItQuitsWithTheProgram) {
    ASSERT_EQ(nullptr, FindWindowA(kViewerClass, nullptr)) << "no viewer left from before";
    {
        TCtrlDown ctrl(true);
        PressKey(Control("CEntryList"), VK_F1);
    }
    // Wine's viewer starts for the keyword search but does not implement it (HELP_PARTIALKEY):
    // its window stays hidden until it is asked for a topic.
    ASSERT_NE(nullptr, WaitForViewer(false)) << "Ctrl+F1 started the viewer";
    PressKey(Control("CEntryList"), VK_F1);
    ExpectContentsPage(WaitForViewer(true));
    EXPECT_EQ(nullptr, FindWindowA("HH Parent", nullptr)) << "no HTML Help without Twk.chm";
}

TEST_F(WinHelpViewerTest, F1InAnOpenMenuOpensTheContents) {
    ASSERT_EQ(nullptr, FindWindowA(kViewerClass, nullptr)) << "no viewer left from before";
    TMenuDriver::ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, TMenuDriver::OnTimer);
    SendMessageA(Form().Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    KillTimer(nullptr, timer);
    ExpectContentsPage(WaitForViewer(true));
}

// Wine's HTML Help, whose windows live in the program's own thread. Its page area needs Wine
// Gecko, which the test prefix lacks: what can be checked is the window with the help's title,
// its navigation tabs and the contents tree.
class HtmlHelpViewerTest : public RealViewerTest {
protected:
    void SetUp() override {
        RealViewerTest::SetUp();
        Application().Help().SetFiles(helpFolder_.Path("Twk.chm"), helpFolder_.Path("Twk.hlp"));
    }

    static constexpr const char* kViewerClass = "HH Parent";

    // This thread's visible HTML Help window (within 10 s), else null.
    static HWND WaitForViewer() {
        for (int tick = 0; tick < 200; ++tick) {
            PumpMessages();
            HWND viewer = FindWindowA(kViewerClass, nullptr);
            if (viewer && IsWindowVisible(viewer)) return viewer;
            Sleep(50);
        }
        return nullptr;
    }

    static HWND ChildOfClass(HWND parent, const char* className) {
        std::pair<const char*, HWND> search{className, nullptr};
        EnumChildWindows(parent, [](HWND child, LPARAM found) CALLBACK -> BOOL {
            auto& [wanted, match] = *reinterpret_cast<std::pair<const char*, HWND>*>(found);
            char name[64] = "";
            GetClassNameA(child, name, sizeof(name));
            if (lstrcmpiA(name, wanted) != 0) return TRUE;
            match = child;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    // The texts of the contents tree, depth first.
    static std::vector<std::string> ContentsTree(HWND viewer) {
        std::vector<std::string> texts;
        HWND tree = ChildOfClass(viewer, WC_TREEVIEWA);
        std::function<void(HTREEITEM)> walk = [&](HTREEITEM item) {
            for (; item; item = TreeView_GetNextSibling(tree, item)) {
                char text[256] = "";
                TVITEMA data{};
                data.mask = TVIF_TEXT;
                data.hItem = item;
                data.pszText = text;
                data.cchTextMax = sizeof(text);
                SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
                texts.push_back(text);
                walk(TreeView_GetChild(tree, item));
            }
        };
        if (tree) walk(TreeView_GetRoot(tree));
        return texts;
    }

    // The contents tree as the help's own contents file, Twk.cnt, describes it: under the help's
    // title each topic, "level Chapter 1: title=topic" there, without its number.
    static std::vector<std::string> ExpectedTree() {
        std::vector<std::string> tree{THelpFile().Title()};
        std::istringstream lines(TScratchFolder::ReadBytes(FileBesideProgram("Twk.cnt")));
        for (std::string line; std::getline(lines, line);) {
            const auto space = line.find(' '), equals = line.find('=');
            if (space == std::string::npos || equals == std::string::npos || line.compare(equals, 4, "=Top") == 0)
                continue;
            std::string title = line.substr(space + 1, equals - space - 1);
            if (title.rfind("Chapter ", 0) == 0 || title.rfind("Section ", 0) == 0) title.erase(0, title.find(": ") + 2);
            tree.push_back(title);
        }
        return tree;
    }

    // The navigation pane the viewer shows: the contents tree or the index list.
    static std::string ShownPane(HWND viewer) {
        if (IsWindowVisible(ChildOfClass(viewer, WC_TREEVIEWA))) return "contents";
        if (IsWindowVisible(ChildOfClass(viewer, WC_LISTVIEWA))) return "index";
        return "none";
    }

    // The keywords of the index list.
    static std::vector<std::string> IndexKeywords(HWND viewer) {
        std::vector<std::string> keywords;
        HWND list = ChildOfClass(viewer, WC_LISTVIEWA);
        const int count = list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
        for (int item = 0; item < count; ++item) {
            char text[256] = "";
            LVITEMA data{};
            data.pszText = text;
            data.cchTextMax = sizeof(text);
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&data));
            keywords.push_back(text);
        }
        return keywords;
    }
};

TEST_F(HtmlHelpViewerTest, F1ShowsTheContentsOfOurFileAndTheViewerClosesWithTheProgram) {
    ASSERT_EQ(nullptr, FindWindowA(kViewerClass, nullptr)) << "no viewer left from before";
    PressKey(Control("CEntryList"), VK_F1);
    HWND viewer = WaitForViewer();
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ(THelpFile().Title(), WindowText(viewer));
    EXPECT_EQ("contents", ShownPane(viewer));
    const auto expected = ExpectedTree();
    ASSERT_GT(expected.size(), 10u);
    EXPECT_EQ(expected, ContentsTree(viewer));
    EXPECT_EQ(nullptr, FindWindowA("MS_WINHELP", nullptr)) << "WinHelp stays out of it";

    CloseMainWindow();
    EXPECT_FALSE(IsWindow(viewer));
    OpenMainWindow();  // for the fixture's end
}

TEST_F(HtmlHelpViewerTest, SearchShowsTheIndexAndF1InAnOpenMenuTheContents) {
    {
        TCtrlDown ctrl(true);
        PressKey(Control("CEntryList"), VK_F1);
    }
    HWND viewer = WaitForViewer();
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ("index", ShownPane(viewer));
    const auto shown = IndexKeywords(viewer), keywords = THelpFile().Keywords();
    ASSERT_FALSE(keywords.empty());
    EXPECT_EQ(std::set<std::string>(keywords.begin(), keywords.end()), std::set<std::string>(shown.begin(), shown.end()))
        << "the index lists the keywords of our help";

    TMenuDriver::ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, TMenuDriver::OnTimer);
    SendMessageA(Form().Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    KillTimer(nullptr, timer);
    viewer = WaitForViewer();
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ(THelpFile().Title(), WindowText(viewer));
    EXPECT_EQ("contents", ShownPane(viewer)) << "back on the contents";
}

}  // namespace
