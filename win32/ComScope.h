// COM for the length of a scope (WIC needs it), the WIC factory, and an
// owning pointer to a COM interface.
#pragma once

#include <utility>

#include "win32/WinApi.h"

namespace kelvane {

template <typename T>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Where a call that creates an object puts it.
  T** Out() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

class TComScope {
 public:
  TComScope();
  ~TComScope();
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;
  // Null when WIC is not there.
  IWICImagingFactory* Factory();

 private:
  bool initialised_ = false;
  TComPtr<IWICImagingFactory> factory_;
};

}  // namespace kelvane
