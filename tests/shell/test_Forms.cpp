// The window registry: created on first use, load steps once, then only shown and hidden.

#include <gtest/gtest.h>

#include <QWidget>

#include "shell/Forms.h"

using namespace vasora;

namespace {

constexpr forms::FormName kCounting{"frmCounting"};
constexpr forms::FormName kNone{"frmNone"};

class Counting final : public QWidget, public forms::Loadable {
  public:
    static inline int constructed = 0, loaded = 0;
    Counting() { ++constructed; }
    void load() override {
        ++loaded;
        // A load step that refers to its own window finds it instead of making another.
        EXPECT_EQ(forms::get(kCounting), this);
    }
};

}  // namespace

TEST(Forms, CreatesOnFirstUseAndLoadsOnce) {
    forms::reset();
    Counting::constructed = Counting::loaded = 0;
    forms::registerForm(kCounting, [] { return new Counting; });
    EXPECT_TRUE(forms::registered(kCounting));
    EXPECT_FALSE(forms::exists(kCounting));
    forms::hide(kCounting);  // hiding never creates
    EXPECT_FALSE(forms::exists(kCounting));
    forms::show(kCounting);
    forms::hide(kCounting);
    forms::show(kCounting);
    EXPECT_EQ(Counting::constructed, 1);
    EXPECT_EQ(Counting::loaded, 1);
    EXPECT_TRUE(forms::isVisible(kCounting));
    EXPECT_EQ(forms::get(kCounting)->objectName(), "frmCounting");
    // An unknown window is nothing, not a crash.
    EXPECT_EQ(forms::get(kNone), nullptr);
    forms::show(kNone);
    forms::reset();
    EXPECT_FALSE(forms::registered(kCounting));
}
