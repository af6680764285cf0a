#include "platform/media/base/base_pin.h"

#include <vector>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/base/enum_media_types.h"
#include "platform/media/interfaces/media_errors.h"

namespace {

// Failures that say no more than "this type did not work".
bool IsGenericRefusal(HRESULT hr) {
    return hr == E_FAIL || hr == E_INVALIDARG || hr == S_FALSE || hr == VFW_E_TYPE_NOT_ACCEPTED;
}

}  // namespace

CBasePin::CBasePin(const char* /*objectName*/, CBaseFilter* filter, CCritSec* lock, HRESULT* /*hr*/,
                   LPCWSTR name, PIN_DIRECTION direction)
    : CUnknown(nullptr),
      m_pFilter(filter),
      m_pLock(lock),
      m_name(name ? name : u""),
      m_dir(direction) {}

CBasePin::~CBasePin() = default;

HRESULT CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IPin) return GetInterface(static_cast<IPin*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

ULONG CBasePin::NonDelegatingAddRef() {
    return m_pFilter->AddRef();
}

ULONG CBasePin::NonDelegatingRelease() {
    return m_pFilter->Release();
}

HRESULT CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin) return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected) return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    if (!type) return AgreeMediaType(receivePin, nullptr);
    const CMediaType wanted(*type);
    return AgreeMediaType(receivePin, &wanted);
}

HRESULT CBasePin::AgreeMediaType(IPin* receivePin, const CMediaType* type) {
    if (type && !type->IsPartiallySpecified()) return AttemptConnection(receivePin, type);

    HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
    ComPtr<IEnumMediaTypes> theirs;
    if (SUCCEEDED(receivePin->EnumMediaTypes(theirs.ReleaseAndGetAddressOf())) && theirs) {
        const HRESULT hr = TryMediaTypes(receivePin, type, theirs.Get());
        if (SUCCEEDED(hr)) return hr;
        if (!IsGenericRefusal(hr) && hr != VFW_E_NO_ACCEPTABLE_TYPES) failure = hr;
    }
    ComPtr<IEnumMediaTypes> ours;
    if (SUCCEEDED(EnumMediaTypes(ours.ReleaseAndGetAddressOf())) && ours) {
        const HRESULT hr = TryMediaTypes(receivePin, type, ours.Get());
        if (SUCCEEDED(hr)) return hr;
        if (!IsGenericRefusal(hr) && hr != VFW_E_NO_ACCEPTABLE_TYPES) failure = hr;
    }
    if (failure == VFW_E_NO_ACCEPTABLE_TYPES) {
        // Perhaps no type could even be offered: say why when the peer is unsuitable.
        const HRESULT hr = CheckConnect(receivePin);
        BreakConnect();
        if (FAILED(hr)) return hr;
    }
    return failure;
}

HRESULT CBasePin::TryMediaTypes(IPin* receivePin, const CMediaType* partial,
                                IEnumMediaTypes* types) {
    HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
    for (;;) {
        AM_MEDIA_TYPE* next = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &next, &fetched) != S_OK || fetched != 1) break;
        const CMediaType candidate(*next);
        DeleteMediaType(next);
        if (partial && !candidate.MatchesPartial(partial)) continue;
        const HRESULT hr = AttemptConnection(receivePin, &candidate);
        if (SUCCEEDED(hr)) return hr;
        if (!IsGenericRefusal(hr)) failure = hr;
    }
    return failure;
}

HRESULT CBasePin::AttemptConnection(IPin* receivePin, const CMediaType* type) {
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(type);
    if (hr != S_OK) {
        BreakConnect();
        return SUCCEEDED(hr) ? VFW_E_TYPE_NOT_ACCEPTED : hr;
    }
    m_Connected = ComPtr<IPin>::Retain(receivePin);
    hr = SetMediaType(type);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(this, type);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr)) return S_OK;
            receivePin->Disconnect();
        }
    }
    m_Connected = nullptr;
    BreakConnect();
    return hr;
}

HRESULT CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type) return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected) return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    const CMediaType offered(*type);
    hr = CheckMediaType(&offered);
    if (hr != S_OK) {
        BreakConnect();
        return (SUCCEEDED(hr) || IsGenericRefusal(hr)) ? VFW_E_TYPE_NOT_ACCEPTED : hr;
    }
    m_Connected = ComPtr<IPin>::Retain(connector);
    hr = SetMediaType(&offered);
    if (SUCCEEDED(hr)) {
        hr = CompleteConnect(connector);
        if (SUCCEEDED(hr)) return S_OK;
    }
    m_Connected = nullptr;
    BreakConnect();
    return hr;
}

