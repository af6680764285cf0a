#include "platform/media/filters/inf_tee.h"

#include <new>
#include <string>

#include "platform/media/interfaces/media_clsids.h"

CUnknown* CInfTee::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* tee = new (std::nothrow) CInfTee(outer);
    if (!tee && hr) *hr = E_OUTOFMEMORY;
    return tee;
}

CInfTee::CInfTee(IUnknown* outer)
    : CBaseFilter("infinite pin tee", outer, &lock_, CLSID_InfTee),
      input_(std::make_unique<CInfTeeInputPin>(this, nullptr)) {
    AddFreeOutputIfNeeded();
}

CInfTee::~CInfTee() = default;

int CInfTee::GetPinCount() {
    CAutoLock lock(&lock_);
    return 1 + static_cast<int>(outputs_.size());
}

CBasePin* CInfTee::GetPin(int n) {
    CAutoLock lock(&lock_);
    if (n == 0) return input_.get();
    if (n < 1 || n > static_cast<int>(outputs_.size())) return nullptr;
    return outputs_[n - 1].get();
}

HRESULT CInfTee::Stop() {
    CAutoLock lock(&lock_);
    const HRESULT hr = CBaseFilter::Stop();
    CAutoLock receive(&receiveLock_);  // a sample in progress finishes first
    return hr;
}

void CInfTee::AddFreeOutputIfNeeded() {
    CAutoLock lock(&lock_);
    for (const auto& output : outputs_)
        if (!output->IsConnected()) return;
    CAutoLock receive(&receiveLock_);
    const std::string number = std::to_string(outputs_.size() + 1);
    const std::u16string name = u"Output" + std::u16string(number.begin(), number.end());
    outputs_.push_back(std::make_unique<CInfTeeOutputPin>(this, nullptr, name.c_str()));
}
