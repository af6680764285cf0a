#include "overlay/server_registration.h"

#include "platform/com/runtime.h"
#include "platform/media/base/filter_setup.h"
#include "platform/media/graph/filter_mapper.h"
#include "platform/media/graph/registry_text.h"
#include "platform/media/interfaces/media_clsids.h"

namespace {

std::u16string ClassKeyPath(REFCLSID clsid) {
    return u"CLSID\\" + guid::ToWide(clsid);
}

HRESULT WriteClassKeys(const CFactoryTemplate& factory, const std::u16string& libraryPath) {
    media::ScopedKey classKey;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKeyPath(*factory.clsid).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, classKey.Receive(),
                              nullptr);
    if (rc == ERROR_SUCCESS) rc = media::WriteText(classKey.Get(), nullptr, factory.name);
    media::ScopedKey serverKey;
    if (rc == ERROR_SUCCESS) {
        rc = RegCreateKeyExW(classKey.Get(), u"InprocServer32", 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, serverKey.Receive(), nullptr);
    }
    if (rc == ERROR_SUCCESS) rc = media::WriteText(serverKey.Get(), nullptr, libraryPath);
    if (rc == ERROR_SUCCESS) rc = media::WriteText(serverKey.Get(), u"ThreadingModel", u"Both");
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT DeleteClassKeys(const CFactoryTemplate& factory) {
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(*factory.clsid).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

HRESULT GetFilterMapper(REFCLSID clsid, REFIID riid, void** ppv) {
    static const CFactoryTemplate kMapper[] = {
        {u"Filter Mapper2", &CLSID_FilterMapper2, &CFilterMapper2::CreateInstance}};
    return GetClassObjectFromTable(kMapper, clsid, riid, ppv);
}

// Registers or unregisters the filter records of `classes` with the filter mapper. The library
// may be loaded by a program without a component runtime of its own (the registration tool), so
// this module initialises its own runtime for the call and offers it the filter mapper class,
// the only class of the media runtime that registration needs.
HRESULT RegisterFilterRecords(std::span<const CServerClass> classes, BOOL reg) {
    const HRESULT init = CoInitialize(nullptr);
    if (FAILED(init)) return init;
    CoRegisterBuiltinClass(CLSID_FilterMapper2, &GetFilterMapper);
    HRESULT hr = S_OK;
    {
        ComPtr<IFilterMapper2> mapper;
        hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, &mapper);
        for (const CServerClass& entry : classes) {
            if (FAILED(hr) && reg) break;
            if (entry.filter == nullptr || !mapper) continue;
            const HRESULT result = AMovieSetupRegisterFilter2(entry.filter, mapper.Get(), reg);
            if (SUCCEEDED(hr)) hr = result;
        }
    }
    CoUninitialize();
    return hr;
}

}  // namespace

HRESULT RegisterServerClasses(std::span<const CServerClass> classes,
                              const std::u16string& libraryPath) {
    HRESULT hr = S_OK;
    for (const CServerClass& entry : classes) {
        hr = WriteClassKeys(entry.factory, libraryPath);
        if (FAILED(hr)) break;
    }
    if (SUCCEEDED(hr)) hr = RegisterFilterRecords(classes, TRUE);
    if (FAILED(hr)) UnregisterServerClasses(classes);
    return hr;
}

HRESULT UnregisterServerClasses(std::span<const CServerClass> classes) {
    HRESULT hr = RegisterFilterRecords(classes, FALSE);
    for (const CServerClass& entry : classes) {
        const HRESULT result = DeleteClassKeys(entry.factory);
        if (SUCCEEDED(hr)) hr = result;
    }
    return hr;
}
