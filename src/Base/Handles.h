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

// What "no handle" is and how a handle is closed: null and `CloseFunction` ...
template <class T, auto CloseFunction>
struct TNullHandleTraits {
    using HandleType = T;
    static T Invalid() noexcept { return nullptr; }
    static void Close(T handle) noexcept { CloseFunction(handle); }
};

// ... or, for the kernel's file-like handles, INVALID_HANDLE_VALUE and `CloseFunction`.
template <auto CloseFunction>
struct TKernelHandleTraits {
    using HandleType = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { CloseFunction(handle); }
};

using TKeyHandle = TUniqueHandle<TNullHandleTraits<HKEY, &RegCloseKey>>;
using TFileHandle = TUniqueHandle<TKernelHandleTraits<&CloseHandle>>;
using TFindHandle = TUniqueHandle<TKernelHandleTraits<&FindClose>>;
using TFontHandle = TUniqueHandle<TNullHandleTraits<HFONT, &DeleteObject>>;
using TBitmapHandle = TUniqueHandle<TNullHandleTraits<HBITMAP, &DeleteObject>>;
using TIconHandle = TUniqueHandle<TNullHandleTraits<HICON, &DestroyIcon>>;
using TImageListHandle = TUniqueHandle<TNullHandleTraits<HIMAGELIST, &ImageList_Destroy>>;
using TMenuHandle = TUniqueHandle<TNullHandleTraits<HMENU, &DestroyMenu>>;
using TAcceleratorHandle = TUniqueHandle<TNullHandleTraits<HACCEL, &DestroyAcceleratorTable>>;
using TModuleHandle = TUniqueHandle<TNullHandleTraits<HMODULE, &FreeLibrary>>;
