// Registration of in-process servers from outside them: where the registry says a class's server
// library is, and calling a library's own DllRegisterServer or DllUnregisterServer. The registry
// tool and the viewer's start-up both register through here.
#pragma once

#include <string>

#include "platform/com/guid.h"

// The library path registered for `clsid` under HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32
// (its default value); empty when the class is not registered or the value is not text.
std::string RegisteredServerPath(REFCLSID clsid);

// Loads `library`, calls its DllRegisterServer (DllUnregisterServer when `unregister`) and
// unloads it again. On a failure the result is the failure (CO_E_DLLNOTFOUND when the library does
// not load, CO_E_ERRORINDLL when it lacks the entry point, else the entry point's own result)
// and *error says what happened in one line naming the library.
HRESULT CallServerRegistration(const std::string& library, bool unregister, std::string* error);
