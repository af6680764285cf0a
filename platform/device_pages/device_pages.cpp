#include "platform/device_pages/device_pages.h"

#include "platform/com/class_factory.h"
#include "platform/com/runtime.h"
#include "platform/device_pages/grabber_property_page.h"
#include "platform/devices/grabber_identity.h"

namespace {

const CFactoryTemplate kPageClasses[] = {
    {u"Grabber Property Page", &devices::CLSID_GrabberPropertyPage,
     &device_pages::CGrabberPropertyPage::CreateInstance},
};

HRESULT GetPageClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return GetClassObjectFromTable(kPageClasses, clsid, riid, ppv);
}

}  // namespace

void RegisterDevicePages() {
    for (const CFactoryTemplate& entry : kPageClasses)
        CoRegisterBuiltinClass(*entry.clsid, &GetPageClassObject);
}
