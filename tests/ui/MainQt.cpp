// The widget tests need one QApplication for the whole run, prepared as the
// program prepares its own. They run offscreen unless told otherwise, so they
// need no display.
#include "ui/Applicazione.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zelvo::preparaApplicazione(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
