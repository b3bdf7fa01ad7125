// Move-only owners for the Win32 handles the program opens. Each owner closes exactly the
// handle it holds; non-owning window handles stay plain HWND.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <class Traits>
class TUniqueHandle {
public:
    using HandleType = typename Traits::HandleType;

    TUniqueHandle() noexcept = default;
    explicit TUniqueHandle(HandleType handle) noexcept : handle_(handle) {}
    ~TUniqueHandle() { Reset(); }

    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HandleType Get() const noexcept { return handle_; }
    bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without closing.
    HandleType Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Closes the held handle (if any) and takes ownership of `handle`.
    void Reset(HandleType handle = Traits::Invalid()) noexcept {
        HandleType old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

    // For out-parameters: closes the held handle and returns the address to fill in.
    HandleType* Receive() noexcept {
        Reset();
        return &handle_;
    }

private:
    HandleType handle_ = Traits::Invalid();
};

struct TKeyTraits {
    using HandleType = HKEY;
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY key) noexcept { RegCloseKey(key); }
};

struct TKernelHandleTraits {
    using HandleType = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};

struct TFindHandleTraits {
    using HandleType = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { FindClose(handle); }
};

template <class T>
struct TGdiObjectTraits {
    using HandleType = T;
    static T Invalid() noexcept { return nullptr; }
    static void Close(T object) noexcept { DeleteObject(object); }
};

struct TIconTraits {
    using HandleType = HICON;
    static HICON Invalid() noexcept { return nullptr; }
    static void Close(HICON icon) noexcept { DestroyIcon(icon); }
};

struct TImageListTraits {
    using HandleType = HIMAGELIST;
    static HIMAGELIST Invalid() noexcept { return nullptr; }
    static void Close(HIMAGELIST list) noexcept { ImageList_Destroy(list); }
};

struct TAcceleratorTraits {
    using HandleType = HACCEL;
    static HACCEL Invalid() noexcept { return nullptr; }
    static void Close(HACCEL table) noexcept { DestroyAcceleratorTable(table); }
};

struct TMenuTraits {
    using HandleType = HMENU;
    static HMENU Invalid() noexcept { return nullptr; }
    static void Close(HMENU menu) noexcept { DestroyMenu(menu); }
};

using TKeyHandle = TUniqueHandle<TKeyTraits>;
using TFileHandle = TUniqueHandle<TKernelHandleTraits>;
using TFindHandle = TUniqueHandle<TFindHandleTraits>;
using TFontHandle = TUniqueHandle<TGdiObjectTraits<HFONT>>;
using TBitmapHandle = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using TIconHandle = TUniqueHandle<TIconTraits>;
using TImageListHandle = TUniqueHandle<TImageListTraits>;
using TMenuHandle = TUniqueHandle<TMenuTraits>;
using TAcceleratorHandle = TUniqueHandle<TAcceleratorTraits>;
