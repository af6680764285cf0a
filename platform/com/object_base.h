// Building blocks for COM objects: a non-delegating IUnknown with aggregation support, and the
// per-module count of live objects and server locks that DllCanUnloadNow consults.
#pragma once

#include <atomic>

#include "platform/com/unknown.h"

// The inner IUnknown of an object that may be aggregated. Its methods carry other names so that
// an object can implement both this and the delegating IUnknown of its interfaces.
struct INonDelegatingUnknown {
    virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG NonDelegatingAddRef() = 0;
    virtual ULONG NonDelegatingRelease() = 0;

  protected:
    ~INonDelegatingUnknown() = default;
};

namespace com_module {
// Live objects and LockServer(TRUE) locks of the module this code is linked into. Each shared
// library links its own copy (symbols are hidden), so the counts are per module.
void AddObject();
void RemoveObject();
void Lock();
void Unlock();
bool CanUnload();
long ObjectCount();
}  // namespace com_module

// Hands out `unknown` through `ppv` with a new reference.
HRESULT GetInterface(IUnknown* unknown, void** ppv);

// Base of every object we implement. Reference counted through NonDelegatingAddRef/Release;
// delegates its public IUnknown to the outer object when aggregated (derived classes use
// DECLARE_IUNKNOWN for that). The destructor is protected: only Release destroys.
class CUnknown : public INonDelegatingUnknown {
  public:
    // `outer` is the controlling unknown when aggregated, else null (the object is its own owner).
    // Not owned: an aggregated object lives inside its outer object.
    explicit CUnknown(IUnknown* outer);
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    // Answers IUnknown with the non-delegating unknown; derived classes add their interfaces
    // and call this for anything they do not know.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    ULONG NonDelegatingAddRef() override;
    ULONG NonDelegatingRelease() override;

    // The controlling unknown: the outer object when aggregated, else this object.
    IUnknown* GetOwner() const { return owner_; }

  protected:
    virtual ~CUnknown();

  private:
    // The non-delegating unknown seen as a plain IUnknown: what QueryInterface(IID_IUnknown)
    // hands out, and so what an outer object holds of an aggregated inner one.
    class Inner final : public IUnknown {
      public:
        explicit Inner(CUnknown* self) : self_(self) {}
        HRESULT QueryInterface(REFIID riid, void** ppv) override {
            return self_->NonDelegatingQueryInterface(riid, ppv);
        }
        ULONG AddRef() override { return self_->NonDelegatingAddRef(); }
        ULONG Release() override { return self_->NonDelegatingRelease(); }

      private:
        CUnknown* self_;  // the enclosing object
    };

    std::atomic<ULONG> refs_{0};
    Inner inner_{this};
    IUnknown* owner_;  // the outer object, or inner_
};

// Implements the delegating IUnknown of a class derived from CUnknown.
#define DECLARE_IUNKNOWN                                       \
    HRESULT QueryInterface(REFIID riid, void** ppv) override { \
        return GetOwner()->QueryInterface(riid, ppv);          \
    }                                                          \
    ULONG AddRef() override {                                  \
        return GetOwner()->AddRef();                           \
    }                                                          \
    ULONG Release() override {                                 \
        return GetOwner()->Release();                          \
    }
