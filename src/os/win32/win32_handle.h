// Owners of Win32 handles, so that every path closes what it opened. One template, one small
// traits struct per kind of handle (what "no handle" is and how it is released).
#pragma once

#include <windows.h>

namespace kestrel::os::win32 {

template <typename Traits> class Owned {
  public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~Owned() { reset(); }

    bool valid() const { return Traits::valid(handle_); }
    Handle get() const { return handle_; }
    Handle release() {
        Handle h = handle_;
        handle_ = Traits::none();
        return h;
    }
    void reset(Handle handle = Traits::none()) {
        if (valid()) {
            Traits::close(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Traits::none();
};

// Files, processes, threads, events: CreateFile fails with INVALID_HANDLE_VALUE, the others
// with null, so both count as no handle.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(Handle h) { CloseHandle(h); }
};
using FileHandle = Owned<KernelHandleTraits>;
using KernelHandle = Owned<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};
using FindHandle = Owned<FindHandleTraits>;

// Handles that are null when there is none, released by Close.
template <typename H, auto Close> struct NullHandleTraits {
    using Handle = H;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { Close(h); }
};
using RegistryKey = Owned<NullHandleTraits<HKEY, RegCloseKey>>;
// A device context made with CreateDC (not one borrowed with GetDC).
using CreatedDc = Owned<NullHandleTraits<HDC, DeleteDC>>;

} // namespace kestrel::os::win32
