// The library's entry points: the class factories of the "Merge Overlay" filter and its property
// page, unloading, and self-registration. These four functions are the library's only exports.
#include <dlfcn.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>

#include "overlay/filter_title_overlay.h"
#include "overlay/server_registration.h"
#include "overlay/title_overlay_prop.h"
#include "platform/base/utf16.h"
#include "platform/com/server_exports.h"

namespace {

// Keeps this library mapped until the process ends. Qt keeps pieces of what the property page
// hands it (font descriptions in its font cache refer to text constants of this library) for the
// life of the application, so once the page has run, unloading the library would leave Qt with
// dangling pointers. The filter alone uses no Qt: a program that only records may still unload
// the library.
void KeepLoadedForTheProcess() {
    static std::once_flag once;
    std::call_once(once, [] {
        Dl_info info{};
        if (::dladdr(reinterpret_cast<void*>(&KeepLoadedForTheProcess), &info) == 0 ||
            info.dli_fname == nullptr) {
            return;
        }
        // The extra reference is never given back: with RTLD_NODELETE nothing unmaps the
        // library, not even the last dlclose.
        ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    });
}

CUnknown* CreatePropertyPage(IUnknown* outer, HRESULT* hr) {
    KeepLoadedForTheProcess();
    return CTitleOverlayProp::CreateInstance(outer, hr);
}

const CServerClass kClasses[] = {
    {{u"Merge Overlay", &CLSID_MergeOverlay, &CFilterTitleOverlay::CreateInstance},
     &CFilterTitleOverlay::SetupData()},
    {{u"Merge Overlay Property Page", &CLSID_MergeOverlayPropertyPage, &CreatePropertyPage},
     nullptr},
};

// The absolute path of this library, as the loader found it.
std::u16string LibraryPath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&LibraryPath), &info) == 0 || info.dli_fname == nullptr)
        return {};
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(info.dli_fname, nullptr),
                                                               &std::free);
    if (!resolved) return {};
    return utf16::FromUtf8(resolved.get());
}

}  // namespace

COM_SERVER_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IClassFactory && riid != IID_IUnknown) return E_NOINTERFACE;
    for (const CServerClass& entry : kClasses) {
        if (*entry.factory.clsid == clsid) return CClassFactory::Create(&entry.factory, riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

COM_SERVER_EXPORT HRESULT DllCanUnloadNow() {
    return com_module::CanUnload() ? S_OK : S_FALSE;
}

COM_SERVER_EXPORT HRESULT DllRegisterServer() {
    try {
        const std::u16string path = LibraryPath();
        if (path.empty()) return E_FAIL;
        return RegisterServerClasses(kClasses, path);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

COM_SERVER_EXPORT HRESULT DllUnregisterServer() {
    try {
        return UnregisterServerClasses(kClasses);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
