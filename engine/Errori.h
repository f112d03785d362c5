#pragma once

#include <string_view>

namespace zelvo {

// The engine's error numbers are VBScript's; the messages are those of the
// Italian edition of the language, so every text the user reads is Italian.
// Unknown numbers give a generic text.
std::string_view messaggioErrore(int numero) noexcept;

} // namespace zelvo
