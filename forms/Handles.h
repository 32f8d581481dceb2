// Small RAII owners for Windows handles and COM pointers.
#pragma once

#include <windows.h>

#include <utility>

namespace forms {

// Owns one handle and frees it with Free(h) unless it is the empty value.
template <typename H, auto Free, H Empty = H{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Empty)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Empty));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  void reset(H h = Empty) {
    if (h_ != Empty) Free(h_);
    h_ = h;
  }
  H get() const { return h_; }
  H* put() { reset(); return &h_; }
  H release() { return std::exchange(h_, Empty); }
  explicit operator bool() const { return h_ != Empty; }

 private:
  H h_ = Empty;
};

inline void FreeGdi(HGDIOBJ h) { DeleteObject(h); }
inline void FreeIcon(HICON h) { DestroyIcon(h); }
inline void FreeAccel(HACCEL h) { DestroyAcceleratorTable(h); }
inline void FreeHandle(HANDLE h) { CloseHandle(h); }
inline void FreeKey(HKEY h) { RegCloseKey(h); }

using FontHandle = UniqueHandle<HFONT, FreeGdi>;
using BrushHandle = UniqueHandle<HBRUSH, FreeGdi>;
using IconHandle = UniqueHandle<HICON, FreeIcon>;
using AccelHandle = UniqueHandle<HACCEL, FreeAccel>;
using KernelHandle = UniqueHandle<HANDLE, FreeHandle>;
using KeyHandle = UniqueHandle<HKEY, FreeKey>;

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
