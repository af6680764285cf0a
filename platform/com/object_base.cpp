#include "platform/com/object_base.h"

namespace com_module {
namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void AddObject() {
    g_objects.fetch_add(1);
}
void RemoveObject() {
    g_objects.fetch_sub(1);
}
void Lock() {
    g_locks.fetch_add(1);
}
void Unlock() {
    g_locks.fetch_sub(1);
}
bool CanUnload() {
    return g_objects.load() == 0 && g_locks.load() == 0;
}
long ObjectCount() {
    return g_objects.load();
}
}  // namespace com_module

HRESULT GetInterface(IUnknown* unknown, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = unknown;
    unknown->AddRef();
    return S_OK;
}

CUnknown::CUnknown(IUnknown* outer) : owner_(outer ? outer : &inner_) {
    com_module::AddObject();
}

CUnknown::~CUnknown() {
    com_module::RemoveObject();
}

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown) {
        *ppv = static_cast<IUnknown*>(&inner_);
        NonDelegatingAddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CUnknown::NonDelegatingAddRef() {
    return ++refs_;
}

ULONG CUnknown::NonDelegatingRelease() {
    const ULONG left = --refs_;
    if (left == 0) {
        // Guard against re-entry while the destructor releases what it holds.
        refs_ = 1;
        delete this;
    }
    return left;
}
