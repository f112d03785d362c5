#pragma once

#include "analysis/Scuola.h"
#include "analysis/Studio.h"
#include "plot/Calcolo.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableView;

namespace zelvo {

struct FoglioStudio;
class ModelloSchema;
class ModelloStudio;

// "Studio della funzione": the whole study of f on [a, b] in a window of its
// own beside the main one, whose layout it leaves as it is. It shows the
// features as a table (which copies and saves like the value lists), the
// sign, growth and concavity chart, the study's notes, and a button that
// marks the points on the main window's graph. Both tables are models that
// turn a row into text only when it is shown, so a study of hundreds of
// thousands of rows opens at once.
class FormStudio : public QWidget
{
    Q_OBJECT

public:
    // `segna` marks a study's points on the graph the main window shows.
    FormStudio(std::function<void(const Studio &, const Scuola &)> segna, char separatoreDecimale,
               QWidget *parent = nullptr);

    // Shows the study of `funzione` (the text typed) on [a, b], with the
    // course's features that `scuola` adds to it.
    void mostra(Studio studio, Scuola scuola, const std::string &funzione, double a, double b);

    // The graph now shows another function, interval or step: the study no
    // longer describes it, so its points are not marked on it.
    void superato();

    // The inputs the study's graph was drawn from: the sheet draws it again
    // from them, with the study marked, whatever the main window shows by then.
    void impostaGrafico(TestiCalcolo testi);

    // The study sheet: "Esporta lo studio (PDF)…" writes it, "Stampa…" prints it.
    FoglioStudio foglio() const;

private:
    void copiaRighe();
    void copiaTabella();
    void salvaTabella();
    void esportaPdf();
    void stampa();

    std::function<void(const Studio &, const Scuola &)> segna_;
    char separatore_;
    Studio studio_;
    Scuola scuola_;
    std::string funzione_;
    double a_ = 0, b_ = 0;
    std::optional<TestiCalcolo> testiGrafico_;
    QLabel *LabelFunzione = nullptr;
    QTableView *TabellaStudio = nullptr;
    QTableView *SchemaStudio = nullptr;
    QLabel *LabelNote = nullptr;
    QPushButton *PulsanteSegna = nullptr;
    QPushButton *PulsantePdf = nullptr;
    QPushButton *PulsanteStampa = nullptr;
    ModelloStudio *modelloStudio_ = nullptr;
    ModelloSchema *modelloSchema_ = nullptr;
};

} // namespace zelvo
