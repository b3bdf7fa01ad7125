// TRegistry over the ANSI registry functions. Paths are opened a part at a time, because an
// ANSI key path of more than about 255 characters in one call fails under Wine.
#include "Entries/Registry.h"

#include "Entries/CodePage.h"

#include <string_view>

namespace {

constexpr size_t kMaxPathPerCall = 255;
constexpr DWORD kMaxReadAttempts = 4;
// The longest subkey or value name the registry takes, in UTF-16 characters, and the most bytes
// such a name can take in an ANSI code page (three per character in UTF-8).
constexpr DWORD kLongestName = 16383;
constexpr size_t kLongestNameBytes = 3 * kLongestName;
constexpr const char* kUtf8Replacement = "\xEF\xBF\xBD";  // U+FFFD

// Opens or creates `path` below `base` in the registry view `view`, in pieces of at most
// kMaxPathPerCall characters. Empty components are skipped; an empty path opens `base` itself
// (a new handle to it).
LONG OpenKeyPath(HKEY base, const std::string& path, bool create, REGSAM view, TKeyHandle& result) {
    std::vector<std::string> pieces;
    for (const std::string& part : SplitAt(path, '\\')) {
        if (part.empty()) continue;
        if (!pieces.empty() && pieces.back().size() + 1 + part.size() <= kMaxPathPerCall)
            pieces.back() += "\\" + part;
        else
            pieces.push_back(part);
    }
    if (pieces.empty()) pieces.push_back("");

    TKeyHandle key;
    HKEY parent = base;
    for (const std::string& piece : pieces) {
        TKeyHandle next;
        const LONG status = create
            ? RegCreateKeyExA(parent, piece.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view,
                              nullptr, next.Receive(), nullptr)
            : RegOpenKeyExA(parent, piece.c_str(), 0, KEY_ALL_ACCESS | view, next.Receive());
        if (status != ERROR_SUCCESS) return status;
        key = std::move(next);
        parent = key.Get();
    }
    result = std::move(key);
    return ERROR_SUCCESS;
}

// The longest subkey or value name of `key` plus room for the null, and the count.
bool QueryNameLimits(HKEY key, bool subkeys, DWORD& count, DWORD& bufferLength) {
    DWORD subkeyCount = 0, maxSubkeyLength = 0, valueCount = 0, maxValueLength = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeyCount, &maxSubkeyLength, nullptr, &valueCount,
                         &maxValueLength, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    count = subkeys ? subkeyCount : valueCount;
    bufferLength = (subkeys ? maxSubkeyLength : maxValueLength) + 1;
    return true;
}

// Reads the subkey or value name at `index` into `name`. The key reports its longest name in
// UTF-16 characters, and in a double-byte or UTF-8 code page a name takes more bytes than that:
// a name too long for `buffer` grows it, and the same index is read again.
LONG ReadNameAt(HKEY key, bool subkeys, DWORD index, std::string& buffer, std::string& name) {
    for (;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG status = subkeys
            ? RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
            : RegEnumValueA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) name.assign(buffer.data(), length);
        if (status != ERROR_MORE_DATA || buffer.size() > kLongestNameBytes) return status;
        buffer.resize(buffer.size() * 2);
    }
}

// Whether `name`, read at `index`, is the registry's own name. A character that the ANSI code
// page cannot hold comes out as "?" or a look-alike (as U+FFFD in UTF-8, which holds all but
// lone surrogates), and such a name opens no key, or another one.
bool IsExactName(HKEY key, bool subkeys, DWORD index, const std::string& name, std::wstring& buffer) {
    if (AnsiCodePageIsUtf8() && name.find(kUtf8Replacement) == std::string::npos) return true;
    buffer.resize(kLongestName + 1);
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG status = subkeys
        ? RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
        : RegEnumValueW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    return status == ERROR_SUCCESS && WideFromCodePage(CP_ACP, name) == std::wstring_view(buffer.data(), length);
}

void ListNames(HKEY key, bool subkeys, TStringList& list, TStringList* inexact) {
    list.clear();
    if (inexact) inexact->clear();
    DWORD count = 0, bufferLength = 0;
    if (!key || !QueryNameLimits(key, subkeys, count, bufferLength)) return;
    std::string buffer(bufferLength, '\0'), name;
    std::wstring storedName;
    for (DWORD index = 0; index < count; ++index) {
        if (ReadNameAt(key, subkeys, index, buffer, name) != ERROR_SUCCESS) continue;
        list.push_back(name);
        if (inexact && !IsExactName(key, subkeys, index, name, storedName)) inexact->push_back(name);
    }
}

}  // namespace

ERegistryException InvalidDataTypeError(const std::string& name) {
    return ERegistryException(FormatMessageText("Invalid data type for '%s'", name));
}

