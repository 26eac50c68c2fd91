// Small helpers for the engine's fixed-point angle arithmetic. Angles grow
// without bound and are used modulo 2048, so every addition wraps in
// unsigned arithmetic instead of overflowing a signed integer.
#pragma once

#include "starfield/StarEngine.h"

inline int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t SineOf(int32_t angle)
{
    return g_sinTable[static_cast<uint32_t>(angle) & (kSineEntries - 1)];
}

inline int32_t CosineOf(int32_t angle)
{
    return g_sinTable[(static_cast<uint32_t>(angle) + kSineEntries / 4) & (kSineEntries - 1)];
}

// (a * ka + b * kb) >> 16 with 32-bit two's-complement products and sum and
// an arithmetic shift of the sum.
inline int32_t RotateFixed(int32_t a, int32_t ka, int32_t b, int32_t kb)
{
    return WrapAdd(WrapMul(a, ka), WrapMul(b, kb)) >> 16;
}
