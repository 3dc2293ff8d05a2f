#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// One application object per test process; windows render offscreen under CTest.
int main(int argc, char** argv) {
    QLocale::setDefault(QLocale::c());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
