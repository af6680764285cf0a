// Registration of the library's classes: for each class the key "CLSID\{clsid}" in the classes
// hive with the class name, its "InprocServer32" sub-key with the library's path and
// "ThreadingModel" = "Both", and for a filter its record in the filters category of the filter
// mapper, so that graph tools list it.
#pragma once

#include <span>
#include <string>

#include "platform/com/class_factory.h"
#include "platform/media/interfaces/ifilter_mapper2.h"

// One creatable class of the library: its factory template and, for a filter, the record the
// filter mapper keeps (null for other classes).
struct CServerClass {
    CFactoryTemplate factory;
    const AMOVIESETUP_FILTER* filter;
};

// Writes every class's keys and filter record. The filter mapper is reached through this
// module's own component runtime (initialised for the call), so the caller needs no runtime of
// its own. On a failure everything written is removed again and the failure returned.
HRESULT RegisterServerClasses(std::span<const CServerClass> classes,
                              const std::u16string& libraryPath);

// Removes the filter records and the class keys. Classes that are not registered are no failure;
// the first failure is returned after every removal was tried.
HRESULT UnregisterServerClasses(std::span<const CServerClass> classes);
