// BSTR and VARIANT as far as property bags need them: length-prefixed UTF-16 strings and a tagged
// value with the published layout (type tag, three reserved words, then the value).
#pragma once

#include "platform/base/win_types.h"

// UTF-16 text preceded by its byte count (32-bit) and followed by a NUL; the pointer is to the
// first character. Allocated by SysAllocString*, freed by SysFreeString.
using BSTR = WCHAR*;

using VARTYPE = WORD;
inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_UI4 = 19;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        ULONG ulVal;
        BSTR bstrVal;
        void* byref;
        LONGLONG llVal;
        BYTE bytes[16];
    };
};
static_assert(sizeof(VARIANT) == 24);

// Null when out of memory or `text` is null.
BSTR SysAllocString(LPCWSTR text);
BSTR SysAllocStringLen(LPCWSTR text, UINT length);
void SysFreeString(BSTR text);
// Characters, from the prefix (0 for null).
UINT SysStringLen(BSTR text);

void VariantInit(VARIANT* value);
// Frees a BSTR held by the variant and sets it to VT_EMPTY.
HRESULT VariantClear(VARIANT* value);
