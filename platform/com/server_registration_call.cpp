#include "platform/com/server_registration_call.h"

#include <dlfcn.h>

#include <cstdio>
#include <vector>

#include "platform/base/utf16.h"
#include "platform/registry/registry.h"

std::string RegisteredServerPath(REFCLSID clsid) {
    const std::u16string keyPath = u"CLSID\\" + guid::ToWide(clsid) + u"\\InprocServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    std::vector<WCHAR> buffer(4096, 0);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(WCHAR));
    const LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return {};
    return utf16::ToUtf8(std::u16string_view(buffer.data(), utf16::Length(buffer.data())));
}

namespace {

// The library's handle for the length of one call. Used by the calling thread alone.
class LoadedLibrary {
  public:
    explicit LoadedLibrary(const std::string& path)
        : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedLibrary() {
        if (handle_) ::dlclose(handle_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    void* Get() const { return handle_; }

  private:
    // The calling thread only.
    void* const handle_;
};

}  // namespace

HRESULT CallServerRegistration(const std::string& library, bool unregister, std::string* error) {
    const LoadedLibrary loaded(library);
    if (!loaded.Get()) {
        const char* reason = ::dlerror();
        *error = "cannot load " + library + ": " + (reason ? reason : "unknown error");
        return CO_E_DLLNOTFOUND;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    using Fn = HRESULT (*)();
    const auto fn = reinterpret_cast<Fn>(::dlsym(loaded.Get(), entry));
    if (!fn) {
        *error = library + " has no " + entry;
        return CO_E_ERRORINDLL;
    }
    const HRESULT hr = fn();
    if (FAILED(hr)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
        *error = std::string(entry) + " of " + library + " failed with " + code;
    }
    return hr;
}
