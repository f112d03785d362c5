#include "ui/LayoutForm2.h"

#include <array>
#include <string_view>

namespace zelvo {

namespace {

using F = Carattere::Famiglia;
using T = TipoControllo;

constexpr Carattere finestra = carattereFinestraForm2;
constexpr Carattere msss825 {F::MsSansSerif, 8.25, false};
constexpr Carattere msss825b {F::MsSansSerif, 8.25, true};
constexpr Carattere msss12b {F::MsSansSerif, 12, true};
constexpr Carattere msss135b {F::MsSansSerif, 13.5, true};
constexpr Carattere msss24b {F::MsSansSerif, 24, true};
constexpr Carattere verdana12b {F::Verdana, 12, true};
constexpr Carattere verdana18b {F::Verdana, 18, true};

constexpr Colore blu = 0xFF0000; // (0, 0, 255)
constexpr Colore verde = 0x00C000; // (0, 192, 0)
constexpr Colore verdeVivo = 0x00FF00; // (0, 255, 0)

// The description every value list gives assistive technologies.
constexpr const char *lista = "Valori di x e f(x), una riga per punto; il tasto menu o "
                              "Maiusc+F10 apre: Copia righe, Copia tabella, Salva tabella…";

// Name, kind, caption, left, top, width, height, font, tab, auto-size, text
// colour, face colour. Grouped as the window reads: title, function input,
// interval, scales, step, commands, results, lists. Later rows lie above
// earlier ones, so List4 is the topmost list. The inputs, the results and
// the lists go on with what assistive technologies say of them: the
// accessible name, the description, the caption beside an input, and
// whether a command's result is announced.
// clang-format off
constexpr Controllo controlli[] = {
    // Title (top right).
    {"Label3",    T::Etichetta,    "Morbiana",                                                                  8640,  240, 12615,  495, msss24b,     4, false, blu, {}},
    // Function input (bottom left).
    {"Label4",    T::Etichetta,    "Funzione Y = f(X) digitata il linguaggio QBasic",                            240, 9120,  6450,  360, msss135b,    6, true,  {},  {}},
    {"Label2",    T::Etichetta,    "Y =",                                                                        720, 9840,   705,  435, verdana18b,  5, true,  {},  {}},
    {"Text1",     T::CasellaTesto, "",                                                                          1440, 9840,  8055,  492, msss135b,    0, false, {},  {}, "Y =", "Funzione Y = f(X) digitata il linguaggio QBasic", "Label2"},
    // Interval a-b (top right, under the title).
    {"Label5",    T::Etichetta,    "Campo di variabilità della funzione a_____b",                          8760,  960,  6060,  360, msss135b,    7, true,  {},  {}},
    {"Label10",   T::Etichetta,    "con \"a\" e \"b\" , se decimali, nella forma con virgola e non con punto",  8760, 1440,  4785,  195, msss825,    16, true,  {},  {}},
    {"Label1",    T::Etichetta,    "a =",                                                                       8760, 1680,   495,  255, msss12b,    18, false, {},  {}},
    {"Text2",     T::CasellaTesto, "-10",                                                                       9240, 1680,   855,  390, verdana12b,  2, false, {},  {}, "a =", nullptr, "Label1"},
    {"Label11",   T::Etichetta,    "b =",                                                                      10920, 1680,   390,  300, msss12b,    19, true,  {},  {}},
    {"Text3",     T::CasellaTesto, "+10",                                                                      11520, 1680,   735,  375, verdana12b,  1, false, {},  {}, "b =", nullptr, "Label11"},
    // Scales (right, under the interval).
    {"Label8_0",  T::Etichetta,    "Scala selez/div.",                                                          8760, 2520,  1140,  195, msss825,    13, true,  {},  {}},
    {"Label7",    T::Etichetta,    "",                                                                         10080, 2430,   105,  360, msss135b,   12, true,  {},  {}, "Scala ascisse, unità per divisione =", nullptr, nullptr, false},
    {"Label8_1",  T::Etichetta,    "Scala selez /div.",                                                        11520, 2520,  1185,  195, msss825,    14, true,  {},  {}},
    {"Label9",    T::Etichetta,    "",                                                                         12960, 2370,   105,  480, msss135b,   15, true,  {},  {}, "Scala ordinate, unità per divisione =", nullptr, nullptr, false},
    {"Label6_0",  T::Etichetta,    "Moltiplicatore scale (ascisse)",                                            8880, 3000,  2010,  195, msss825,     9, true,  {},  {}},
    {"Combo1",    T::Combo,        "0.01  ;  0.1    :1   ; 10",                                                 8880, 3240,  2295,  315, msss825b,    8, false, {},  {}, "Moltiplicatore scale (ascisse)", "Unità per divisione sull'asse x", "Label6_0"},
    {"Label6_1",  T::Etichetta,    "Moltiplicatore scale (ordinate)",                                          11520, 3000,  2055,  195, msss825,    11, true,  {},  {}},
    {"Combo2",    T::Combo,        "0.01  ;  0.1   ;  1 ;   10   ;  100",                                      11520, 3240,  3255,  315, msss825b,   10, false, {},  {}, "Moltiplicatore scale (ordinate)", "Unità per divisione sull'asse y", "Label6_1"},
    // Calculation step (bottom right).
    {"Label25",   T::Etichetta,    "Passo di calcolo",                                                         12600, 8520,  1755,  240, finestra,   45, true,  {},  {}},
    {"Combo3",    T::Combo,        "   0.1;    0. 01;     0.001;    0.0001",                                   11640, 9000,  3495,  360, finestra,   42, false, {},  {}, "Passo di calcolo", "Distanza tra due punti calcolati", "Label25"},
    {"Label24",   T::Etichetta,    "St =",                                                                     12840, 9480,   405,  240, finestra,   44, true,  {},  {}},
    {"Label23",   T::Etichetta,    "",                                                                         13680, 9480,    75,  240, finestra,   43, true,  {},  {}, "St =", "Passo di calcolo", nullptr, false},
    // Command buttons.
    {"Command1",  T::Pulsante,     "Grafico",                                                                   7080, 8934,  2055,  492, verdana18b,  3, false, {},  {}},
    {"Command10", T::Pulsante,     "Calcolo del Max",                                                           8880, 3960,  1455,  975, finestra,   31, false, {},  {}},
    {"Command11", T::Pulsante,     "Calcolo del min",                                                          11100, 3960,  1455,  975, finestra,   36, false, {},  {}},
    {"Command9",  T::Pulsante,     "Calcolo radici reali f(x) = 0",                                            13320, 3960,  1455,  975, finestra,   39, false, {},  {}},
    {"Command8",  T::Pulsante,     "Calcolo  integrale def.  su Y = f( x)    nell'intervallo:  a - b",          8880, 6600,  2415, 1095, finestra,   28, false, {},  {}},
    {"Command5",  T::Pulsante,     "Uscita dall'eseguibile",                                                    9360, 8934,  2055,  492, msss825b,   46, false, {},  {}},
    // Results (right, under the command buttons).
    {"Label17",   T::Etichetta,    "X =",                                                                       9720, 5040,   450,  240, finestra,   34, true,  {},  {}},
    {"Label13",   T::Etichetta,    "---------",                                                                10200, 5040,   690,  240, finestra,   32, true,  {},  {}, "X =", "Ascissa del massimo o del minimo trovato", nullptr, true},
    {"Label18",   T::Etichetta,    "yMax =",                                                                    8880, 5400,   735,  240, finestra,   35, true,  {},  {}},
    {"Label16",   T::Etichetta,    "----------",                                                                9840, 5400,   765,  240, finestra,   33, true,  {},  {}, "yMax =", "Valore massimo di f in a–b", nullptr, true},
    {"Label19",   T::Etichetta,    "Ymin. =",                                                                   8880, 5880,   765,  240, finestra,   37, true,  {},  {}},
    {"Label20",   T::Etichetta,    "----------",                                                                9840, 5880,   765,  240, finestra,   38, true,  {},  {}, "Ymin. =", "Valore minimo di f in a–b", nullptr, true},
    {"Label22",   T::Etichetta,    "radice =",                                                                 12840, 5040,   855,  240, finestra,   41, true,  {},  {}},
    {"Label21",   T::Etichetta,    "-----------",                                                              12840, 5280,   840,  240, finestra,   40, true,  {},  {}, "radice =", "Radice reale di f(x) = 0 in a–b", nullptr, true},
    {"Label14",   T::Etichetta,    "I = ",                                                                      9840, 7920,   405,  300, msss12b,    29, true,  {},  {}},
    {"Label15",   T::Etichetta,    "_______",                                                                  10440, 7920,   855,  240, finestra,   30, true,  {},  {}, "I =", "Integrale definito di f da a a b", nullptr, true},
    // Value lists: the list boxes at the left under the plot frame, all in
    // one place, the selector buttons at the right.
    {"Label12",   T::Etichetta,    "Selettore della lista",                                                    12480, 6240,  2040,  240, finestra,   25, true,  {},  {}},
    {"Command2",  T::Pulsante,     "Lista1",                                                                   12240, 6600,   975,  495, finestra,   17, false, {},  verde},
    {"Command3",  T::Pulsante,     "Lista2",                                                                   12240, 7290,   975,  495, finestra,   21, false, {},  verde},
    {"Command4",  T::Pulsante,     "Lista3",                                                                   13800, 6600,   975,  495, finestra,   23, false, {},  verdeVivo},
    {"Command6",  T::Pulsante,     "Lista4",                                                                   13800, 7320,   975,  495, finestra,   24, false, {},  verde},
    {"List1",     T::Lista,        "",                                                                           120, 5280,  6495, 2940, msss135b,   20, false, {},  {}, "Lista1", lista},
    {"List2",     T::Lista,        "",                                                                           120, 5280,  6480, 2940, msss135b,   22, false, {},  {}, "Lista2", lista},
    {"List3",     T::Lista,        "",                                                                           120, 5280,  6480, 2940, msss135b,   26, false, {},  {}, "Lista3", lista},
    {"List4",     T::Lista,        "",                                                                           120, 5280,  6480, 2940, msss135b,   27, false, {},  {}, "Lista4", lista},
};
// clang-format on

// The combo boxes' items are not sorted; each list starts with the empty item.

} // namespace

std::span<const Controllo> layoutForm2()
{
    return controlli;
}

std::optional<Impostazione> impostazioneDi(std::string_view nome)
{
    if (nome == "Combo1")
        return Impostazione::ScalaX;
    if (nome == "Combo2")
        return Impostazione::ScalaY;
    if (nome == "Combo3")
        return Impostazione::Passo;
    return {};
}

std::span<const VoceCombo> vociCombo(std::string_view nome)
{
    const std::optional<Impostazione> impostazione = impostazioneDi(nome);
    return impostazione ? vociDi(*impostazione) : std::span<const VoceCombo>();
}

} // namespace zelvo
