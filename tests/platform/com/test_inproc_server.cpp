// An in-process server for the tests: one class, registered under its own library path.
#include <dlfcn.h>

#include <new>
#include <string>

#include "platform/base/utf16.h"
#include "platform/com/class_factory.h"
#include "platform/com/server_exports.h"
#include "platform/registry/registry.h"
#include "tests/platform/com/test_counter.h"

namespace {

class CCounter final : public ICounter, public CUnknown {
  public:
    static CUnknown* Create(IUnknown* outer, HRESULT* hr) {
        auto* object = new (std::nothrow) CCounter(outer);
        if (!object) *hr = E_OUTOFMEMORY;
        return object;
    }
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == ICounter::kIid) return GetInterface(static_cast<ICounter*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    LONG Increment() override { return ++count_; }

  private:
    explicit CCounter(IUnknown* outer) : CUnknown(outer) {}
    LONG count_ = 0;
};

const CFactoryTemplate kTemplates[] = {{u"Test Counter", &CLSID_TestCounter, CCounter::Create}};

std::u16string KeyPath() {
    return u"CLSID\\" + guid::ToWide(CLSID_TestCounter) + u"\\InprocServer32";
}

}  // namespace

COM_SERVER_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return GetClassObjectFromTable(kTemplates, clsid, riid, ppv);
}

COM_SERVER_EXPORT HRESULT DllCanUnloadNow() {
    return com_module::CanUnload() ? S_OK : S_FALSE;
}

COM_SERVER_EXPORT HRESULT DllRegisterServer() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname)
        return E_FAIL;
    const std::u16string path = utf16::FromUtf8(info.dli_fname);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, KeyPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    const LONG rc =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.data()),
                       static_cast<DWORD>(path.size() * 2));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

COM_SERVER_EXPORT HRESULT DllUnregisterServer() {
    const std::u16string clsidKey = u"CLSID\\" + guid::ToWide(CLSID_TestCounter);
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, clsidKey.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
