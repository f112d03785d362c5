#pragma once

#include "engine/Funzione.h"
#include "plot/Calcolo.h"
#include "plot/StatoCalcolo.h"
#include "ui/SuperficieQt.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class QAction;
class QComboBox;
class QLineEdit;
class QListView;

namespace zelvo {

class Etichetta;
class FormStudio;
class ModelloElenco;
class Pulsante;

// The main window: every input, command and result, and the plot surface.
// The calculation state is shared with whoever outlives this window (the
// title window), so it survives closing and reopening the main window; the
// controls start afresh with every window.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(std::shared_ptr<StatoCalcolo> stato = std::make_shared<StatoCalcolo>(),
                   QWidget *parent = nullptr);
    ~Form2() override;

    StatoCalcolo &stato() const { return *stato_; }
    const SuperficieQt &superficie() const { return superficie_; }
    // The decimal separator of the user's locale, for every number read or shown.
    char separatoreDecimale() const { return separatore_; }

    // The click handlers of the ten buttons.
    void Command1_Click(); // "Grafico": the graph
    void Command9_Click(); // a real root
    void Command10_Click(); // the maximum
    void Command11_Click(); // the minimum
    void Command8_Click(); // the definite integral
    void Command2_Click(); // List1
    void Command3_Click(); // List2
    void Command4_Click(); // List3
    void Command6_Click(); // List4
    void Command5_Click(); // ends the program at once

    // "Studio della funzione" (Ctrl+T, and the graph's context menu): the
    // study of f on [a, b] as the inputs on screen give them, in its own window.
    void studioFunzione();
    FormStudio *formStudio() const { return formStudio_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void creaControlli();
    void collegaComandi(const std::unordered_map<std::string_view, QWidget *> &creati);
    // The ways results leave the window: the graph's and the lists' context
    // menus and their shortcuts.
    void creaAzioni();
    void copiaGrafico();
    void salvaGrafico();
    void copiaRighe(std::size_t lista);
    void copiaTabella(std::size_t lista);
    void salvaTabella(std::size_t lista);
    void Form_Paint(QPaintEvent *event);

    // Runs one command with the busy cursor, then writes the status line: the
    // command's own message (what `corpo` returns) first, then calcolo's.
    // Whatever the command throws is reported there and the window goes on.
    void comando(const std::function<std::string()> &corpo);
    // The plot: reads the inputs as they stand, redraws, writes the step and
    // scale labels, keeps its status-line message for comando, and empties the
    // results when the function, a, b or the step changed since the last run.
    void calcolo();
    // The inputs as typed: what calcolo reads.
    TestiCalcolo testiDigitati() const;
    // What every analysis and list command does first: applies the inputs on
    // screen (a run of calcolo). False when they were refused: `risultato`
    // then says why in a word and the command computes nothing.
    bool applicaIngressi(Etichetta *risultato, bool usaPasso);
    void svuotaRisultati();
    // Shows list `indice` (0 to 3), hides the others, applies the inputs and
    // fills it; returns the command's own message.
    std::string mostraLista(std::size_t indice);
    void scrivi(Etichetta *etichetta, std::string_view testo);
    void scriviStato(const QString &testo);

    // What a run of calcolo applied: a change of any of these makes the
    // results shown stale. The scales are not here: they only move the picture.
    struct Applicati
    {
        std::string funzione;
        double a = 0, b = 0, passo = 0;
        bool accettati = false;
        friend bool operator==(const Applicati &, const Applicati &) = default;
    };

    std::shared_ptr<StatoCalcolo> stato_;
    char separatore_;
    Funzione funzione_;
    SuperficieQt superficie_;

    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr;
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr, *Combo3 = nullptr;
    Etichetta *Label7 = nullptr, *Label9 = nullptr, *Label23 = nullptr;
    Etichetta *Label13 = nullptr, *Label15 = nullptr, *Label16 = nullptr, *Label20 = nullptr,
              *Label21 = nullptr;
    Etichetta *LabelStato = nullptr;
    std::array<Pulsante *, 4> pulsantiLista {}; // Command2, Command3, Command4, Command6
    std::array<QListView *, 4> liste {}; // List1 to List4
    std::array<ModelloElenco *, 4> modelli {}; // the rows of List1 to List4
    QAction *azioneCopiaGrafico = nullptr, *azioneSalvaGrafico = nullptr;
    QAction *azioneStudio = nullptr;
    FormStudio *formStudio_ = nullptr; // made on the first study
    std::optional<Applicati> applicati_; // by the last run of calcolo
    // The height the window had before a long status line made it grow (0:
    // not grown), and the last height scriviStato left it at.
    int altezzaPrimaDelloStato_ = 0;
    int altezzaImpostata_ = 0;
    std::string statoCalcolo_; // the last run's status-line message
};

} // namespace zelvo
