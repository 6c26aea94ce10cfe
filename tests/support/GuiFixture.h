#pragma once

// A fresh program for every GUI test case: zero model state, no windows, every window's factory
// registered again, a scripted dialog seam and a quit that only counts. A test fails when an
// answer it queued on the seam was never asked for.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

#include "app/AppForms.h"
#include "app/frmMain.h"
#include "core/CV_Nav.h"
#include "model/Vasora_Model_coding.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/Navigation.h"
#include "shell/WindowPlacement.h"
#include "tests/support/UnaskedAnswers.h"

class GuiFixture : public ::testing::Test {
  protected:
    static constexpr QRect kSmallScreen{0, 0, 1366, 768};
    static constexpr QRect kLargeScreen{0, 0, 1920, 1080};

    void SetUp() override {
        vasora::forms::reset();
        vasora::shell::resetNavigation();
        vasora::nav::clearHistory();
        vasora::model::resetState();
        vasora::appState() = vasora::AppState{};
        vasora::ui::setSeam(&seam);
        vasora::frmMain::setQuitHandler([this] { ++quits; });
        vasora::registerAllForms();
        // The windows are placed as on a learner's screen of 1366 x 768, the smallest the
        // program is made for; the headless platform's own screen is smaller.
        vasora::shell::setWorkArea(kSmallScreen);
    }
    void TearDown() override {
        vasora::test::expectEveryAnswerAsked(seam);
        vasora::shell::setWorkArea({});
        vasora::forms::reset();
        vasora::model::setView(nullptr);
        vasora::ui::setSeam(nullptr);
    }

    /// Starts the program as main() does: the main menu created (its load runs) and shown.
    QWidget* start() {
        vasora::forms::show(vasora::forms::frmMain);
        return vasora::forms::existing(vasora::forms::frmMain);
    }

    /// The next run of the program: every window and the application state gone, then started
    /// as main() does. The model state is kept, as it is the one engine's.
    QWidget* restart() {
        vasora::forms::reset();
        vasora::shell::resetNavigation();
        vasora::appState() = vasora::AppState{};
        vasora::registerAllForms();
        return start();
    }

    template <class T = QWidget>
    T* child(vasora::forms::FormName form, const char* name) {
        QWidget* w = vasora::forms::existing(form);
        if (!w) return nullptr;
        return w->findChild<T*>(QString::fromLatin1(name));
    }
    QString caption(const char* name) {
        auto* l = child<QLabel>(vasora::forms::frmCVModel, name);
        return l ? l->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }
    void click(vasora::forms::FormName form, const char* name) {
        auto* b = child<QAbstractButton>(form, name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    bool visible(vasora::forms::FormName form) { return vasora::forms::isVisible(form); }

    /// Saves a picture of a window as `name`.png when VASORA_SCREENSHOTS names a folder, for
    /// looking at by eye.
    static void screenshot(QWidget* w, const QString& name) {
        const QString dir = qEnvironmentVariable("VASORA_SCREENSHOTS");
        if (!dir.isEmpty()) w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    vasora::ui::ScriptedSeam seam;
    int quits = 0;
};
