#pragma once

#include <string>
#include <string_view>

namespace zelvo {

// Names (variables, functions, keywords) are told apart as VBScript tells
// them: letters without regard to case, ASCII only, whatever the locale.

constexpr char minuscola(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when a and b are the same name.
constexpr bool stessoNome(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (minuscola(a[i]) != minuscola(b[i]))
            return false;
    return true;
}

// The one spelling of a name, for keys of a map.
inline std::string nomeMinuscolo(std::string_view nome)
{
    std::string s(nome);
    for (char &c : s)
        c = minuscola(c);
    return s;
}

} // namespace zelvo
