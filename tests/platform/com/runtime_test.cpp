#include "platform/com/runtime.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/base/utf16.h"
#include "platform/registry/registry.h"
#include "tests/platform/com/test_counter.h"
#include "tests/support/temp_dir.h"

namespace {

class RuntimeTest : public ::testing::Test {
  protected:
    testing_support::TempRegistry registry_;
};

bool ServerLoaded() {
    void* handle = ::dlopen(TEST_INPROC_SERVER, RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return false;
    ::dlclose(handle);
    return true;
}

TEST_F(RuntimeTest, CreatesAClassOfARegisteredInProcessServerAndUnloadsItWhenUnused) {
    ComPtr<ICounter> counter;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, &counter),
              CO_E_NOTINITIALIZED);

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, &counter),
              REGDB_E_CLASSNOTREG);

    // Register the test library the way an installer does: load it and call its entry point.
    {
        void* handle = ::dlopen(TEST_INPROC_SERVER, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << ::dlerror();
        auto reg = reinterpret_cast<HRESULT (*)()>(::dlsym(handle, "DllRegisterServer"));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK);
        ::dlclose(handle);
    }
    ASSERT_FALSE(ServerLoaded());

    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, &counter), S_OK);
    EXPECT_EQ(counter->Increment(), 1);
    EXPECT_EQ(counter->Increment(), 2);
    EXPECT_TRUE(ServerLoaded());
    CoFreeUnusedLibraries();
    EXPECT_TRUE(ServerLoaded()) << "unloaded while an object is alive";
    counter.Reset();
    CoUninitialize();  // the last initialisation ends: unused servers go
    EXPECT_FALSE(ServerLoaded());
}

TEST_F(RuntimeTest, ReportsALibraryThatCannotBeLoaded) {
    const CLSID clsid = {0xABCDEF, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8}};
    const std::u16string key = u"CLSID\\" + guid::ToWide(clsid) + u"\\InprocServer32";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const std::u16string path = u"/nonexistent/libnothing.so";
    RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.data()),
                   static_cast<DWORD>(path.size() * 2));
    RegCloseKey(handle);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, &object), CO_E_DLLNOTFOUND);
    CoUninitialize();
}

HRESULT BuiltinGetClassObject(REFCLSID, REFIID, void** ppv) {
    *ppv = nullptr;
    return E_OUTOFMEMORY;  // distinctive: proves the built-in table was asked first
}

TEST_F(RuntimeTest, BuiltInClassesComeBeforeTheRegistry) {
    const CLSID clsid = {0xB1, 1, 1, {1, 1, 1, 1, 1, 1, 1, 1}};
    CoRegisterBuiltinClass(clsid, BuiltinGetClassObject);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, &object), E_OUTOFMEMORY);
    CoUninitialize();
}

}  // namespace
