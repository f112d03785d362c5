#pragma once

#include "plot/Impostazioni.h"
#include "ui/Layout.h"

#include <optional>
#include <span>

namespace zelvo {

// The main window's layout: every control with its place in twips, caption,
// font, colours, focus order and, for the combo boxes, their items.
std::span<const Controllo> layoutForm2();

// The setting a combo box of the main window chooses; none for any other control.
std::optional<Impostazione> impostazioneDi(std::string_view nome);

// The items of a combo box of the main window, top to bottom (the first is
// empty); none for any other control.
std::span<const VoceCombo> vociCombo(std::string_view nome);

// The font of controls that name none.
inline constexpr Carattere carattereFinestraForm2 {Carattere::Famiglia::MsSansSerif, 9.75, true};

// The status line under every control: why a command stopped or what it
// could not evaluate. It is no control of the original layout.
inline constexpr Controllo rigaStato {
        "LabelStato", TipoControllo::Etichetta, "", 240,   10440, 14895,
        300,          carattereFinestraForm2,   -1, false, {},    {}};

} // namespace zelvo
