// CBaseFilter: the state machine, pin enumeration and graph membership of a filter.
//
// Locks: the filter lock (`m_pLock`, a CCritSec the derived class owns) serialises state changes,
// connections and graph membership; they all come from the application thread. Streaming
// threads never take it: they read the state through IsStopped()/IsActive(), which are safe on
// any thread. Filters that receive samples add a receive lock of their own (see
// CTransformFilter), taken on the streaming thread around each sample and by Stop after the
// pins are inactive, so that Stop returns only when no sample is being processed.
//
// Pins are owned by the filter (usually as std::unique_ptr members) and live as long as it; a
// reference to a pin counts on the filter.
#pragma once

#include <atomic>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/object_base.h"
#include "platform/media/base/crit_sec.h"
#include "platform/media/interfaces/iamovie_setup.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/ifilter_mapper2.h"

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter, public IAMovieSetup {
  public:
    // `objectName` is for diagnostics and may be null. `lock` is the filter lock; it must
    // outlive this base (derived classes keep it as a member declared before their pins).
    CBaseFilter(const char* objectName, IUnknown* outer, CCritSec* lock, REFCLSID clsid);
    CBaseFilter(const char* objectName, IUnknown* outer, CCritSec* lock, REFCLSID clsid,
                HRESULT* hr);

    DECLARE_IUNKNOWN
    // Answers IBaseFilter, IMediaFilter, IPersist and IAMovieSetup.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    HRESULT GetClassID(CLSID* clsid) override;

    // IMediaFilter. Stop deactivates the connected pins (Inactive) and Pause from stopped
    // activates them (Active); when one fails to activate, the pins activated before it are
    // deactivated again and the filter stays stopped. Run from stopped pauses first, then calls
    // Run on each connected pin.
    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT GetState(DWORD milliseconds, FILTER_STATE* state) override;
    HRESULT SetSyncSource(IReferenceClock* clock) override;
    HRESULT GetSyncSource(IReferenceClock** clock) override;

    // IBaseFilter
    HRESULT EnumPins(IEnumPins** pins) override;
    HRESULT FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT QueryVendorInfo(LPWSTR* vendorInfo) override;

    // IAMovieSetup, from GetSetupData.
    HRESULT Register() override;
    HRESULT Unregister() override;

    // Required: the number of pins and pin n (0-based; null outside). Called under the filter
    // lock on the application thread.
    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;

    // Optional: the record IFilterMapper2 registers for this filter's class. Default: none.
    virtual const AMOVIESETUP_FILTER* GetSetupData() { return nullptr; }

    // Any thread.
    bool IsStopped() const { return m_State.load() == State_Stopped; }
    bool IsActive() const { return m_State.load() != State_Stopped; }
    FILTER_STATE CurrentState() const { return m_State.load(); }

    // The graph this filter is in, or null; not counted (valid while the filter is in it).
    IFilterGraph* GetFilterGraph() const { return m_pGraph; }
    // The name given by the graph.
    const std::u16string& GetFilterName() const { return m_name; }
    CCritSec* FilterLock() const { return m_pLock; }

  protected:
    ~CBaseFilter() override;

    // Deactivates pins 0..count-1 that are connected; the first failure is returned.
    HRESULT DeactivatePins(int count);

    CCritSec* const m_pLock;  // the filter lock (owned by the derived class)
    const CLSID m_clsid;
    // Written under the filter lock; read on any thread.
    std::atomic<FILTER_STATE> m_State{State_Stopped};
    // Guarded by the filter lock.
    REFERENCE_TIME m_tStart = 0;
    ComPtr<IReferenceClock> m_pClock;
    IFilterGraph* m_pGraph = nullptr;  // not counted: the graph holds the filter
    std::u16string m_name;
};
