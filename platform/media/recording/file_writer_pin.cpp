#include "platform/media/recording/file_writer_pin.h"

#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/file_writer.h"

CFileWriterInputPin::CFileWriterInputPin(CFileWriter* writer, CCritSec* lock)
    : CBaseInputPin("File Writer Input", writer, lock, nullptr, u"in"), m_writer(writer) {}

HRESULT CFileWriterInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IFileWriterStream)
        return GetInterface(static_cast<IFileWriterStream*>(this), ppv);
    return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CFileWriterInputPin::CheckMediaType(const CMediaType* type) {
    return type->majortype == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CFileWriterInputPin::Receive(IMediaSample*) {
    return E_NOTIMPL;
}

HRESULT CFileWriterInputPin::WriteAt(LONGLONG offset, const BYTE* data, LONG size) {
    return m_writer->WriteAt(offset, data, size);
}

HRESULT CFileWriterInputPin::Commit() {
    return m_writer->Commit();
}

HRESULT CFileWriterInputPin::Close() {
    return m_writer->Close();
}
