// RAII owners for the Win32 handles the runtime holds.
#pragma once
#include <windows.h>

#include <utility>

template <typename T, T Invalid, typename Closer>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, Invalid)) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(std::exchange(other.value_, Invalid));
        return *this;
    }
    ~UniqueResource() { reset(); }

    T get() const { return value_; }
    bool valid() const { return value_ != Invalid; }
    explicit operator bool() const { return valid(); }
    T release() { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) {
        if (value_ != Invalid) Closer()(value_);
        value_ = value;
    }
    // For out-parameters of API calls: closes what is held first.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid;
};

struct HandleCloser { void operator()(HANDLE h) const { CloseHandle(h); } };
struct FindCloser { void operator()(HANDLE h) const { FindClose(h); } };
struct KeyCloser { void operator()(HKEY k) const { RegCloseKey(k); } };
struct GdiDeleter { void operator()(HGDIOBJ o) const { DeleteObject(o); } };

// Kernel handles whose failure value is null (processes, threads, mappings).
using UniqueHandle = UniqueResource<HANDLE, nullptr, HandleCloser>;
// File handles from CreateFileA, whose failure value is INVALID_HANDLE_VALUE.
class UniqueFile {
public:
    UniqueFile() = default;
    explicit UniqueFile(HANDLE h) : h_(h) {}
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    UniqueFile(UniqueFile&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    UniqueFile& operator=(UniqueFile&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, INVALID_HANDLE_VALUE));
        return *this;
    }
    ~UniqueFile() { reset(); }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }
    HANDLE release() { return std::exchange(h_, INVALID_HANDLE_VALUE); }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};
class UniqueFindHandle {
public:
    explicit UniqueFindHandle(HANDLE h) : h_(h) {}
    UniqueFindHandle(const UniqueFindHandle&) = delete;
    UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
    ~UniqueFindHandle() { if (h_ != INVALID_HANDLE_VALUE) FindClose(h_); }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};
using UniqueKey = UniqueResource<HKEY, nullptr, KeyCloser>;
using UniqueGdiObject = UniqueResource<HGDIOBJ, nullptr, GdiDeleter>;
