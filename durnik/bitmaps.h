// Bitmap resource ids of durnik's gauges (resources/durnik.res draws them).
// An icon names its first image; the others follow at consecutive ids.
#pragma once

#include <cstdint>

namespace durnik {

// vsi; the dial is also asi's case
inline constexpr int32_t kBitmapVsiDial = 0x1800;
inline constexpr int32_t kBitmapVsiSecondNeedle = 0x1900;
inline constexpr int32_t kBitmapVsiMainNeedle = 0x1A00;
inline constexpr int32_t kBitmapVsiSwitch = 0x1B00;     // 3 positions
inline constexpr int32_t kBitmapVsiScaleLabel = 0x1C00; // 4 multipliers
inline constexpr int32_t kBitmapVsiUnitLabel = 0x1D00;  // knots, m/s
// alt
inline constexpr int32_t kBitmapAltDial = 0x1000;
inline constexpr int32_t kBitmapAltUnitLabel = 0x1100; // feet, metres
inline constexpr int32_t kBitmapAltPressureScale = 0x1200;
inline constexpr int32_t kBitmapAltShortPointer = 0x1300;
inline constexpr int32_t kBitmapAltLongPointer = 0x1400;
inline constexpr int32_t kBitmapAltMiddlePointer = 0x1500;
// asi
inline constexpr int32_t kBitmapAsiFace = 0x1600; // km/h, knots
inline constexpr int32_t kBitmapAsiNeedle = 0x1700;
// cmp
inline constexpr int32_t kBitmapCompassHousing = 0x1F00;
inline constexpr int32_t kBitmapCompassCard = 0x2000;
// sti
inline constexpr int32_t kBitmapStiFace = 0x2100;
inline constexpr int32_t kBitmapStiBall = 0x2200;
inline constexpr int32_t kBitmapStiTurnNeedle = 0x2300;
// ai
inline constexpr int32_t kBitmapAiCase = 0x2400;
inline constexpr int32_t kBitmapAiCard = 0x2500;
inline constexpr int32_t kBitmapAiBezel = 0x2600;
// gr, spl
inline constexpr int32_t kBitmapGrPlate = 0x2700;
inline constexpr int32_t kBitmapGrLever = 0x2800;
inline constexpr int32_t kBitmapSplSlot = 0x2900;
inline constexpr int32_t kBitmapSplLever = 0x2A00;
// com
inline constexpr int32_t kBitmapComFace = 0x2B00;
inline constexpr int32_t kBitmapComSmallKnob = 0x2B03;
inline constexpr int32_t kBitmapComCoarseKnob = 0x2B06;
// bsw, bdp
inline constexpr int32_t kBitmapBswPlate = 0x2C00;
inline constexpr int32_t kBitmapBswValve = 0x2C03; // closed, open
inline constexpr int32_t kBitmapBdpPanel = 0x2C07;

} // namespace durnik
