#include "tests/overlay/vexlay_library.h"

#include <dlfcn.h>

VexlayLibrary::VexlayLibrary() : m_handle(::dlopen(VEXLAY_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}

VexlayLibrary::~VexlayLibrary() {
    if (m_handle != nullptr) ::dlclose(m_handle);
}

std::string VexlayLibrary::Path() {
    return VEXLAY_LIBRARY;
}

HRESULT VexlayLibrary::Register() const {
    return Call("DllRegisterServer");
}

HRESULT VexlayLibrary::Unregister() const {
    return Call("DllUnregisterServer");
}

HRESULT VexlayLibrary::CanUnloadNow() const {
    return Call("DllCanUnloadNow");
}

HRESULT VexlayLibrary::Call(const char* entry) const {
    if (m_handle == nullptr) return E_FAIL;
    auto* function = reinterpret_cast<HRESULT (*)()>(::dlsym(m_handle, entry));
    return function != nullptr ? function() : E_FAIL;
}
