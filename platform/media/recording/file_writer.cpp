#include "platform/media/recording/file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/libav_error.h"

CUnknown* CFileWriter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* writer = new (std::nothrow) CFileWriter(outer);
    if (!writer && hr) *hr = E_OUTOFMEMORY;
    return writer;
}

CFileWriter::CFileWriter(IUnknown* outer)
    : CBaseFilter("File Writer", outer, &m_lock, CLSID_FileWriter),
      m_pin(std::make_unique<CFileWriterInputPin>(this, &m_lock)) {}

CFileWriter::~CFileWriter() {
    std::lock_guard file(m_fileMutex);
    CloseLocked();
}

HRESULT CFileWriter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
    if (riid == IID_IFileWriterStatus)
        return GetInterface(static_cast<IFileWriterStatus*>(this), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CFileWriter::GetPin(int n) {
    return n == 0 ? m_pin.get() : nullptr;
}

HRESULT CFileWriter::Pause() {
    CAutoLock lock(&m_lock);
    if (IsStopped()) {
        if (!m_haveName) return E_FAIL;
        std::lock_guard file(m_fileMutex);
        const HRESULT hr = OpenLocked();
        if (FAILED(hr)) return hr;
    }
    return CBaseFilter::Pause();
}

HRESULT CFileWriter::Stop() {
    CAutoLock lock(&m_lock);
    const HRESULT hr = CBaseFilter::Stop();
    std::lock_guard file(m_fileMutex);
    if (m_fd >= 0) CommitLocked();
    return hr;
}

HRESULT CFileWriter::SetFileName(LPCWSTR name, const AM_MEDIA_TYPE* type) {
    if (!name) return E_POINTER;
    CAutoLock lock(&m_lock);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    m_name = name;
    m_haveName = true;
    m_type = type ? CMediaType(*type) : CMediaType();
    return S_OK;
}

HRESULT CFileWriter::GetCurFile(LPWSTR* name, AM_MEDIA_TYPE* type) {
    if (!name) return E_POINTER;
    *name = nullptr;
    CAutoLock lock(&m_lock);
    if (!m_haveName) return E_FAIL;
    const std::size_t bytes = (m_name.size() + 1) * sizeof(char16_t);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, m_name.c_str(), bytes);
    if (type) {
        if (m_type.IsValid()) {
            const HRESULT hr = CopyMediaType(type, &m_type);
            if (FAILED(hr)) {
                CoTaskMemFree(copy);
                return hr;
            }
        } else {
            *type = AM_MEDIA_TYPE{};
        }
    }
    *name = copy;
    return S_OK;
}

HRESULT CFileWriter::GetError(HRESULT* error) {
    if (!error) return E_POINTER;
    std::lock_guard file(m_fileMutex);
    *error = m_error;
    return S_OK;
}

HRESULT CFileWriter::GetCommittedBytes(LONGLONG* bytes) {
    if (!bytes) return E_POINTER;
    std::lock_guard file(m_fileMutex);
    *bytes = m_committed;
    return S_OK;
}

HRESULT CFileWriter::WaitCommitted(LONGLONG bytes, DWORD milliseconds) {
    std::unique_lock file(m_fileMutex);
    const bool done =
        m_committedChanged.wait_for(file, std::chrono::milliseconds(milliseconds),
                                    [&] { return m_committed >= bytes || FAILED(m_error); });
    if (FAILED(m_error)) return m_error;
    return done ? S_OK : VFW_E_TIMEOUT;
}

HRESULT CFileWriter::WriteAt(LONGLONG offset, const BYTE* data, LONG size) {
    if (offset < 0 || size < 0 || (!data && size > 0)) return E_INVALIDARG;
    std::lock_guard file(m_fileMutex);
    if (FAILED(m_error)) return m_error;
    if (m_fd < 0) return E_UNEXPECTED;
    if (lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0)
        return FailLocked(HresultFromErrno(errno));
    LONG done = 0;
    while (done < size) {
        const ssize_t n = write(m_fd, data + done, static_cast<std::size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return FailLocked(HresultFromErrno(errno));
        }
        if (n == 0) return FailLocked(HresultFromErrno(ENOSPC));
        done += static_cast<LONG>(n);
    }
    if (offset + size > m_end) m_end = offset + size;
    return S_OK;
}

HRESULT CFileWriter::Commit() {
    std::lock_guard file(m_fileMutex);
    if (FAILED(m_error)) return m_error;
    if (m_fd < 0) return E_UNEXPECTED;
    return CommitLocked();
}

HRESULT CFileWriter::Close() {
    std::lock_guard file(m_fileMutex);
    if (m_fd < 0) return FAILED(m_error) ? m_error : S_FALSE;
    CloseLocked();
    return m_error;
}

HRESULT CFileWriter::OpenLocked() {
    CloseLocked();
    m_error = S_OK;
    m_end = 0;
    m_committed = 0;
    const std::string path = utf16::ToUtf8(m_name);
    m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0) return FailLocked(HresultFromErrno(errno));
    return S_OK;
}

HRESULT CFileWriter::CommitLocked() {
    if (FAILED(m_error)) return m_error;
    // Devices that cannot sync (EINVAL, EROFS on special files) have nothing to make durable.
    if (fdatasync(m_fd) < 0 && errno != EINVAL && errno != EROFS)
        return FailLocked(HresultFromErrno(errno));
    m_committed = m_end;
    m_committedChanged.notify_all();
    return S_OK;
}

void CFileWriter::CloseLocked() {
    if (m_fd < 0) return;
    CommitLocked();
    if (close(m_fd) < 0 && SUCCEEDED(m_error)) FailLocked(HresultFromErrno(errno));
    m_fd = -1;
}

HRESULT CFileWriter::FailLocked(HRESULT error) {
    if (SUCCEEDED(m_error)) m_error = error;
    m_committedChanged.notify_all();
    return m_error;
}
