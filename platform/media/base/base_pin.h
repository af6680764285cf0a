// CBasePin: connection logic and media-type agreement shared by input and output pins.
//
// A pin belongs to a CBaseFilter and shares its filter lock; AddRef/Release on the pin count on
// the filter. Connections change only while the filter is stopped, under the filter lock; the
// agreed type and the segment may also change on a streaming thread (see m_csStreamInfo).
#pragma once

#include <mutex>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/object_base.h"
#include "platform/media/base/base_filter.h"
#include "platform/media/base/cmedia_type.h"
#include "platform/media/base/crit_sec.h"
#include "platform/media/interfaces/ipin.h"

class CBasePin : public CUnknown, public IPin {
  public:
    // `filter` owns the pin and outlives it; `lock` is the filter lock. `name` is the pin's
    // name and identifier. `hr` (may be null) is left untouched: construction cannot fail.
    CBasePin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* hr, LPCWSTR name,
             PIN_DIRECTION direction);
    // Public: the owning filter destroys its pins.
    ~CBasePin() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // References count on the owning filter.
    ULONG NonDelegatingAddRef() override;
    ULONG NonDelegatingRelease() override;

    // IPin
    HRESULT Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    HRESULT Disconnect() override;
    HRESULT ConnectedTo(IPin** pin) override;
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT QueryPinInfo(PIN_INFO* info) override;
    HRESULT QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT QueryId(LPWSTR* id) override;
    HRESULT QueryAccept(const AM_MEDIA_TYPE* type) override;
    HRESULT EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT QueryInternalConnections(IPin** pins, ULONG* count) override;
    // Defaults: S_OK (input pins and filters override what they need).
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    // Stores the segment (CurrentStartTime & co.) and returns S_OK.
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // Required: S_OK when this pin accepts `type`; anything else refuses it.
    virtual HRESULT CheckMediaType(const CMediaType* type) = 0;
    // Optional: the pin's preferred type number `position` (0-based). S_OK, VFW_S_NO_MORE_ITEMS
    // past the end, E_INVALIDARG below 0. Default: no preferred types.
    virtual HRESULT GetMediaType(int position, CMediaType* type);
    // Optional: records the agreed type. Called at connection (application thread, filter lock
    // held, stopped) and by CBaseInputPin::Receive for a type change a sample carries (streaming
    // thread, filter lock not held). Default: stores it as CurrentMediaType(). Overrides call
    // the default.
    virtual HRESULT SetMediaType(const CMediaType* type);
    // Optional: checks the peer before a connection. Default: VFW_E_INVALID_DIRECTION when the
    // peer has the same direction.
    virtual HRESULT CheckConnect(IPin* pin);
    // Optional: undoes CheckConnect/CompleteConnect when a connection fails or is broken.
    // Default: S_OK.
    virtual HRESULT BreakConnect();
    // Optional: last step of a connection, after the peer agreed; a failure undoes the
    // connection. Default: S_OK.
    virtual HRESULT CompleteConnect(IPin* receivePin);
    // Optional: called by the filter (under the filter lock, application thread) when it
    // leaves stopped (Active), returns to stopped (Inactive), or runs (Run). Defaults: S_OK.
    virtual HRESULT Active();
    virtual HRESULT Inactive();
    virtual HRESULT Run(REFERENCE_TIME start);

    // Connection state: changed only under the filter lock while stopped; safe to read on a
    // streaming thread of a running filter.
    bool IsConnected() const { return m_Connected != nullptr; }
    IPin* GetConnected() const { return m_Connected.Get(); }
    const std::u16string& Name() const { return m_name; }
    PIN_DIRECTION Direction() const { return m_dir; }
    bool IsStopped() const { return m_pFilter->IsStopped(); }
    CBaseFilter* Filter() const { return m_pFilter; }
    // Any thread: a copy of the agreed type (empty while unconnected). A sample that carries a
    // type change replaces it on the streaming thread, so no reference into the pin is handed
    // out.
    CMediaType CurrentMediaType() const;
    // Any thread: the segment NewSegment gave last (0, INT64_MAX and 1.0 before the first).
    REFERENCE_TIME CurrentStartTime() const;
    REFERENCE_TIME CurrentStopTime() const;
    double CurrentRate() const;

  protected:
    // Tries `type` (fully specified) or, for a partial or null type, the peer's types and then
    // ours that match it. The filter lock is held.
    HRESULT AgreeMediaType(IPin* receivePin, const CMediaType* type);
    HRESULT AttemptConnection(IPin* receivePin, const CMediaType* type);
    // Attempts each type of `types` that matches `partial` (null: any); S_OK at the first that
    // connects, else the most telling failure.
    HRESULT TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types);
    // Clears the connection after BreakConnect; S_FALSE when there was none.
    HRESULT DisconnectInternal();

    CBaseFilter* const m_pFilter;  // owner
    CCritSec* const m_pLock;       // the filter lock
    const std::u16string m_name;
    const PIN_DIRECTION m_dir;
    // Guarded by the filter lock; changed only while stopped.
    ComPtr<IPin> m_Connected;
    // Guarded by m_csStreamInfo, a leaf lock (held only to copy these fields; nothing is called
    // under it). The type is set at connection and cleared at disconnection (application
    // thread, filter lock held, stopped) and replaced by a type change that a sample carries
    // (streaming thread, while active). The segment is written by NewSegment on the streaming
    // thread. Both are read on any thread through the accessors above.
    mutable std::mutex m_csStreamInfo;
    CMediaType m_mt;
    REFERENCE_TIME m_tStart = 0;
    REFERENCE_TIME m_tStop = INT64_MAX;
    double m_dRate = 1.0;
};
