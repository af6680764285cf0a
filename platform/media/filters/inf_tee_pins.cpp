#include "platform/media/filters/inf_tee_pins.h"

#include <algorithm>
#include <cstring>

#include "platform/media/filters/inf_tee.h"
#include "platform/media/interfaces/media_errors.h"

// ---- input ----

CInfTeeInputPin::CInfTeeInputPin(CInfTee* tee, HRESULT* hr)
    : CBaseInputPin("tee input", tee, tee->FilterLock(), hr, u"Input"), tee_(tee) {}

HRESULT CInfTeeInputPin::CheckMediaType(const CMediaType* type) {
    for (const auto& output : tee_->Outputs())
        if (output->IsConnected() && output->GetConnected()->QueryAccept(type) != S_OK)
            return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CInfTeeInputPin::Receive(IMediaSample* sample) {
    CAutoLock receive(tee_->ReceiveLock());
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    HRESULT failure = S_OK;
    bool delivered = false;
    bool any = false;
    for (const auto& output : tee_->Outputs()) {
        if (!output->IsConnected()) continue;
        any = true;
        hr = output->DeliverSample(sample);
        if (hr == S_OK)
            delivered = true;
        else if (SUCCEEDED(failure))
            failure = hr;
    }
    // One refusing branch does not stop the others; the upstream stops only when none takes it.
    return (!any || delivered) ? S_OK : failure;
}

HRESULT CInfTeeInputPin::ReceiveCanBlock() {
    for (const auto& output : tee_->Outputs())
        if (output->InputPin() && output->InputPin()->ReceiveCanBlock() != S_FALSE) return S_OK;
    return S_FALSE;
}

HRESULT CInfTeeInputPin::EndOfStream() {
    CAutoLock receive(tee_->ReceiveLock());
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK) return hr;
    for (const auto& output : tee_->Outputs())
        if (output->IsConnected()) output->DeliverEndOfStream();
    return S_OK;
}

HRESULT CInfTeeInputPin::BeginFlush() {
    CBaseInputPin::BeginFlush();
    for (const auto& output : tee_->Outputs())
        if (output->IsConnected()) output->DeliverBeginFlush();
    return S_OK;
}

HRESULT CInfTeeInputPin::EndFlush() {
    for (const auto& output : tee_->Outputs())
        if (output->IsConnected()) output->DeliverEndFlush();
    return CBaseInputPin::EndFlush();
}

HRESULT CInfTeeInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    CBasePin::NewSegment(start, stop, rate);
    for (const auto& output : tee_->Outputs())
        if (output->IsConnected()) output->DeliverNewSegment(start, stop, rate);
    return S_OK;
}

// ---- outputs ----

CInfTeeOutputPin::CInfTeeOutputPin(CInfTee* tee, HRESULT* hr, LPCWSTR name)
    : CBaseOutputPin("tee output", tee, tee->FilterLock(), hr, name), tee_(tee) {}

HRESULT CInfTeeOutputPin::CheckConnect(IPin* pin) {
    if (!tee_->Input()->IsConnected()) return VFW_E_NOT_CONNECTED;
    return CBaseOutputPin::CheckConnect(pin);
}

HRESULT CInfTeeOutputPin::CheckMediaType(const CMediaType* type) {
    CInfTeeInputPin* input = tee_->Input();
    if (!input->IsConnected()) return VFW_E_NOT_CONNECTED;
    return *type == input->CurrentMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CInfTeeOutputPin::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    CInfTeeInputPin* input = tee_->Input();
    if (position > 0 || !input->IsConnected()) return VFW_S_NO_MORE_ITEMS;
    return type->Set(input->CurrentMediaType());
}

HRESULT CInfTeeOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
    if (!pin || !allocator) return E_POINTER;
    if (IMemAllocator* shared = tee_->Input()->PeekAllocator()) {
        if (SUCCEEDED(pin->NotifyAllocator(shared, TRUE))) {
            *allocator = shared;
            shared->AddRef();
            return S_OK;
        }
    }
    return CBaseOutputPin::DecideAllocator(pin, allocator);
}

HRESULT CInfTeeOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                           ALLOCATOR_PROPERTIES* request) {
    ALLOCATOR_PROPERTIES wanted = *request;
    if (IMemAllocator* upstream = tee_->Input()->PeekAllocator()) {
        ALLOCATOR_PROPERTIES input{};
        if (SUCCEEDED(upstream->GetProperties(&input))) {
            wanted.cBuffers = std::max(wanted.cBuffers, input.cBuffers);
            wanted.cbBuffer = std::max(wanted.cbBuffer, input.cbBuffer);
        }
    }
    wanted.cBuffers = std::max<LONG>(wanted.cBuffers, 1);
    wanted.cbBuffer = std::max<LONG>(wanted.cbBuffer, 1);
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(&wanted, &actual);
}

HRESULT CInfTeeOutputPin::CompleteConnect(IPin* receivePin) {
    const HRESULT hr = CBaseOutputPin::CompleteConnect(receivePin);
    if (FAILED(hr)) return hr;
    tee_->AddFreeOutputIfNeeded();
    return S_OK;
}

HRESULT CInfTeeOutputPin::DeliverSample(IMediaSample* sample) {
    if (Allocator() == tee_->Input()->PeekAllocator()) return Deliver(sample);
    ComPtr<IMediaSample> copy;
    HRESULT hr = GetDeliveryBuffer(copy.ReleaseAndGetAddressOf(), nullptr, nullptr, 0);
    if (FAILED(hr)) return hr;
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    sample->GetPointer(&from);
    copy->GetPointer(&to);
    const LONG length = std::min(sample->GetActualDataLength(), copy->GetSize());
    if (length > 0) std::memcpy(to, from, static_cast<std::size_t>(length));
    copy->SetActualDataLength(length);
    REFERENCE_TIME start = 0, stop = 0;
    if (sample->GetTime(&start, &stop) == S_OK) copy->SetTime(&start, &stop);
    copy->SetSyncPoint(sample->IsSyncPoint() == S_OK);
    copy->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
    return Deliver(copy.Get());
}
