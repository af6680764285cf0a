#include "overlay/filter_title_overlay.h"

#include <algorithm>
#include <new>

#include "overlay/pixel_format.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/filter_types.h"
#include "platform/media/interfaces/imedia_sample.h"

namespace {

// ---- Registration record ----

const AMOVIESETUP_MEDIATYPE kAnyType = {&MEDIATYPE_NULL, &MEDIASUBTYPE_NULL};

// The record's pin names are read, never written; the structure merely declares them writable.
const AMOVIESETUP_PIN kPins[] = {
    {const_cast<LPWSTR>(u"Input"), FALSE, FALSE, FALSE, FALSE, &GUID_NULL, u"Output", 1, &kAnyType},
    {const_cast<LPWSTR>(u"Output"), FALSE, TRUE, FALSE, FALSE, &GUID_NULL, u"Input", 1, &kAnyType},
};

const AMOVIESETUP_FILTER kSetupData = {&CLSID_MergeOverlay, u"Merge Overlay", MERIT_DO_NOT_USE, 2,
                                       kPins};

// ---- Formats ----

struct SubtypeCode {
    const GUID* subtype;
    int code;
};

const SubtypeCode kPixelFormats[] = {
    {&MEDIASUBTYPE_RGB8, kPixelFormatRGB8},     {&MEDIASUBTYPE_RGB555, kPixelFormatRGB555},
    {&MEDIASUBTYPE_RGB565, kPixelFormatRGB565}, {&MEDIASUBTYPE_RGB24, kPixelFormatRGB24},
    {&MEDIASUBTYPE_RGB32, kPixelFormatRGB32},   {&MEDIASUBTYPE_UYVY, kPixelFormatUYVY},
};

int PixelFormatOf(const GUID& subtype) {
    for (const SubtypeCode& entry : kPixelFormats) {
        if (*entry.subtype == subtype) return entry.code;
    }
    return kPixelFormatNone;
}

constexpr double kDefaultFrameRate = 25.0;

// The title every new filter starts with.
constexpr WCHAR kDefaultTitle[] = u"Channel 1!";

}  // namespace

// ---- Construction ----

CUnknown* CFilterTitleOverlay::CreateInstance(IUnknown* outer, HRESULT* hr) {
    try {
        auto* filter = new (std::nothrow) CFilterTitleOverlay(outer, hr);
        if (filter == nullptr && hr != nullptr) *hr = E_OUTOFMEMORY;
        return filter;
    } catch (const std::bad_alloc&) {
        if (hr != nullptr) *hr = E_OUTOFMEMORY;
        return nullptr;
    }
}

const AMOVIESETUP_FILTER& CFilterTitleOverlay::SetupData() {
    return kSetupData;
}

CFilterTitleOverlay::CFilterTitleOverlay(IUnknown* outer, HRESULT* hr)
    : CTransInPlaceFilter(nullptr, outer, CLSID_MergeOverlay, hr, true),
      m_pController(new (std::nothrow) COverlayController()) {
    if (!m_pController) {
        if (hr != nullptr) *hr = E_OUTOFMEMORY;
        return;
    }
    m_bRatePending = 0;
    SetTitle(kDefaultTitle, static_cast<int>(sizeof kDefaultTitle));
}

CFilterTitleOverlay::~CFilterTitleOverlay() {
    // The controller goes before the framework's pins and locks.
    m_pController.reset();
}

HRESULT CFilterTitleOverlay::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_ISpecifyPropertyPages) {
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    }
    if (riid == IID_IMergeOverlay) return GetInterface(static_cast<IMergeOverlay*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

// ---- Format set-up ----

HRESULT CFilterTitleOverlay::CheckInputType(const CMediaType* type) {
    if (type == nullptr) return E_POINTER;
    if (*type->Type() == MEDIATYPE_Video && *type->Subtype() == MEDIASUBTYPE_UYVY) return S_OK;
    return E_INVALIDARG;
}

HRESULT CFilterTitleOverlay::CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) {
    const HRESULT hr = CTransInPlaceFilter::CompleteConnect(direction, receivePin);
    if (FAILED(hr) || direction == PINDIR_OUTPUT) return hr;
    return SetUpInputFormat();
}

HRESULT CFilterTitleOverlay::SetUpInputFormat() {
    if (!m_pController || !m_pInput || !m_pInput->IsConnected()) return E_FAIL;
    const CMediaType type = m_pInput->CurrentMediaType();
    // The block must really hold a VIDEOINFOHEADER before any field of it is read.
    if (*type.FormatType() != FORMAT_VideoInfo || type.Format() == nullptr ||
        type.FormatLength() < sizeof(VIDEOINFOHEADER)) {
        return E_FAIL;
    }
    VIDEOINFOHEADER vih{};
    std::copy_n(type.Format(), sizeof vih, reinterpret_cast<BYTE*>(&vih));
    m_pController->SetPixelFormat(PixelFormatOf(*type.Subtype()));
    m_bRatePending = vih.AvgTimePerFrame <= 0 ? 1 : 0;
    m_pController->SetVideoInfo(&vih);
    return S_OK;
}

