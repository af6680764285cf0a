#include "platform/com/runtime.h"

#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com/server_registration_call.h"

namespace {

thread_local int t_initCount = 0;

struct LoadedServer {
    void* handle;
    GetClassObjectFn getClassObject;
    CanUnloadNowFn canUnloadNow;  // may be null: such a library stays loaded
};

// Process-wide state of the runtime: initialisation count, built-in classes, loaded servers.
class Runtime {
  public:
    static Runtime& Get() {
        static Runtime runtime;
        return runtime;
    }

    void Initialised() {
        std::lock_guard lock(mutex_);
        ++processInits_;
    }
    bool Uninitialised() {
        std::lock_guard lock(mutex_);
        return --processInits_ == 0;
    }

    void AddBuiltin(REFCLSID clsid, GetClassObjectFn fn) {
        std::lock_guard lock(mutex_);
        builtins_[clsid] = fn;
    }
    GetClassObjectFn FindBuiltin(REFCLSID clsid) {
        std::lock_guard lock(mutex_);
        auto it = builtins_.find(clsid);
        return it == builtins_.end() ? nullptr : it->second;
    }

    // Loads (or finds loaded) the library at `path`.
    HRESULT Load(const std::string& path, GetClassObjectFn* fn) {
        std::lock_guard lock(mutex_);
        if (auto it = servers_.find(path); it != servers_.end()) {
            *fn = it->second.getClassObject;
            return S_OK;
        }
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return CO_E_DLLNOTFOUND;
        auto get = reinterpret_cast<GetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
        if (!get) {
            ::dlclose(handle);
            return CO_E_ERRORINDLL;
        }
        auto canUnload = reinterpret_cast<CanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
        servers_.emplace(path, LoadedServer{handle, get, canUnload});
        *fn = get;
        return S_OK;
    }

    void FreeUnused() {
        std::lock_guard lock(mutex_);
        for (auto it = servers_.begin(); it != servers_.end();) {
            if (it->second.canUnloadNow && it->second.canUnloadNow() == S_OK) {
                ::dlclose(it->second.handle);
                it = servers_.erase(it);
            } else {
                ++it;
            }
        }
    }

  private:
    std::mutex mutex_;
    int processInits_ = 0;
    std::map<CLSID, GetClassObjectFn> builtins_;
    std::map<std::string, LoadedServer> servers_;
};

}  // namespace

HRESULT CoInitialize(void* reserved) {
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void* /*reserved*/, DWORD /*flags*/) {
    if (t_initCount++ > 0) return S_FALSE;
    Runtime::Get().Initialised();
    return S_OK;
}

void CoUninitialize() {
    if (t_initCount == 0) return;
    if (--t_initCount > 0) return;
    if (Runtime::Get().Uninitialised()) Runtime::Get().FreeUnused();
}

void* CoTaskMemAlloc(std::size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}
void CoTaskMemFree(void* p) {
    std::free(p);
}

void CoRegisterBuiltinClass(REFCLSID clsid, GetClassObjectFn getClassObject) {
    Runtime::Get().AddBuiltin(clsid, getClassObject);
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* /*reserved*/, REFIID riid,
                         void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (t_initCount == 0) return CO_E_NOTINITIALIZED;
    if (!(context & CLSCTX_INPROC)) return REGDB_E_CLASSNOTREG;
    if (GetClassObjectFn builtin = Runtime::Get().FindBuiltin(clsid))
        return builtin(clsid, riid, ppv);
    const std::string path = RegisteredServerPath(clsid);
    if (path.empty()) return REGDB_E_CLASSNOTREG;
    GetClassObjectFn get = nullptr;
    if (const HRESULT hr = Runtime::Get().Load(path, &get); FAILED(hr)) return hr;
    return get(clsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory,
                                  factory.ReleaseAndGetVoidAddressOf());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(outer, riid, ppv);
}

void CoFreeUnusedLibraries() {
    Runtime::Get().FreeUnused();
}
