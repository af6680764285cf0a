// The component runtime: initialisation per thread, task memory, the class table of built-in
// classes, and in-process servers found in the registry and loaded with dlopen.
#pragma once

#include <cstddef>

#include "platform/com/com_ptr.h"

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// The DllGetClassObject shape: hands out the class factory of `clsid`.
using GetClassObjectFn = HRESULT (*)(REFCLSID clsid, REFIID riid, void** ppv);
using CanUnloadNowFn = HRESULT (*)();

// S_OK on the thread's first call, S_FALSE on nested calls; each needs one CoUninitialize.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD flags);
// When the last initialisation of the process ends, unused in-process servers are unloaded.
void CoUninitialize();

void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* p);

// Adds a class that lives in this process (the built-in filters and services). A later
// registration of the same class replaces the earlier one.
void CoRegisterBuiltinClass(REFCLSID clsid, GetClassObjectFn getClassObject);

// The class factory (or other class object interface) of a class: first the built-in table, then
// an in-process server registered under HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32 (default
// value: the library's path). Needs CoInitialize on the calling thread (CO_E_NOTINITIALIZED).
// REGDB_E_CLASSNOTREG when the class is unknown, CO_E_DLLNOTFOUND when the library does not load,
// CO_E_ERRORINDLL when it exports no DllGetClassObject.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID riid, void** ppv);

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);

template <typename T>
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, ComPtr<T>* out) {
    return CoCreateInstance(clsid, outer, context, IidOf<T>(), out->ReleaseAndGetVoidAddressOf());
}

// Unloads the in-process servers whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();
