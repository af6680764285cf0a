#include "platform/media/base/free_pin.h"

#include "platform/media/interfaces/ienum_pins.h"

ComPtr<IPin> FirstFreePin(IBaseFilter* filter, PIN_DIRECTION direction) {
    ComPtr<IEnumPins> pins;
    if (filter == nullptr || FAILED(filter->EnumPins(pins.ReleaseAndGetAddressOf()))) return {};
    for (ComPtr<IPin> pin; pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK;) {
        PIN_DIRECTION dir = PINDIR_INPUT;
        ComPtr<IPin> peer;
        if (SUCCEEDED(pin->QueryDirection(&dir)) && dir == direction &&
            pin->ConnectedTo(peer.ReleaseAndGetAddressOf()) != S_OK) {
            return pin;
        }
    }
    return {};
}
