// The built libvexlay.so, loaded with dlopen and registered into the registry of the test (a
// TempRegistry) the way the registration tool does it; the filter is then created through the
// registry, as the viewer creates it.
#pragma once

#include <string>

#include "platform/base/win_types.h"

class VexlayLibrary {
  public:
    // Loads the library (see Loaded).
    VexlayLibrary();
    ~VexlayLibrary();
    VexlayLibrary(const VexlayLibrary&) = delete;
    VexlayLibrary& operator=(const VexlayLibrary&) = delete;

    static std::string Path();
    bool Loaded() const { return m_handle != nullptr; }
    void* Handle() const { return m_handle; }

    // The exported entry points; E_FAIL when the library did not load or lacks one.
    HRESULT Register() const;
    HRESULT Unregister() const;
    HRESULT CanUnloadNow() const;

  private:
    HRESULT Call(const char* entry) const;

    void* m_handle;
};
