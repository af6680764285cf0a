// LOGFONTW, the description of a font that text rendering is asked for, with the Windows layout
// (92 bytes) and the constants of its fields.
#pragma once

#include "platform/base/win_types.h"

inline constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
    LONG lfHeight;  // > 0: cell height in pixels; < 0: character (em) height; 0: default size
    LONG lfWidth;   // average character width in pixels; 0: the font's own proportions
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;  // 0 default, 400 normal, 700 bold
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];  // NUL-terminated
};

static_assert(sizeof(LOGFONTW) == 92, "LOGFONTW must keep the published 92-byte layout");

// lfWeight
inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_SEMIBOLD = 600;
inline constexpr LONG FW_BOLD = 700;

// lfCharSet
inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE SHIFTJIS_CHARSET = 128;
inline constexpr BYTE HANGUL_CHARSET = 129;
inline constexpr BYTE GB2312_CHARSET = 134;
inline constexpr BYTE CHINESEBIG5_CHARSET = 136;

// lfQuality
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE DRAFT_QUALITY = 1;
inline constexpr BYTE PROOF_QUALITY = 2;
inline constexpr BYTE NONANTIALIASED_QUALITY = 3;
inline constexpr BYTE ANTIALIASED_QUALITY = 4;
inline constexpr BYTE CLEARTYPE_QUALITY = 5;

// lfPitchAndFamily: pitch in the low two bits, family in the high nibble.
inline constexpr BYTE DEFAULT_PITCH = 0x00;
inline constexpr BYTE FIXED_PITCH = 0x01;
inline constexpr BYTE VARIABLE_PITCH = 0x02;
inline constexpr BYTE FF_DONTCARE = 0x00;
inline constexpr BYTE FF_ROMAN = 0x10;
inline constexpr BYTE FF_SWISS = 0x20;
inline constexpr BYTE FF_MODERN = 0x30;
inline constexpr BYTE FF_SCRIPT = 0x40;
inline constexpr BYTE FF_DECORATIVE = 0x50;
