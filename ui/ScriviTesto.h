#pragma once

#include <QString>

#include <string>

namespace zelvo {

// Writes `testo` to `file` whole or not at all (a failure leaves what was
// there). Returns why it could not, in the toolkit's words; empty when written.
QString scriviTesto(const QString &file, const std::string &testo);

} // namespace zelvo