Exception UnsupportedValueNameError(const std::string& name) {
    return Exception(FormatMessageText("This system cannot handle the value name '%s'", name));
}

void TRegistry::ChooseRoot(HKEY root, REGSAM view) {
    if (root == root_ && view == view_) return;
    CloseRegistryKey();
    root_ = root;
    view_ = view;
}

bool TRegistry::OpenRegistryKey(const std::string& path, bool mayCreate) {
    const bool absolute = !path.empty() && path.front() == '\\';
    const bool relativeToCurrent = !absolute && current_.IsValid();
    const std::string relativePath = absolute ? path.substr(1) : path;

    TKeyHandle key;
    if (OpenKeyPath(relativeToCurrent ? current_.Get() : root_, relativePath, mayCreate && !path.empty(), view_,
                    key) != ERROR_SUCCESS)
        return false;

    current_ = std::move(key);
    currentPath_ = relativeToCurrent ? currentPath_ + "\\" + relativePath : relativePath;
    return true;
}

void TRegistry::CloseRegistryKey() {
    current_.Reset();
    currentPath_.clear();
}

void TRegistry::ListSubkeyNames(TStringList& list, TStringList* inexact) const {
    ListNames(current_.Get(), true, list, inexact);
}

void TRegistry::ListValueNames(TStringList& list, TStringList* inexact) const {
    ListNames(current_.Get(), false, list, inexact);
}

bool TRegistry::HasValue(const std::string& name) const {
    return current_ && RegQueryValueExA(current_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TRegistryValue TRegistry::ReadValue(const std::string& name) const {
    TRegistryValue value;
    DWORD size = 0;
    if (!current_ ||
        RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (size == 0) return value;

    // The value may grow between the size query and the read; ask again a few times.
    LONG status = ERROR_MORE_DATA;
    for (DWORD attempt = 0; attempt < kMaxReadAttempts && status == ERROR_MORE_DATA; ++attempt) {
        value.data.assign(size + 1, '\0');  // room for a terminator the stored data may lack
        status = RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &value.type,
                                  reinterpret_cast<BYTE*>(value.data.data()), &size);
    }
    if (status != ERROR_SUCCESS) throw ERegistryException(FormatMessageText("Failed to get data for '%s'", name));
    value.data.resize(size);
    return value;
}

std::string TRegistry::ReadStringValue(const std::string& name) const {
    const TRegistryValue value = ReadValue(name);
    if (value.data.empty()) return "";
    if (!value.IsText()) throw InvalidDataTypeError(name);
    return value.Text();
}

void TRegistry::WriteStringValue(const std::string& name, const std::string& text) {
    if (!current_ ||
        RegSetValueExA(current_.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessageText("Failed to set data for '%s'", name));
}

namespace {

// Deletes the key `name` (one component) below `parent` with its subtree, every key opened
// and deleted in the registry view `view`. The UTF-16 functions take each subkey's own name,
// also one that the ANSI code page cannot hold.
bool DeleteWideTree(HKEY parent, const std::wstring& name, REGSAM view) {
    TKeyHandle key;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS | view, key.Receive()) == ERROR_SUCCESS) {
        DWORD count = 0;
        if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            std::wstring buffer(kLongestName + 1, L'\0');
            for (DWORD index = count; index-- > 0;) {
                DWORD length = static_cast<DWORD>(buffer.size());
                if (RegEnumKeyExW(key.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
                        ERROR_SUCCESS &&
                    length > 0)
                    DeleteWideTree(key.Get(), buffer.substr(0, length), view);
            }
        }
        key.Reset();
    }
    return RegDeleteKeyExW(parent, name.c_str(), view, 0) == ERROR_SUCCESS;
}

// Deletes `path` (one or more components, the last non-empty) below `base` with its subtree.
// The leaf is deleted through its parent, so that no single call carries a long path.
bool DeleteTreeBelow(HKEY base, const std::string& path, REGSAM view) {
    const auto lastSeparator = FindLastOf(path, "\\");
    if (path.empty() || path.front() == '\\' || lastSeparator + 1 == path.size()) return false;
    TKeyHandle parent;
    const std::string parentPath = lastSeparator == std::string::npos ? "" : path.substr(0, lastSeparator);
    if (OpenKeyPath(base, parentPath, false, view, parent) != ERROR_SUCCESS) return false;
    const std::string leaf = path.substr(lastSeparator + 1);
    return DeleteWideTree(parent.Get(), WideFromCodePage(CP_ACP, leaf), view);
}

}  // namespace

bool TRegistry::DeleteKeyTree(const std::string& path) {
    const bool absolute = !path.empty() && path.front() == '\\';
    const HKEY base = (!absolute && current_) ? current_.Get() : root_;
    return DeleteTreeBelow(base, absolute ? path.substr(1) : path, view_);
}
