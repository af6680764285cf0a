#include "platform/com/class_factory.h"

#include <new>

HRESULT CClassFactory::Create(const CFactoryTemplate* entry, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    auto* factory = new (std::nothrow) CClassFactory(entry);
    if (!factory) return E_OUTOFMEMORY;
    factory->NonDelegatingAddRef();
    const HRESULT hr = factory->NonDelegatingQueryInterface(riid, ppv);
    factory->NonDelegatingRelease();
    return hr;
}

HRESULT CClassFactory::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IClassFactory) return GetInterface(static_cast<IClassFactory*>(this), ppv);
    if (riid == IID_IUnknown) return GetInterface(static_cast<IClassFactory*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    HRESULT hr = S_OK;
    CUnknown* object = entry_->createInstance(outer, &hr);
    if (!object) return FAILED(hr) ? hr : E_OUTOFMEMORY;
    object->NonDelegatingAddRef();
    if (SUCCEEDED(hr)) hr = object->NonDelegatingQueryInterface(riid, ppv);
    object->NonDelegatingRelease();
    return hr;
}

HRESULT CClassFactory::LockServer(BOOL lock) {
    if (lock)
        com_module::Lock();
    else
        com_module::Unlock();
    return S_OK;
}

HRESULT GetClassObjectFromTable(std::span<const CFactoryTemplate> table, REFCLSID clsid,
                                REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IClassFactory && riid != IID_IUnknown) return E_NOINTERFACE;
    for (const CFactoryTemplate& entry : table)
        if (*entry.clsid == clsid) return CClassFactory::Create(&entry, riid, ppv);
    return CLASS_E_CLASSNOTAVAILABLE;
}
