#include "platform/media/graph/filter_graph.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <new>
#include <set>

#include "platform/com/runtime.h"
#include "platform/media/base/audio_format.h"
#include "platform/media/base/snapshot_enum.h"
#include "platform/media/interfaces/ienum_filters.h"
#include "platform/media/interfaces/ienum_media_types.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"

namespace {

ComPtr<IUnknown> IdentityOf(IUnknown* object) {
    ComPtr<IUnknown> identity;
    if (object) object->QueryInterface(IID_IUnknown, identity.ReleaseAndGetVoidAddressOf());
    return identity;
}

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter) {
    std::vector<ComPtr<IPin>> pins;
    ComPtr<IEnumPins> it;
    if (FAILED(filter->EnumPins(it.ReleaseAndGetAddressOf())) || !it) return pins;
    for (;;) {
        ComPtr<IPin> pin;
        if (it->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) != S_OK) break;
        pins.push_back(std::move(pin));
    }
    return pins;
}

ComPtr<IBaseFilter> OwnerOf(IPin* pin) {
    PIN_INFO info{};
    ComPtr<IBaseFilter> owner;
    if (SUCCEEDED(pin->QueryPinInfo(&info))) owner.Attach(info.pFilter);
    return owner;
}

PIN_DIRECTION DirectionOf(IPin* pin) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    pin->QueryDirection(&direction);
    return direction;
}

// A first audio type the pin offers, or none.
bool OffersAudio(IPin* pin) {
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(types.ReleaseAndGetAddressOf())) || !types) return false;
    bool audio = false;
    for (;;) {
        AM_MEDIA_TYPE* type = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &type, &fetched) != S_OK || fetched != 1) break;
        audio = type->majortype == MEDIATYPE_Audio;
        DeleteMediaType(type);
        if (audio) break;
    }
    return audio;
}

REFERENCE_TIME Now() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 100;
}

}  // namespace

CUnknown* CFilterGraph::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* graph = new (std::nothrow) CFilterGraph(outer);
    if (!graph && hr) *hr = E_OUTOFMEMORY;
    return graph;
}

CFilterGraph::CFilterGraph(IUnknown* outer) : CUnknown(outer) {}

CFilterGraph::~CFilterGraph() {
    CAutoLock lock(&lock_);
    SetAllFilters(State_Stopped, DownstreamFirst());
    for (Entry& entry : filters_) DisconnectAll(entry.filter.Get());
    for (Entry& entry : filters_) entry.filter->JoinFilterGraph(nullptr, nullptr);
    filters_.clear();
}

HRESULT CFilterGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IFilterGraph || riid == IID_IGraphBuilder)
        return GetInterface(static_cast<IGraphBuilder*>(this), ppv);
    if (riid == IID_IMediaControl || riid == IID_IDispatch)
        return GetInterface(static_cast<IMediaControl*>(this), ppv);
    if (riid == IID_IBasicAudio) return GetInterface(static_cast<IBasicAudio*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

// ---- IFilterGraph ----

std::vector<CFilterGraph::Entry>::iterator CFilterGraph::Find(IUnknown* object) {
    const ComPtr<IUnknown> identity = IdentityOf(object);
    return std::find_if(filters_.begin(), filters_.end(),
                        [&](const Entry& e) { return e.identity == identity; });
}

bool CFilterGraph::Contains(IBaseFilter* filter) {
    return Find(filter) != filters_.end();
}

HRESULT CFilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    if (!filter) return E_POINTER;
    CAutoLock lock(&lock_);
    if (Contains(filter)) return E_INVALIDARG;
    std::u16string wanted = name ? std::u16string(name) : std::u16string(u"Filter");
    if (wanted.size() >= static_cast<std::size_t>(MAX_FILTER_NAME))
        wanted.resize(MAX_FILTER_NAME - 6);
    auto taken = [&](const std::u16string& candidate) {
        return std::any_of(filters_.begin(), filters_.end(),
                           [&](const Entry& e) { return e.name == candidate; });
    };
    std::u16string chosen = wanted;
    HRESULT result = S_OK;
    if (!name || taken(chosen)) {
        for (;;) {
            char digits[8];
            std::snprintf(digits, sizeof(digits), " %04u", ++generatedNames_ % 10000);
            chosen = wanted + std::u16string(digits, digits + 5);
            if (!taken(chosen)) break;
        }
        if (name) result = VFW_S_DUPLICATE_NAME;
    }
    const HRESULT hr = filter->JoinFilterGraph(static_cast<IGraphBuilder*>(this), chosen.c_str());
    if (FAILED(hr)) return hr;
    filters_.push_back({ComPtr<IBaseFilter>::Retain(filter), IdentityOf(filter), chosen});
    return result;
}

