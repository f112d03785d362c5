#include "ui/Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zelvo::Form1 titolo;
    titolo.show();
    return QApplication::exec();
}
