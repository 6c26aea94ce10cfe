// The library's insert-object dialog on the offscreen platform, driven by object name.
#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "ScrivoTest.h"

using namespace scrivotest;

namespace {

QWidget* dialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmInsertObject" && w->isVisible()) return w;
    return nullptr;
}

// Runs the steps once the dialog is up; a dialog that has not shown after a generous while (a
// loaded machine or a sanitizer build is slow, and only a fault takes that long) fails the test.
void whenShown(std::function<void(QWidget*)> steps) {
    auto* poll = new QTimer;
    const QDeadlineTimer deadline(30000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, steps] {
        if (QWidget* d = dialog()) {
            poll->stop();
            poll->deleteLater();
            steps(d);
        } else if (deadline.hasExpired()) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "the insert-object dialog did not show";
        }
    });
    poll->start(10);
}

class InsertDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        static QWidget control;
        control.setObjectName("controlWindow");
        windowObjectFor = [](std::uint32_t) -> void* { return &control; };
        installHooks(false);
        useRegistry(fixture("classes.reg"));
        object = newObject();
    }
    void TearDown() override { object->ops->Destroy(object, 1); }
    ScrivoExtensionObject* object = nullptr;
};

TEST_F(InsertDialog, ListsTheServersAndCreatesANewObject) {
    QStringList shown;
    bool createNewChecked = false;
    QString parentName;
    whenShown([&](QWidget* d) {
        parentName = d->parentWidget() ? d->parentWidget()->objectName() : QString();
        auto* list = d->findChild<QListWidget*>("lstObjectType");
        for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
        createNewChecked = d->findChild<QRadioButton*>("optCreateNew")->isChecked();
        list->setCurrentRow(1);
        d->findChild<QPushButton*>("cmdOK")->click();
    });
    EXPECT_EQ(object->ops->Create(object, "*"), 1);
    EXPECT_EQ(shown, (QStringList{"Bitmap Image", "Sound", "Broken class"}));
    EXPECT_TRUE(createNewChecked);
    EXPECT_EQ(parentName, "controlWindow");
    ASSERT_EQ(hooks().launches.size(), 1u);
    EXPECT_EQ(hooks().launches[0].command, "soundrec.exe");
}

TEST_F(InsertDialog, CreatesFromAFileChosenWithBrowse) {
    TempDir dir;
    const auto file = dir.write("p.bmp", bmpFile(6, 3, [](int, int) { return 0u; }));
    hooks().chooseFileAnswer = file.string();
    bool okEnabled = true;
    whenShown([&](QWidget* d) {
        d->findChild<QRadioButton*>("optCreateFromFile")->setChecked(true);
        okEnabled = d->findChild<QPushButton*>("cmdOK")->isEnabled();  // no file yet
        d->findChild<QPushButton*>("cmdBrowse")->click();
        EXPECT_EQ(d->findChild<QLineEdit*>("txtFile")->text().toStdString(), file.string());
        d->findChild<QPushButton*>("cmdOK")->click();
    });
    EXPECT_EQ(object->ops->Create(object, "*"), 1);
    EXPECT_FALSE(okEnabled);
    ScrivoRect r{};
    object->ops->GetRect(object, &r);
    EXPECT_EQ(r.right, 6);
    EXPECT_TRUE(hooks().launches.empty());
}

TEST_F(InsertDialog, CancelCreatesNothing) {
    whenShown([](QWidget* d) { d->findChild<QPushButton*>("cmdCancel")->click(); });
    EXPECT_EQ(object->ops->Create(object, "*"), 0);
    EXPECT_EQ(object->item, nullptr);
}

}  // namespace