HRESULT CFilterGraph::DisconnectAll(IBaseFilter* filter) {
    HRESULT result = S_OK;
    for (const ComPtr<IPin>& pin : PinsOf(filter)) {
        ComPtr<IPin> peer;
        if (pin->ConnectedTo(peer.ReleaseAndGetAddressOf()) != S_OK) continue;
        HRESULT hr = peer->Disconnect();
        if (SUCCEEDED(hr)) hr = pin->Disconnect();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* filter) {
    if (!filter) return E_POINTER;
    CAutoLock lock(&lock_);
    auto it = Find(filter);
    if (it == filters_.end()) return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped) {
        for (const ComPtr<IPin>& pin : PinsOf(filter)) {
            ComPtr<IPin> peer;
            if (pin->ConnectedTo(peer.ReleaseAndGetAddressOf()) == S_OK) return VFW_E_NOT_STOPPED;
        }
    }
    FILTER_STATE state = State_Stopped;
    if (SUCCEEDED(filter->GetState(0, &state)) && state != State_Stopped) filter->Stop();
    const HRESULT hr = DisconnectAll(filter);
    if (FAILED(hr)) return hr;
    ComPtr<IBaseFilter> keep = it->filter;  // the filter may go with the entry
    filters_.erase(it);
    keep->JoinFilterGraph(nullptr, nullptr);
    return S_OK;
}

HRESULT CFilterGraph::EnumFilters(IEnumFilters** filters) {
    if (!filters) return E_POINTER;
    CAutoLock lock(&lock_);
    std::vector<ComPtr<IBaseFilter>> list;
    for (const Entry& entry : filters_) list.push_back(entry.filter);
    return CSnapshotEnum<IEnumFilters, IBaseFilter>::Create(std::move(list), filters);
}

HRESULT CFilterGraph::FindFilterByName(LPCWSTR name, IBaseFilter** filter) {
    if (!name || !filter) return E_POINTER;
    *filter = nullptr;
    CAutoLock lock(&lock_);
    for (const Entry& entry : filters_)
        if (entry.name == name) return entry.filter.CopyTo(filter);
    return VFW_E_NOT_FOUND;
}

HRESULT CFilterGraph::CheckPinInGraph(IPin* pin, PIN_DIRECTION wanted) {
    const ComPtr<IBaseFilter> owner = OwnerOf(pin);
    if (!owner || !Contains(owner.Get())) return VFW_E_NOT_IN_GRAPH;
    return DirectionOf(pin) == wanted ? S_OK : VFW_E_INVALID_DIRECTION;
}

HRESULT CFilterGraph::ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) {
    if (!output || !input) return E_POINTER;
    CAutoLock lock(&lock_);
    HRESULT hr = CheckPinInGraph(output, PINDIR_OUTPUT);
    if (SUCCEEDED(hr)) hr = CheckPinInGraph(input, PINDIR_INPUT);
    if (FAILED(hr)) return hr;
    return output->Connect(input, type);
}

HRESULT CFilterGraph::Reconnect(IPin*) {
    return E_NOTIMPL;
}

HRESULT CFilterGraph::Disconnect(IPin* pin) {
    if (!pin) return E_POINTER;
    CAutoLock lock(&lock_);
    return pin->Disconnect();
}

