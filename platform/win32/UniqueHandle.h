#pragma once

#include <windows.h>

#include <objbase.h>

#include <utility>

namespace vantrel {

// Owns one handle and closes it exactly once. Traits give the handle type, the value that
// means "no handle" and the function that closes it. Copying is deleted so a handle can never
// be closed twice; moving hands the ownership on.
template <typename Traits>
class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    // Closes the owned handle (if any) and takes the new one.
    void reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = handle;
    }
    // Gives up ownership without closing.
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    // Closes the owned handle and returns the address for an API that writes a new one.
    Handle* put() {
        reset();
        return &handle_;
    }

  private:
    Handle handle_ = Traits::Invalid();
};

struct HkeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::RegCloseKey(handle); }
};

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::FindClose(handle); }
};

// Kernel objects (processes, threads, events) whose "no handle" value is null.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

// Files from CreateFile, whose "no handle" value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

using unique_hkey = UniqueHandle<HkeyTraits>;
using unique_find = UniqueHandle<FindTraits>;
using unique_handle = UniqueHandle<KernelHandleTraits>;
using unique_file = UniqueHandle<FileHandleTraits>;

// Owns one reference to a COM interface and releases it once.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = other.release();
        }
        return *this;
    }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    void reset() {
        if (pointer_ != nullptr)
            std::exchange(pointer_, nullptr)->Release();
    }
    T* release() { return std::exchange(pointer_, nullptr); }
    T** put() {
        reset();
        return &pointer_;
    }
    // For CoCreateInstance and QueryInterface, which write through a void**.
    void** put_void() { return reinterpret_cast<void**>(put()); }

  private:
    T* pointer_ = nullptr;
};

// Initialises COM for the calling thread for the lifetime of this object, and uninitialises it
// only when the initialisation succeeded (S_FALSE, "already initialised", counts: it must be
// balanced too). A thread already in another apartment mode keeps it and Succeeded() is false.
class ComInitializer {
  public:
    explicit ComInitializer(DWORD mode = COINIT_APARTMENTTHREADED)
        : result_(::CoInitializeEx(nullptr, mode)) {}
    ~ComInitializer() {
        if (Succeeded())
            ::CoUninitialize();
    }
    ComInitializer(const ComInitializer&) = delete;
    ComInitializer& operator=(const ComInitializer&) = delete;

    bool Succeeded() const { return SUCCEEDED(result_); }
    HRESULT Result() const { return result_; }

  private:
    HRESULT result_;
};

}  // namespace vantrel
