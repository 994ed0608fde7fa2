#pragma once
// Owners of Win32 handles: each gives back what it holds when it goes out of scope, so an early
// return or an exception leaks nothing and leaves no device context changed.
#include <windows.h>

#include <utility>

namespace kes {

// One handle with its one way of being freed; movable, never copied.
template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::valid(handle_); }
    // Hands the handle over to whoever takes it from here (the clipboard, a window).
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{})
    {
        if (Traits::valid(handle_))
            Traits::free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

// Handles that are null when they hold nothing, freed by one call.
template <typename T, auto freeFunction>
struct FreedBy {
    using Handle = T;
    static bool valid(T h) { return h != nullptr; }
    static void free(T h) { freeFunction(h); }
};

// Kernel handles: a failed CreateFile gives INVALID_HANDLE_VALUE, most other calls null.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void free(HANDLE h) { CloseHandle(h); }
};

// A FindFirstFile search, INVALID_HANDLE_VALUE when nothing was found.
struct FindHandleTraits {
    using Handle = HANDLE;
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void free(HANDLE h) { FindClose(h); }
};

// A pen, brush, font or bitmap made by this program (not a stock object).
template <typename T = HGDIOBJ>
using GdiObject = Owned<FreedBy<T, &DeleteObject>>;
// From CreateCompatibleDC.
using MemoryDc = Owned<FreedBy<HDC, &DeleteDC>>;
using GlobalMemory = Owned<FreedBy<HGLOBAL, &GlobalFree>>;
using FindHandle = Owned<FindHandleTraits>;
// From LoadLibrary.
using LoadedLibrary = Owned<FreedBy<HMODULE, &FreeLibrary>>;

// A file, process, thread or event. Closing a file can fail (a write the system held back
// fails then), so a writer that cares closes it with close() and looks at the result.
class KernelHandle : public Owned<KernelHandleTraits> {
public:
    using Owned::Owned;

    // Closes the handle now; false only when the system reports that the close failed.
    bool close()
    {
        const HANDLE handle = release();
        return !KernelHandleTraits::valid(handle) || CloseHandle(handle) != FALSE;
    }
};

// A window's device context, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context; what was selected before comes back at the end.
// A null context or object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Global memory locked for reading or writing; null when the lock failed.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~LockedGlobal()
    {
        if (data_)
            GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* get() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// The clipboard, open for this thread until the end of the scope.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_;
};

} // namespace kes