HRESULT CFilterGraph::SetDefaultSyncSource() {
    return S_OK;
}

// ---- IGraphBuilder ----

HRESULT CFilterGraph::Connect(IPin* output, IPin* input) {
    return ConnectDirect(output, input, nullptr);
}

HRESULT CFilterGraph::Render(IPin* output) {
    if (!output) return E_POINTER;
    CAutoLock lock(&lock_);
    HRESULT hr = CheckPinInGraph(output, PINDIR_OUTPUT);
    if (FAILED(hr)) return hr;
    ComPtr<IPin> peer;
    if (output->ConnectedTo(peer.ReleaseAndGetAddressOf()) == S_OK) return VFW_E_ALREADY_CONNECTED;
    if (!OffersAudio(output)) return VFW_E_CANNOT_RENDER;

    ComPtr<IBaseFilter> renderer;
    hr = CoCreateInstance(CLSID_DSoundRender, nullptr, CLSCTX_INPROC_SERVER, &renderer);
    if (FAILED(hr)) return hr;
    hr = AddFilter(renderer.Get(), u"Audio Renderer");
    if (FAILED(hr)) return hr;
    ComPtr<IPin> input;
    for (const ComPtr<IPin>& pin : PinsOf(renderer.Get()))
        if (DirectionOf(pin.Get()) == PINDIR_INPUT) {
            input = pin;
            break;
        }
    hr = input ? output->Connect(input.Get(), nullptr) : E_FAIL;
    if (FAILED(hr)) {
        RemoveFilter(renderer.Get());
        return VFW_E_CANNOT_RENDER;
    }
    AM_MEDIA_TYPE agreed{};
    if (FAILED(output->ConnectionMediaType(&agreed))) return VFW_S_PARTIAL_RENDER;
    const bool plays = media::IsPlayablePcm(agreed);
    FreeMediaType(agreed);
    return plays ? S_OK : VFW_S_PARTIAL_RENDER;
}

HRESULT CFilterGraph::RenderFile(LPCWSTR, LPCWSTR) {
    return E_NOTIMPL;
}
HRESULT CFilterGraph::AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter** filter) {
    if (filter) *filter = nullptr;
    return E_NOTIMPL;
}
HRESULT CFilterGraph::SetLogFile(DWORD_PTR) {
    return S_OK;
}
HRESULT CFilterGraph::Abort() {
    return S_OK;
}
HRESULT CFilterGraph::ShouldOperationContinue() {
    return S_OK;
}

// ---- IMediaControl ----

std::vector<IBaseFilter*> CFilterGraph::DownstreamFirst() {
    std::vector<IBaseFilter*> order;
    std::set<IUnknown*> visited;
    std::function<void(const Entry&)> visit = [&](const Entry& entry) {
        if (!visited.insert(entry.identity.Get()).second) return;
        for (const ComPtr<IPin>& pin : PinsOf(entry.filter.Get())) {
            if (DirectionOf(pin.Get()) != PINDIR_OUTPUT) continue;
            ComPtr<IPin> peer;
            if (pin->ConnectedTo(peer.ReleaseAndGetAddressOf()) != S_OK) continue;
            const ComPtr<IBaseFilter> next = OwnerOf(peer.Get());
            auto it = next ? Find(next.Get()) : filters_.end();
            if (it != filters_.end()) visit(*it);
        }
        order.push_back(entry.filter.Get());
    };
    for (const Entry& entry : filters_) visit(entry);
    return order;
}

HRESULT CFilterGraph::SetAllFilters(FILTER_STATE target, const std::vector<IBaseFilter*>& order) {
    HRESULT result = S_OK;
    for (IBaseFilter* filter : order) {
        HRESULT hr = S_OK;
        switch (target) {
            case State_Stopped:
                hr = filter->Stop();
                break;
            case State_Paused:
                hr = filter->Pause();
                break;
            case State_Running:
                hr = filter->Run(start_);
                break;
        }
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
            if (target != State_Stopped) return result;  // stopping goes on regardless
        }
    }
    return result;
}

