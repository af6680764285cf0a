// CMediaType: an AM_MEDIA_TYPE that owns its format block, with value semantics.
#pragma once

#include "platform/media/interfaces/media_type.h"

class CMediaType : public AM_MEDIA_TYPE {
  public:
    // An empty type: null GUIDs, fixed-size samples of size 1, no format block.
    CMediaType();
    explicit CMediaType(const GUID& majorType);
    // Deep copy; a copy that runs out of memory has no format block (IsValid still looks at the
    // major type only, so callers that need the block test Format()).
    CMediaType(const AM_MEDIA_TYPE& other);  // NOLINT: copying from the plain structure is intended
    CMediaType(const CMediaType& other);
    CMediaType(CMediaType&& other) noexcept;
    ~CMediaType();

    CMediaType& operator=(const AM_MEDIA_TYPE& other);
    CMediaType& operator=(const CMediaType& other);
    CMediaType& operator=(CMediaType&& other) noexcept;

    // Replaces this type with a deep copy; E_OUTOFMEMORY leaves it empty.
    HRESULT Set(const AM_MEDIA_TYPE& other);

    // Same major type, subtype, format type and format bytes.
    bool operator==(const CMediaType& other) const;

    bool IsValid() const { return majortype != GUID_NULL; }
    const GUID* Type() const { return &majortype; }
    void SetType(const GUID* type) { majortype = *type; }
    const GUID* Subtype() const { return &subtype; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    const GUID* FormatType() const { return &formattype; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    bool IsFixedSize() const { return bFixedSizeSamples != FALSE; }
    void SetSampleSize(ULONG size);
    void SetVariableSize() { bFixedSizeSamples = FALSE; }
    void SetTemporalCompression(bool compressed) { bTemporalCompression = compressed; }
    ULONG GetSampleSize() const { return IsFixedSize() ? lSampleSize : 0; }

    BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
    // A zeroed format block of `length` bytes (the old one is freed); null when out of memory.
    BYTE* AllocFormatBuffer(ULONG length);
    // Grows or shrinks the block keeping its leading bytes; null when out of memory.
    BYTE* ReallocFormatBuffer(ULONG length);
    // Copies `length` bytes into a new block; false when out of memory.
    bool SetFormat(const BYTE* format, ULONG length);
    void ResetFormatBuffer();

    // True when a major type, subtype or format type is still GUID_NULL.
    bool IsPartiallySpecified() const;
    // True when every part that `partial` specifies (non-null GUIDs, a format block when it has
    // a format type) equals ours.
    bool MatchesPartial(const CMediaType* partial) const;
};
