#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvo {

// The widest interval a run accepts: |a| and |b| at most 10.1. The frame shows
// -10..10 at the default scale, so the bound leaves a small margin around it
// and keeps a sweep at step 0.0001 to about 202,000 samples. Exactly 10.1
// passes (the double nearest to it).
inline constexpr double limiteIntervallo = 10.1;

// One item of a settings combo: its text and the value it selects, if any.
struct VoceCombo
{
    const char *testo;
    std::optional<double> valore;
};

// The items offered for the three settings, top to bottom as the window
// lists them, each list starting with an empty item that selects nothing. A scale
// is 10 times the units a division that its item names. The texts are
// compared exactly (case-sensitive, untrimmed); a text that selects nothing
// leaves the default: the step 0.001, scales of 10 (1 unit a division).
inline constexpr VoceCombo vociScalaX[]
        = {{"", {}}, {"10/div.", 100}, {"1/div.", 10}, {"0.1/div.", 1}, {"0.01/div.", 0.1}};
// The ordinate also offers "100/div.". Its item for one unit a division is
// misspelt "1/diiv." as the window has always shown it, and so selects
// nothing; the default it leaves is that very scale.
inline constexpr VoceCombo vociScalaY[] = {{"", {}},        {"100/div.", 1000}, {"10/div.", 100},
                                           {"1/diiv.", {}}, {"0.1/div.", 1},    {"0.01/div.", 0.1}};
inline constexpr VoceCombo vociPasso[]
        = {{"", {}}, {"st0.1", 0.1}, {"st0.01", 0.01}, {"st0.001", 0.001}, {"st0.0001", 0.0001}};

// The three settings a run reads as the text of one of their items.
enum class Impostazione { Passo, ScalaX, ScalaY };

// The items of a setting: vociPasso, vociScalaX or vociScalaY.
std::span<const VoceCombo> vociDi(Impostazione impostazione);

// The calculation step chosen by the text of an item (default 0.001).
double passoDaTesto(std::string_view passo);

// x units in 10 divisions chosen by the text of an item (default 10).
double scalaXDaTesto(std::string_view scalaX);

// y units in 10 divisions chosen by the text of an item (default 10).
double scalaYDaTesto(std::string_view scalaY);

// What the status line says of a setting's text that is none of its items:
// the text, the default used instead and the items offered; empty for an
// item, an empty text or the caption the window shows in its place (the
// default, silently).
std::string voceNonRiconosciuta(Impostazione impostazione, std::string_view testo,
                                std::string_view didascalia);

} // namespace zelvo