HRESULT CFilterGraph::ChangeState(FILTER_STATE target) {
    if (state_ == target) return S_OK;
    const FILTER_STATE previous = state_;
    const std::vector<IBaseFilter*> order = DownstreamFirst();
    if (target == State_Stopped) {
        state_ = State_Stopped;
        return SetAllFilters(State_Stopped, order);
    }
    HRESULT hr = S_OK;
    if (target == State_Running && previous == State_Stopped)
        hr = SetAllFilters(State_Paused, order);
    if (SUCCEEDED(hr)) {
        if (target == State_Running) start_ = Now();
        hr = SetAllFilters(target, order);
    }
    if (FAILED(hr)) {
        SetAllFilters(previous, order);
        return hr;
    }
    state_ = target;
    return S_OK;
}

HRESULT CFilterGraph::Run() {
    CAutoLock lock(&lock_);
    return ChangeState(State_Running);
}

HRESULT CFilterGraph::Pause() {
    CAutoLock lock(&lock_);
    return ChangeState(State_Paused);
}

HRESULT CFilterGraph::Stop() {
    CAutoLock lock(&lock_);
    return ChangeState(State_Stopped);
}

HRESULT CFilterGraph::GetState(LONG milliseconds, OAFilterState* state) {
    if (!state) return E_POINTER;
    CAutoLock lock(&lock_);
    *state = state_;
    HRESULT result = S_OK;
    for (const Entry& entry : filters_) {
        FILTER_STATE filterState = State_Stopped;
        const HRESULT hr = entry.filter->GetState(static_cast<DWORD>(milliseconds), &filterState);
        if (FAILED(hr)) return hr;
        if (hr == VFW_S_STATE_INTERMEDIATE) return hr;
        if (hr != S_OK) result = hr;
    }
    return result;
}

HRESULT CFilterGraph::RenderFile(BSTR) {
    return E_NOTIMPL;
}
HRESULT CFilterGraph::AddSourceFilter(BSTR, IDispatch** filter) {
    if (filter) *filter = nullptr;
    return E_NOTIMPL;
}
HRESULT CFilterGraph::get_FilterCollection(IDispatch**) {
    return E_NOTIMPL;
}
HRESULT CFilterGraph::get_RegFilterCollection(IDispatch**) {
    return E_NOTIMPL;
}

HRESULT CFilterGraph::StopWhenReady() {
    CAutoLock lock(&lock_);
    const HRESULT hr = ChangeState(State_Paused);
    if (FAILED(hr)) return hr;
    return ChangeState(State_Stopped);
}

// ---- IBasicAudio ----

ComPtr<IBasicAudio> CFilterGraph::AudioFilter() {
    for (const Entry& entry : filters_) {
        ComPtr<IBasicAudio> audio;
        if (SUCCEEDED(entry.filter.As(&audio))) return audio;
    }
    return nullptr;
}

HRESULT CFilterGraph::put_Volume(LONG volume) {
    CAutoLock lock(&lock_);
    const ComPtr<IBasicAudio> audio = AudioFilter();
    return audio ? audio->put_Volume(volume) : E_NOTIMPL;
}

HRESULT CFilterGraph::get_Volume(LONG* volume) {
    if (!volume) return E_POINTER;
    CAutoLock lock(&lock_);
    const ComPtr<IBasicAudio> audio = AudioFilter();
    return audio ? audio->get_Volume(volume) : E_NOTIMPL;
}

HRESULT CFilterGraph::put_Balance(LONG balance) {
    CAutoLock lock(&lock_);
    const ComPtr<IBasicAudio> audio = AudioFilter();
    return audio ? audio->put_Balance(balance) : E_NOTIMPL;
}

HRESULT CFilterGraph::get_Balance(LONG* balance) {
    if (!balance) return E_POINTER;
    CAutoLock lock(&lock_);
    const ComPtr<IBasicAudio> audio = AudioFilter();
    return audio ? audio->get_Balance(balance) : E_NOTIMPL;
}
