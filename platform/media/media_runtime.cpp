#include "platform/media/media_runtime.h"

#include <mutex>

#include "platform/com/class_factory.h"
#include "platform/com/runtime.h"
#include "platform/media/filter_graph.h"
#include "platform/media/media_clsids.h"

namespace {

const CFactoryTemplate kBuiltinClasses[] = {
    {u"Filter Graph", &CLSID_FilterGraph, &CFilterGraph::CreateInstance},
};

HRESULT GetBuiltinClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return GetClassObjectFromTable(kBuiltinClasses, clsid, riid, ppv);
}

}  // namespace

void RegisterMediaRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const CFactoryTemplate& entry : kBuiltinClasses)
            CoRegisterBuiltinClass(*entry.clsid, &GetBuiltinClassObject);
    });
}
