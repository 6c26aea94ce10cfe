#pragma once

// What the three change dialogs have in common: a text box for the learner's entry, OK and
// Cancel, and the rules for leaving. Activation empties the text box and gives it the focus;
// Enter acts as OK and Escape, Cancel or closing by the window frame as Cancel. A blank entry is
// refused with the dialog's message and the dialog stays open; any other entry closes it, a
// number as the answer and anything else, after a message, as no change.

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vasora::workbench {

class ChangeDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows the dialog modally and waits. Returns the number entered, or nothing when the
    /// learner made no change.
    std::optional<double> ask();

    ChangeDialog(const ChangeDialog&) = delete;
    ChangeDialog& operator=(const ChangeDialog&) = delete;

  protected:
    /// `blankMessage` is the refusal of a blank entry.
    ChangeDialog(const char* name, const QString& title, QString blankMessage);

    /// A plain-text label named `name`; blanks in the caption are kept.
    QLabel* makeLabel(const char* name, const QString& caption);
    /// The entry row's text box and the two buttons, named as the system names them.
    QLineEdit* makeInput();
    QPushButton* makeOk(const QString& caption);
    QPushButton* makeCancel();

    void showEvent(QShowEvent* e) override;
    void reject() override;

  private:
    void accept() override;
    void leave(std::optional<double> answer);

    QString m_blankMessage;
    QLineEdit* m_input = nullptr;
    std::optional<double> m_entered;
};

/// Sets the caption of the label named `name` among `dialog`'s children.
void setLabel(QWidget* dialog, const char* name, const std::string& text);

}  // namespace vasora::workbench
