// IMoniker (with IPersistStream before it): a name of an object that can be bound to the object
// or to its storage. Device monikers offer BindToObject (the filter), BindToStorage (a property
// bag with "FriendlyName") and GetDisplayName; the other methods answer E_NOTIMPL.
#pragma once

#include "platform/media/interfaces/ipersist.h"

struct IBindCtx;
struct IStream;
struct IEnumMoniker;
struct FILETIME;

struct IPersistStream : IPersist {
    static constexpr IID kIid = {0x00000109, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    virtual HRESULT IsDirty() = 0;
    virtual HRESULT Load(IStream* stream) = 0;
    virtual HRESULT Save(IStream* stream, BOOL clearDirty) = 0;
    virtual HRESULT GetSizeMax(ULONGLONG* size) = 0;

  protected:
    ~IPersistStream() = default;
};

struct IMoniker : IPersistStream {
    static constexpr IID kIid = {0x0000000F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    // Creates the object the moniker names and hands out interface `riid` of it. Needs
    // CoInitialize on the calling thread when the object is created through the class table.
    // A device that has gone away answers VFW_E_NOT_FOUND.
    virtual HRESULT BindToObject(IBindCtx* context, IMoniker* left, REFIID riid, void** ppv) = 0;
    // IPropertyBag of the object's description (read-only).
    virtual HRESULT BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid, void** ppv) = 0;
    virtual HRESULT Reduce(IBindCtx* context, DWORD howFar, IMoniker** left,
                           IMoniker** reduced) = 0;
    virtual HRESULT ComposeWith(IMoniker* right, BOOL onlyIfNotGeneric, IMoniker** composite) = 0;
    virtual HRESULT Enum(BOOL forward, IEnumMoniker** monikers) = 0;
    virtual HRESULT IsEqual(IMoniker* other) = 0;
    virtual HRESULT Hash(DWORD* hash) = 0;
    virtual HRESULT IsRunning(IBindCtx* context, IMoniker* left, IMoniker* newlyRunning) = 0;
    virtual HRESULT GetTimeOfLastChange(IBindCtx* context, IMoniker* left, FILETIME* time) = 0;
    virtual HRESULT Inverse(IMoniker** inverse) = 0;
    virtual HRESULT CommonPrefixWith(IMoniker* other, IMoniker** prefix) = 0;
    virtual HRESULT RelativePathTo(IMoniker* other, IMoniker** path) = 0;
    // The display name in task memory (CoTaskMemFree).
    virtual HRESULT GetDisplayName(IBindCtx* context, IMoniker* left, LPWSTR* name) = 0;
    virtual HRESULT ParseDisplayName(IBindCtx* context, IMoniker* left, LPWSTR name, ULONG* eaten,
                                     IMoniker** result) = 0;
    virtual HRESULT IsSystemMoniker(DWORD* kind) = 0;

  protected:
    ~IMoniker() = default;
};

inline constexpr IID IID_IPersistStream = IPersistStream::kIid;
inline constexpr IID IID_IMoniker = IMoniker::kIid;
