// The window registry: created on first use, load steps once, then only shown and hidden.

#include <gtest/gtest.h>

#include <QWidget>

#include "app/Forms.h"

using namespace vasora;

namespace {

class Counting final : public QWidget, public forms::Loadable {
  public:
    static inline int constructed = 0, loaded = 0;
    Counting() { ++constructed; }
    void load() override {
        ++loaded;
        // A load step that refers to its own window finds it instead of making another.
        EXPECT_EQ(forms::get(QStringLiteral("frmCounting")), this);
    }
};

}  // namespace

TEST(Forms, CreatesOnFirstUseAndLoadsOnce) {
    forms::reset();
    Counting::constructed = Counting::loaded = 0;
    forms::registerForm(QStringLiteral("frmCounting"), [] { return new Counting; });
    EXPECT_TRUE(forms::registered(QStringLiteral("frmCounting")));
    EXPECT_FALSE(forms::exists(QStringLiteral("frmCounting")));
    forms::hide(QStringLiteral("frmCounting"));  // hiding never creates
    EXPECT_FALSE(forms::exists(QStringLiteral("frmCounting")));
    forms::show(QStringLiteral("frmCounting"));
    forms::hide(QStringLiteral("frmCounting"));
    forms::show(QStringLiteral("frmCounting"));
    EXPECT_EQ(Counting::constructed, 1);
    EXPECT_EQ(Counting::loaded, 1);
    EXPECT_TRUE(forms::isVisible(QStringLiteral("frmCounting")));
    EXPECT_EQ(forms::get(QStringLiteral("frmCounting"))->objectName(), "frmCounting");
    // An unknown window is nothing, not a crash.
    EXPECT_EQ(forms::get(QStringLiteral("frmNone")), nullptr);
    forms::show(QStringLiteral("frmNone"));
    forms::reset();
    EXPECT_FALSE(forms::registered(QStringLiteral("frmCounting")));
}
