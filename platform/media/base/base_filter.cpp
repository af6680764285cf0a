#include "platform/media/base/base_filter.h"

#include <vector>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/base/base_pin.h"
#include "platform/media/base/filter_setup.h"
#include "platform/media/base/snapshot_enum.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/ifilter_graph.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"

CBaseFilter::CBaseFilter(const char* /*objectName*/, IUnknown* outer, CCritSec* lock,
                         REFCLSID clsid)
    : CUnknown(outer), m_pLock(lock), m_clsid(clsid) {}

CBaseFilter::CBaseFilter(const char* objectName, IUnknown* outer, CCritSec* lock, REFCLSID clsid,
                         HRESULT* /*hr*/)
    : CBaseFilter(objectName, outer, lock, clsid) {}

CBaseFilter::~CBaseFilter() = default;

HRESULT CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IBaseFilter) return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    if (riid == IID_IMediaFilter) return GetInterface(static_cast<IMediaFilter*>(this), ppv);
    if (riid == IID_IPersist) return GetInterface(static_cast<IPersist*>(this), ppv);
    if (riid == IID_IAMovieSetup) return GetInterface(static_cast<IAMovieSetup*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBaseFilter::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT CBaseFilter::DeactivatePins(int count) {
    HRESULT result = S_OK;
    for (int i = 0; i < count; ++i) {
        CBasePin* pin = GetPin(i);
        if (!pin || !pin->IsConnected()) continue;
        const HRESULT hr = pin->Inactive();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

HRESULT CBaseFilter::Stop() {
    CAutoLock lock(m_pLock);
    HRESULT hr = S_OK;
    if (m_State != State_Stopped) hr = DeactivatePins(GetPinCount());
    m_State = State_Stopped;
    return hr;
}

HRESULT CBaseFilter::Pause() {
    CAutoLock lock(m_pLock);
    if (m_State == State_Stopped) {
        const int count = GetPinCount();
        for (int i = 0; i < count; ++i) {
            CBasePin* pin = GetPin(i);
            if (!pin || !pin->IsConnected()) continue;
            const HRESULT hr = pin->Active();
            if (FAILED(hr)) {
                DeactivatePins(i);
                return hr;
            }
        }
    }
    m_State = State_Paused;
    return S_OK;
}

HRESULT CBaseFilter::Run(REFERENCE_TIME start) {
    CAutoLock lock(m_pLock);
    m_tStart = start;
    if (m_State == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    if (m_State != State_Running) {
        const int count = GetPinCount();
        for (int i = 0; i < count; ++i) {
            CBasePin* pin = GetPin(i);
            if (!pin || !pin->IsConnected()) continue;
            const HRESULT hr = pin->Run(start);
            if (FAILED(hr)) return hr;
        }
    }
    m_State = State_Running;
    return S_OK;
}

HRESULT CBaseFilter::GetState(DWORD /*milliseconds*/, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    *state = m_State.load();
    return S_OK;
}

HRESULT CBaseFilter::SetSyncSource(IReferenceClock* clock) {
    CAutoLock lock(m_pLock);
    m_pClock = ComPtr<IReferenceClock>::Retain(clock);
    return S_OK;
}

HRESULT CBaseFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    CAutoLock lock(m_pLock);
    return m_pClock.CopyTo(clock);
}

HRESULT CBaseFilter::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    *pins = nullptr;
    std::vector<ComPtr<IPin>> list;
    {
        CAutoLock lock(m_pLock);
        const int count = GetPinCount();
        for (int i = 0; i < count; ++i)
            if (CBasePin* pin = GetPin(i)) list.push_back(ComPtr<IPin>::Retain(pin));
    }
    return CSnapshotEnum<IEnumPins, IPin>::Create(std::move(list), pins);
}

HRESULT CBaseFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    *pin = nullptr;
    CAutoLock lock(m_pLock);
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
        CBasePin* candidate = GetPin(i);
        if (candidate && candidate->Name() == std::u16string_view(id)) {
            *pin = candidate;
            candidate->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT CBaseFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    CAutoLock lock(m_pLock);
    utf16::CopyTerminated(info->achName, MAX_FILTER_NAME, m_name.c_str());
    info->pGraph = m_pGraph;
    if (m_pGraph) m_pGraph->AddRef();
    return S_OK;
}

HRESULT CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    CAutoLock lock(m_pLock);
    m_pGraph = graph;
    m_name = (graph && name) ? std::u16string(name) : std::u16string();
    if (m_name.size() >= static_cast<std::size_t>(MAX_FILTER_NAME))
        m_name.resize(MAX_FILTER_NAME - 1);
    return S_OK;
}

HRESULT CBaseFilter::QueryVendorInfo(LPWSTR* /*vendorInfo*/) {
    return E_NOTIMPL;
}

namespace {

HRESULT SetUp(const AMOVIESETUP_FILTER* setup, BOOL reg) {
    if (!setup) return S_FALSE;
    ComPtr<IFilterMapper2> mapper;
    const HRESULT hr =
        CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, &mapper);
    if (FAILED(hr)) return hr;
    return AMovieSetupRegisterFilter2(setup, mapper.Get(), reg);
}

}  // namespace

HRESULT CBaseFilter::Register() {
    return SetUp(GetSetupData(), TRUE);
}

HRESULT CBaseFilter::Unregister() {
    return SetUp(GetSetupData(), FALSE);
}
