// ComPtr: an owning, counted reference to a COM interface.
//
// Adopting a reference that the caller already owns (Attach, or an out-parameter filled through
// ReleaseAndGetAddressOf) is spelled differently from adding one (Retain, or a copy); there is no
// implicit conversion from a raw pointer.
#pragma once

#include <utility>

#include "platform/com/unknown.h"

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        if (other.p_) other.p_->AddRef();
        Reset();
        p_ = other.p_;
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    // Takes a new reference to `p` (AddRef).
    static ComPtr Retain(T* p) {
        ComPtr result;
        result.p_ = p;
        if (p) p->AddRef();
        return result;
    }
    // Adopts the reference the caller owns (no AddRef).
    void Attach(T* p) {
        Reset();
        p_ = p;
    }
    // Gives up ownership without releasing.
    [[nodiscard]] T* Detach() { return std::exchange(p_, nullptr); }

    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Releases the current reference and returns the slot for an out-parameter to fill.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &p_;
    }
    // Same, typed as void** for QueryInterface-shaped calls.
    void** ReleaseAndGetVoidAddressOf() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }

    // QueryInterface for U into `out`.
    template <typename U>
    HRESULT As(ComPtr<U>* out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(IidOf<U>(), out->ReleaseAndGetVoidAddressOf());
    }

    // Hands out a new reference through a raw out-parameter.
    HRESULT CopyTo(T** out) const {
        if (!out) return E_POINTER;
        *out = p_;
        if (p_) p_->AddRef();
        return S_OK;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }

  private:
    T* p_ = nullptr;
};
