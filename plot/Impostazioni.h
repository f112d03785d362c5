#pragma once

#include <string_view>

namespace zelvo {

// The widest interval a run accepts: |a| and |b| at most 10.1. The frame shows
// -10..10 at the default scale, so the bound leaves a small margin around it
// and keeps a sweep at step 0.0001 to about 202,000 samples. Exactly 10.1
// passes (the double nearest to it).
inline constexpr double limiteIntervallo = 10.1;

// The calculation step chosen by the text of Combo3: "st0.1", "st0.01",
// "st0.001" or "st0.0001", compared exactly (case-sensitive, untrimmed);
// any other text gives the default 0.001.
double passoDaTesto(std::string_view Combo3);

// x units in 10 divisions chosen by the text of Combo1 ("0.01/div." ...
// "10/div."); any other text gives the default 10.
double scalaXDaTesto(std::string_view Combo1);

// y units in 10 divisions chosen by the text of Combo2 ("0.01/div." ...
// "100/div."); any other text gives the default 10.
double scalaYDaTesto(std::string_view Combo2);

} // namespace zelvo
