#include "platform/devices/grabber_filter.h"

#include "platform/com/runtime.h"
#include "platform/devices/grabber_identity.h"
#include "platform/devices/grabber_media_types.h"
#include "platform/devices/property_handler.h"

namespace devices {

HRESULT CGrabberFilter::Create(std::shared_ptr<GrabberDevice> device, IBaseFilter** filter) {
    if (!filter) return E_POINTER;
    *filter = nullptr;
    if (!device) return E_INVALIDARG;
    ComPtr<CGrabberFilter> created;
    created.Attach(new CGrabberFilter(std::move(device)));
    created->AddRef();
    *filter = static_cast<IBaseFilter*>(created.Detach());
    return S_OK;
}

CGrabberFilter::CGrabberFilter(std::shared_ptr<GrabberDevice> device)
    : CSource("grabber", nullptr, CLSID_SimulatedGrabber), device_(std::move(device)) {
    videoIn_ = std::make_unique<CGrabberTunerPin>(this, &m_cStateLock, kVideoTunerInName,
                                                  MEDIATYPE_AnalogVideo);
    audioIn_ = std::make_unique<CGrabberTunerPin>(this, &m_cStateLock, kAudioTunerInName,
                                                  MEDIATYPE_AnalogAudio);
    for (int input = 1; input <= kInputCount; ++input) {
        auto preview = std::make_unique<CGrabberVideoStream>(this, kPreviewPinNames[input - 1],
                                                             CGrabberVideoStream::Kind::Preview,
                                                             input, device_.get());
        outputs_[input - 1] = preview.get();
        AddPin(std::move(preview));
    }
    auto capture = std::make_unique<CGrabberVideoStream>(
        this, kCaptureOutName, CGrabberVideoStream::Kind::Capture, 0, device_.get());
    outputs_[4] = capture.get();
    AddPin(std::move(capture));
    auto audio = std::make_unique<CGrabberAudioStream>(this, kAudioPcmOutName, &device_->Clock());
    outputs_[5] = audio.get();
    AddPin(std::move(audio));
    // Last: from here on the device calls in.
    device_->AddFrameListener(this);
    device_->AddDeviceChangeListener(this);
}

CGrabberFilter::~CGrabberFilter() {
    // First: no call from the device may reach pins that are about to go.
    device_->RemoveDeviceChangeListener(this);
    device_->RemoveFrameListener(this);
}

HRESULT CGrabberFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IAMAnalogVideoDecoder)
        return GetInterface(static_cast<IAMAnalogVideoDecoder*>(this), ppv);
    if (riid == IID_ISpecifyPropertyPages)
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    return CSource::NonDelegatingQueryInterface(riid, ppv);
}

int CGrabberFilter::GetPinCount() {
    return 2 + CSource::GetPinCount();
}

CBasePin* CGrabberFilter::GetPin(int n) {
    if (n == 0) return videoIn_.get();
    if (n == 1) return audioIn_.get();
    return CSource::GetPin(n - 2);
}

HRESULT CGrabberFilter::get_AvailableTVFormats(LONG* standards) {
    if (!standards) return E_POINTER;
    *standards = kSupportedVideoStandards;
    return S_OK;
}

HRESULT CGrabberFilter::put_TVFormat(LONG standard) {
    return device_->PutVideoStandard(standard);
}

HRESULT CGrabberFilter::get_TVFormat(LONG* standard) {
    return device_->GetVideoStandard(standard);
}

HRESULT CGrabberFilter::get_HorizontalLocked(LONG* locked) {
    if (!locked) return E_POINTER;
    const GrabberStatus status = device_->Status();
    if (!status.attached) return kE_DeviceNotConnected;
    *locked = status.input != 0 && (status.signalMask & InputBit(status.input)) ? 1 : 0;
    return S_OK;
}

HRESULT CGrabberFilter::get_NumberOfLines(LONG* lines) {
    if (!lines) return E_POINTER;
    const GrabberStatus status = device_->Status();
    if (!status.attached) return kE_DeviceNotConnected;
    *lines = status.format.height == 480 ? 525 : 625;
    return S_OK;
}

HRESULT CGrabberFilter::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    pages->pElems[0] = CLSID_GrabberPropertyPage;
    pages->cElems = 1;
    return S_OK;
}

void CGrabberFilter::OnFrameTick(const FrameTick& tick) {
    for (CGrabberStream* output : outputs_) output->Offer(tick);
}

bool CGrabberFilter::WaitUntilPassedOn(std::chrono::milliseconds timeout) {
    bool sent = true;
    for (CGrabberStream* output : outputs_) sent = output->WaitUntilSent(timeout) && sent;
    return sent;
}

void CGrabberFilter::OnDeviceChange(UINT event, const DeviceBroadcast&) {
    if (event != DBT_DEVICEREMOVECOMPLETE) return;
    for (CGrabberStream* output : outputs_) output->EndStream();
}

}  // namespace devices
