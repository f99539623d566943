// The lnav measurement chain: total-energy vario, netto and their averages,
// gated on the module clock (at most one update per 100 ms).
#pragma once

namespace lnav {

// One vario cycle when more than 100 ms have passed since the last one,
// whether the instrument is on or off: TE vario from tokens 0x41 and 0x3D,
// polar sink and netto, 65-sample averages, the audio tone, then the speed
// to fly and the required altitude.
void run_vario_cycle();

// The 30-second averages of the averaged netto and of the averaged TE vario,
// each into its 4-character digit text (knots with units 0 and 1).
void run_netto_30s_average();
void run_te_30s_average();

} // namespace lnav
