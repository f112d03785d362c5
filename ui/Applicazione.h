#pragma once

class QApplication;

namespace zelvo {

// What every run of the program with Qt sets once on its application: the
// name the title and task bars show beside each window's caption ("Form1 —
// Zelvo"), the window icon (from the program itself, so it shows when the
// program is not installed too) and the toolkit's own texts in Italian
// (dialogs, context menus, error texts), like everything else.
void preparaApplicazione(QApplication &applicazione);

} // namespace zelvo
