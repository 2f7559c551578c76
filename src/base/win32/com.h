// COM for every Windows adapter (the XML DOM over MSXML, the platform's type library reader,
// the window program): interface references, BSTR and VARIANT owners, and the apartment. It
// sits in the lowest layer because the XML layer, which needs it, may depend on nothing else.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

#include "base/error.h"
#include "base/text.h"

namespace quenlor::com {

// One reference to a COM interface, released with its last holder.
template <class I>
class Ptr {
 public:
  Ptr() = default;
  // Takes over the reference the caller holds (what a COM call hands out).
  explicit Ptr(I* p) : p_(p) {}
  Ptr(const Ptr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  Ptr(Ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Ptr& operator=(Ptr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~Ptr() {
    if (p_) p_->Release();
  }

  // A further reference to an interface borrowed from someone else.
  static Ptr Share(I* p) {
    if (p) p->AddRef();
    return Ptr(p);
  }

  // For an out parameter: whatever was held is released first.
  I** Out() {
    *this = Ptr();
    return &p_;
  }
  // Hands the reference over to the caller.
  I* Detach() { return std::exchange(p_, nullptr); }

  I* get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // The object's other interface, or none where it has not that one.
  template <class U>
  Ptr<U> As(REFIID iid) const {
    Ptr<U> result;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(result.Out()));
    return result;
  }

 private:
  I* p_ = nullptr;
};

// The UTF-8 text of a BSTR that stays its owner's; a null BSTR is the empty text.
inline std::string Utf8Of(BSTR b) {
  if (!b) return std::string();
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(b), SysStringLen(b)));
}

// One BSTR, freed with its owner.
class Bstr {
 public:
  Bstr() = default;
  // Takes over a BSTR a call handed out.
  explicit Bstr(BSTR b) : b_(b) {}
  explicit Bstr(std::u16string_view text)
      : b_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {
    // Out of memory: the callee would otherwise take the null for an empty string.
    if (!b_) Fail(kSafecallException);
  }
  explicit Bstr(std::string_view text) : Bstr(std::u16string_view(Utf8ToUtf16(text))) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR* Out() {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  BSTR get() const { return b_; }
  std::u16string_view View() const {
    return b_ ? std::u16string_view(reinterpret_cast<const char16_t*>(b_), SysStringLen(b_)) : std::u16string_view();
  }
  std::string Utf8() const { return Utf8Of(b_); }

 private:
  BSTR b_ = nullptr;
};

// One VARIANT, cleared (and whatever it holds given back) with its owner.
class Var {
 public:
  Var() { VariantInit(&v_); }
  ~Var() { VariantClear(&v_); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;

  VARIANT* Out() {
    VariantClear(&v_);
    return &v_;
  }
  VARIANT& get() { return v_; }
  const VARIANT& get() const { return v_; }

  void SetText(std::string_view text) {
    BSTR b = Bstr(text).Detach();
    VariantClear(&v_);
    v_.vt = VT_BSTR;
    v_.bstrVal = b;
  }
  // Holds its own reference to the object.
  void SetUnknown(IUnknown* object) {
    if (object) object->AddRef();
    VariantClear(&v_);
    v_.vt = VT_UNKNOWN;
    v_.punkVal = object;
  }
  void SetInt(long value) {
    VariantClear(&v_);
    v_.vt = VT_I4;
    v_.lVal = value;
  }
  void SetNull() {
    VariantClear(&v_);
    v_.vt = VT_NULL;
  }

 private:
  VARIANT v_;
};

// COM for the calling thread, in a single-threaded apartment, for the guard's life.
class Apartment {
 public:
  Apartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~Apartment() {
    if (ok_) CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  bool ok_;
};

}  // namespace quenlor::com
