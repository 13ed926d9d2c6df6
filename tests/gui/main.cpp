#include "widgets/DialogFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", "/tmp/ladoton-runtime");
    }
    QApplication application(argc, argv);
    if (qEnvironmentVariableIsSet("LADOTON_TEST_WITHOUT_FREE_FACES")) {
        // As on a system without them: the program tries each face once per run.
        ladoton::dialogFont(QStringLiteral("Tahoma"), 9);
        ladoton::dialogFont(QStringLiteral("MS Sans Serif"), 8);
        QFontDatabase::removeAllApplicationFonts();
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
