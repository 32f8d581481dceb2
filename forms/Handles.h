// Small RAII owners for Windows handles and COM pointers.
#pragma once

#include <windows.h>

#include <utility>

namespace forms {

template <typename H>
constexpr bool IsNull(H h) { return h == H{}; }

// Kernel objects come back as nullptr from most calls and as
// INVALID_HANDLE_VALUE from CreateFileW and its kin: both mean none. (The
// pseudo-handle of the own process has the same value, and is never owned.)
inline bool IsNoHandle(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }

// Owns one handle and frees it with Free(h) unless IsEmpty(h) says it holds
// none; a new owner starts at H{}.
template <typename H, auto Free, auto IsEmpty = IsNull<H>>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  void reset(H h = H{}) {
    if (!IsEmpty(h_)) Free(h_);
    h_ = h;
  }
  H get() const { return h_; }
  H* put() { reset(); return &h_; }
  H release() { return std::exchange(h_, H{}); }
  explicit operator bool() const { return !IsEmpty(h_); }

 private:
  H h_ = H{};
};

inline void FreeGdi(HGDIOBJ h) { DeleteObject(h); }
inline void FreeIcon(HICON h) { DestroyIcon(h); }
inline void FreeAccel(HACCEL h) { DestroyAcceleratorTable(h); }
inline void FreeHandle(HANDLE h) { CloseHandle(h); }
inline void FreeKey(HKEY h) { RegCloseKey(h); }
// Memory the system allocated for the caller, such as a security descriptor.
inline void FreeLocal(HLOCAL h) { LocalFree(h); }

using FontHandle = UniqueHandle<HFONT, FreeGdi>;
using BrushHandle = UniqueHandle<HBRUSH, FreeGdi>;
using IconHandle = UniqueHandle<HICON, FreeIcon>;
using AccelHandle = UniqueHandle<HACCEL, FreeAccel>;
using KernelHandle = UniqueHandle<HANDLE, FreeHandle, IsNoHandle>;
using KeyHandle = UniqueHandle<HKEY, FreeKey>;
using LocalMemory = UniqueHandle<HLOCAL, FreeLocal>;

// Owns one reference of a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** put() { reset(); return &p_; }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace forms