HRESULT CBasePin::Disconnect() {
    CAutoLock lock(m_pLock);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    return DisconnectInternal();
}

HRESULT CBasePin::DisconnectInternal() {
    if (!m_Connected) return S_FALSE;
    const HRESULT hr = BreakConnect();
    if (FAILED(hr)) return hr;
    m_Connected = nullptr;
    std::lock_guard info(m_csStreamInfo);
    m_mt = CMediaType();
    return S_OK;
}

HRESULT CBasePin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    CAutoLock lock(m_pLock);
    *pin = m_Connected.Get();
    if (!*pin) return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

HRESULT CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    CAutoLock lock(m_pLock);
    if (!m_Connected) {
        CMediaType empty;
        CopyMediaType(type, &empty);
        return VFW_E_NOT_CONNECTED;
    }
    std::lock_guard info(m_csStreamInfo);
    return CopyMediaType(type, &m_mt);
}

HRESULT CBasePin::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = m_pFilter;
    m_pFilter->AddRef();
    info->dir = m_dir;
    utf16::CopyTerminated(info->achName, MAX_PIN_NAME, m_name.c_str());
    return S_OK;
}

HRESULT CBasePin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = m_dir;
    return S_OK;
}

HRESULT CBasePin::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    const std::size_t bytes = (m_name.size() + 1) * sizeof(WCHAR);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::copy(m_name.begin(), m_name.end(), *id);
    (*id)[m_name.size()] = 0;
    return S_OK;
}

HRESULT CBasePin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    const CMediaType offered(*type);
    const HRESULT hr = CheckMediaType(&offered);
    return hr == S_OK ? S_OK : S_FALSE;
}

HRESULT CBasePin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    *types = nullptr;
    std::vector<CMediaType> list;
    {
        CAutoLock lock(m_pLock);
        for (int i = 0;; ++i) {
            CMediaType type;
            if (GetMediaType(i, &type) != S_OK) break;
            list.push_back(std::move(type));
        }
    }
    return CEnumMediaTypes::Create(std::move(list), types);
}

HRESULT CBasePin::QueryInternalConnections(IPin** /*pins*/, ULONG* /*count*/) {
    return E_NOTIMPL;
}

HRESULT CBasePin::EndOfStream() {
    return S_OK;
}
HRESULT CBasePin::BeginFlush() {
    return S_OK;
}
HRESULT CBasePin::EndFlush() {
    return S_OK;
}

HRESULT CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    std::lock_guard info(m_csStreamInfo);
    m_tStart = start;
    m_tStop = stop;
    m_dRate = rate;
    return S_OK;
}

HRESULT CBasePin::GetMediaType(int position, CMediaType* /*type*/) {
    return position < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
}

HRESULT CBasePin::SetMediaType(const CMediaType* type) {
    std::lock_guard info(m_csStreamInfo);
    return m_mt.Set(*type);
}

CMediaType CBasePin::CurrentMediaType() const {
    std::lock_guard info(m_csStreamInfo);
    return m_mt;
}

REFERENCE_TIME CBasePin::CurrentStartTime() const {
    std::lock_guard info(m_csStreamInfo);
    return m_tStart;
}

REFERENCE_TIME CBasePin::CurrentStopTime() const {
    std::lock_guard info(m_csStreamInfo);
    return m_tStop;
}

double CBasePin::CurrentRate() const {
    std::lock_guard info(m_csStreamInfo);
    return m_dRate;
}

HRESULT CBasePin::CheckConnect(IPin* pin) {
    PIN_DIRECTION theirs = PINDIR_INPUT;
    const HRESULT hr = pin->QueryDirection(&theirs);
    if (FAILED(hr)) return hr;
    return theirs == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() {
    return S_OK;
}
HRESULT CBasePin::CompleteConnect(IPin* /*receivePin*/) {
    return S_OK;
}
HRESULT CBasePin::Active() {
    return S_OK;
}
HRESULT CBasePin::Inactive() {
    return S_OK;
}
HRESULT CBasePin::Run(REFERENCE_TIME /*start*/) {
    return S_OK;
}
