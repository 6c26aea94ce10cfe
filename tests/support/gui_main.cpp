// The main of every GUI test: one application on the offscreen platform for all the cases of an
// executable, which a last window closing does not end. Built twice: with widgets, and for the
// tests that need none (the RTF reader and writer, the tag model, the lab book's document) as a
// QGuiApplication, so that those link no widgets and their build fails should they ever come to
// need them.

#include <gtest/gtest.h>

#ifdef VASORA_TEST_WITHOUT_WIDGETS
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    TestApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
