// A user's answer to a file dialog, for the tests that save a file.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QString>
#include <QTimer>

namespace zelvo {

// Answers the next file dialog as a user would: reads the name it proposes,
// types `file` and saves. Returns the proposed name once the dialog is gone.
class RispostaAlDialogo
{
public:
    explicit RispostaAlDialogo(QString file)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, file] {
            auto *dialogo = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialogo)
                return;
            timer_.stop();
            proposta_ = dialogo->selectedFiles().value(0);
            dialogo->selectFile(file);
            static_cast<QDialog *>(dialogo)->accept(); // what the Save button does
        });
        timer_.start();
    }
    QString proposta() const { return proposta_; }

private:
    QTimer timer_;
    QString proposta_;
};

} // namespace zelvo
