// TMainForm's exchange-file commands: File > Export and File > Import, each through the
// platform's explorer-style file dialog, for INI exchange files and registration files.
#include "Forms/Main.h"

#include "Base/Exception.h"
#include "Entries/EntryTree.h"
#include "Entries/Exchange.h"
#include "Entries/FileBytes.h"
#include "Entries/RegFile.h"
#include "Forms/MessageDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iterator>
#include <vector>

namespace {

// Pairs of description and pattern; the literal's own terminator ends the list. A name typed
// without an extension gets the chosen type's, and "ini" under "All files".
constexpr char kExchangeFilter[] = "INI files\0*.ini\0Registration Files (*.reg)\0*.reg\0All files\0*.*\0";
constexpr char kDefaultExtension[] = "ini";
constexpr char kInitialFileName[] = "Untitled";
// Room for the longest path the platform accepts, not only MAX_PATH characters.
constexpr DWORD kFileNameCapacity = 32768;

using TFileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

// Runs an open or save dialog over `owner`; the chosen full path, whose folder becomes the
// current directory, or "" when the user cancels. Throws Exception when the dialog fails.
std::string RunFileDialog(TFileDialogFunction dialog, HWND owner, const char* title, DWORD options) {
    std::vector<char> fileName(kFileNameCapacity, '\0');
    std::copy(std::begin(kInitialFileName), std::end(kInitialFileName), fileName.begin());
    OPENFILENAMEA data{};
    data.lStructSize = sizeof(data);
    data.hwndOwner = owner;
    data.lpstrFilter = kExchangeFilter;
    data.nFilterIndex = 1;
    data.lpstrFile = fileName.data();
    data.nMaxFile = kFileNameCapacity;
    data.lpstrTitle = title;
    data.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | options;
    data.lpstrDefExt = kDefaultExtension;
    if (!dialog(&data)) {
        const DWORD error = CommDlgExtendedError();
        if (error == 0) return "";
        char message[64];
        std::snprintf(message, sizeof(message), "The file dialog failed (error 0x%lX)",
                      static_cast<unsigned long>(error));
        throw Exception(message);
    }
    // The search for programs starts in the current directory, which is to be the chosen file's
    // folder; some dialogs leave it at the folder they showed instead.
    SetCurrentDirectoryA(std::string(fileName.data(), data.nFileOffset).c_str());
    return fileName.data();
}

// Whether an export to `fileName` writes a registration file: its name ends in ".reg".
bool NamesRegFile(const std::string& fileName) {
    return fileName.size() >= 4 && SameTextAscii(fileName.substr(fileName.size() - 4), ".reg");
}

}  // namespace

void TMainForm::FileExportItemClick(const TEvent&) {
    if (!HasSupportedEntry()) return;
    // Taken before the dialog: an activation while it is open refreshes the views, which
    // clears the details and the selected entry.
    const std::string entryName = EntryName;
    const TEntryLocation location = ShownLocation();
    const std::string fileName =
        RunFileDialog(GetSaveFileNameA, Handle(), "Export registry key", OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT);
    if (fileName.empty()) return;
    if (NamesRegFile(fileName)) {
        TKeyTree tree;
        std::string reason;
        if (!CaptureEntryTree(location, entryName, tree, reason))
            throw Exception(FormatMessageText("Unable to export '%s'", entryName) + ": " + reason);
        ExportRegFile(fileName, tree, location);
        return;
    }
    // The entry as the registry holds it now, not the rows the details happen to show.
    const TExportValues values = ReadExportValues(entryName, location);
    ExportEntry(fileName, entryName, values.texts);
    if (const std::string warning = ExportWarning(entryName, values); !warning.empty())
        MessageDlg(warning, mkWarning);
}

void TMainForm::FileImportItemClick(const TEvent&) {
    const std::string fileName = RunFileDialog(GetOpenFileNameA, Handle(), "Import registry key", OFN_FILEMUSTEXIST);
    if (fileName.empty()) return;
    // The lists are refreshed even when the import fails part-way, so that they show the
    // sections written before the failure; then the failure goes on to the error box.
    std::exception_ptr failure;
    try {
        // The content decides, whatever the file's name.
        if (IsRegFile(ReadFileBytes(fileName)))
            ImportRegFile(fileName, ShownLocation());
        else
            ImportEntries(fileName, ShownLocation());
    } catch (...) {
        failure = std::current_exception();
    }
    RefreshEntryViews();
    if (failure) std::rethrow_exception(failure);
}
