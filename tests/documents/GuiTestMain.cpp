// A GoogleTest main that runs the tests inside a QGuiApplication on the offscreen platform. The
// RTF reader, writer and tag model need no widgets; the tests linked with this main link none,
// so the build fails should they ever come to need them.

#include <gtest/gtest.h>
#include <QGuiApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