HRESULT CFilterTitleOverlay::StartStreaming() {
    if (!m_pController) return E_FAIL;
    return m_pController->StartStreaming() != 0 ? S_OK : E_FAIL;
}

HRESULT CFilterTitleOverlay::StopStreaming() {
    if (m_pController) m_pController->StopStreaming();
    return S_OK;
}

// ---- Per sample ----

HRESULT CFilterTitleOverlay::Transform(IMediaSample* sample) {
    if (sample == nullptr || !m_pController) return S_OK;
    if (m_bRatePending != 0) {
        m_bRatePending = 0;
        TakeRateFromSample(sample);
    }
    if (m_nOverlayType != 0) {
        BYTE* data = nullptr;
        const LONG length = sample->GetActualDataLength();
        if (SUCCEEDED(sample->GetPointer(&data)) && data != nullptr && length > 0) {
            m_pController->DrawOverlay(data, static_cast<std::size_t>(length));
        }
    }
    return S_OK;
}

void CFilterTitleOverlay::TakeRateFromSample(IMediaSample* sample) {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    double rate = kDefaultFrameRate;
    // A sample without times, or whose stop is not after its start, says nothing of the rate.
    if (SUCCEEDED(sample->GetTime(&start, &stop)) && stop > start) {
        rate = static_cast<double>(UNITS) / static_cast<double>(stop - start);
    }
    m_pController->SetFrameRate(rate);
}

// ---- ISpecifyPropertyPages ----

HRESULT CFilterTitleOverlay::GetPages(CAUUID* pages) {
    if (pages == nullptr) return E_POINTER;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (pages->pElems == nullptr) return E_OUTOFMEMORY;
    pages->cElems = 1;
    pages->pElems[0] = CLSID_MergeOverlayPropertyPage;
    return S_OK;
}

// ---- IMergeOverlay ----

HRESULT CFilterTitleOverlay::SetOverlayType(int) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetOverlayTypeInModule(int type) {
    CAutoLock lock(&m_csOverlay);
    // As in SetTitle: the state cannot leave stopped while the type changes.
    CAutoLock filter(&m_csFilter);
    if (!IsStopped()) return E_UNEXPECTED;
    m_nOverlayType = type;
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetOverlayType(int* type) {
    if (type == nullptr) return E_POINTER;
    CAutoLock lock(&m_csOverlay);
    *type = m_nOverlayType;
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetMergeMode(int) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetMergeMode(int* byCover) {
    if (byCover == nullptr) return E_POINTER;
    CAutoLock lock(&m_csOverlay);
    if (!m_pController) return E_UNEXPECTED;
    m_pController->GetMergeMode(byCover);
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetTitle(const WCHAR* text, int byteCount) {
    CAutoLock lock(&m_csOverlay);
    // The filter lock keeps the state from leaving stopped until the new title is in place: a
    // concurrent Pause would otherwise start drawing the title while it is being replaced.
    CAutoLock filter(&m_csFilter);
    if (!IsStopped()) return E_UNEXPECTED;
    if (!m_pController) return E_UNEXPECTED;
    // A negative count leaves no room for a character, as a count below 2 does.
    try {
        m_pController->SetTitle(text, static_cast<unsigned>(std::max(byteCount, 0)));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetTitle(WCHAR* buffer, int* byteCount) {
    if (byteCount == nullptr) return E_POINTER;
    CAutoLock lock(&m_csOverlay);
    if (!m_pController) return E_UNEXPECTED;
    const int length = m_pController->GetTitle(nullptr);
    if (buffer != nullptr && *byteCount < length) {  // the buffer holds *byteCount + 2 bytes
        *byteCount = length;
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    }
    *byteCount = length;
    if (buffer != nullptr) m_pController->GetTitle(buffer);
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetTitleColor(BYTE, BYTE, BYTE) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetTitleColor(BYTE*, BYTE*, BYTE*) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetTitlePosition(int, int) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetTitlePosition(POINT* position) {
    if (position == nullptr) return E_POINTER;
    CAutoLock lock(&m_csOverlay);
    if (!m_pController) return E_UNEXPECTED;
    m_pController->GetTitlePosition(position);
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetTitleFont(LOGFONTW) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetTitleFont(LOGFONTW* font) {
    if (font == nullptr) return E_POINTER;
    CAutoLock lock(&m_csOverlay);
    if (!m_pController) return E_UNEXPECTED;
    m_pController->GetTitleFont(font);
    return S_OK;
}

HRESULT CFilterTitleOverlay::SetTitleDuration(double, double) {
    return S_OK;
}

HRESULT CFilterTitleOverlay::GetTitleDuration(double* start, double* end) {
    if (start == nullptr || end == nullptr) return E_POINTER;
    CAutoLock lock(&m_csOverlay);
    if (!m_pController) return E_UNEXPECTED;
    m_pController->GetTitleDuration(start, end);
    return S_OK;
}
