// A PDF read back as a reader reads it: its text (as a search finds it) and
// its page size and count, with poppler's tools.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace zelvo {

inline QString eseguiPoppler(const char *programma, const QStringList &argomenti)
{
    QProcess processo;
    processo.start(QString::fromUtf8(programma), argomenti);
    EXPECT_TRUE(processo.waitForFinished(60000)) << programma;
    EXPECT_EQ(processo.exitCode(), 0)
            << programma << ": " << processo.readAllStandardError().toStdString();
    return QString::fromUtf8(processo.readAllStandardOutput());
}

// The text of every page, columns kept on their lines; pages end with "\f".
inline QString testoPdf(const QString &file)
{
    return eseguiPoppler(ZELVO_PDFTOTEXT, {QStringLiteral("-layout"), file, QStringLiteral("-")});
}

struct InfoPdf
{
    int pagine = 0;
    QString formato; // "595 x 842 pts (A4)"
};

inline InfoPdf infoPdf(const QString &file)
{
    const QString info = eseguiPoppler(ZELVO_PDFINFO, {file});
    const auto campo = [&info](const char *nome) {
        return QRegularExpression(QStringLiteral("^%1:\\s*(.*)$").arg(QString::fromUtf8(nome)),
                                  QRegularExpression::MultilineOption)
                .match(info)
                .captured(1)
                .trimmed();
    };
    return {campo("Pages").toInt(), campo("Page size")};
}

} // namespace zelvo
