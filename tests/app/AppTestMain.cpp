// GUI tests run on the offscreen platform, with the settings file in a
// temporary folder rather than the user's own.

#include "tests/support/TempDir.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kel::test::TempDir configHome;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome.Path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
