#include "platform/media/base/source.h"

#include <utility>

CSource::CSource(const char* objectName, IUnknown* outer, REFCLSID clsid, HRESULT* hr)
    : CBaseFilter(objectName, outer, &m_cStateLock, clsid, hr) {}

CSource::~CSource() {
    // A filter released without being stopped: stop the threads while the pins still exist.
    for (auto& stream : m_paStreams)
        if (stream->HasThread()) stream->Inactive();
}

int CSource::GetPinCount() {
    CAutoLock lock(&m_cStateLock);
    return static_cast<int>(m_paStreams.size());
}

CBasePin* CSource::GetPin(int n) {
    CAutoLock lock(&m_cStateLock);
    if (n < 0 || n >= static_cast<int>(m_paStreams.size())) return nullptr;
    return m_paStreams[n].get();
}

HRESULT CSource::Pause() {
    CAutoLock lock(&m_cStateLock);
    if (m_State == State_Running)
        for (auto& stream : m_paStreams) stream->PausePushing();
    return CBaseFilter::Pause();
}

void CSource::AddPin(std::unique_ptr<CSourceStream> stream) {
    CAutoLock lock(&m_cStateLock);
    m_paStreams.push_back(std::move(stream));
}

CSourceStream* CSource::Stream(int n) const {
    if (n < 0 || n >= static_cast<int>(m_paStreams.size())) return nullptr;
    return m_paStreams[n].get();
}
