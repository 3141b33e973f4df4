// Test main for window tests: the offscreen platform, one QApplication, and
// the C locale whatever the desktop speaks, so the module shows its source
// texts (tests of another language set the default locale themselves).
#include <cstdlib>

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
