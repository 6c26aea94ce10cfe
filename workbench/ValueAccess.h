#pragma once

// What a screen reader and the keyboard meet on the windows of model values. A value label is
// announced by the quantity it shows (its name, "Pressure of the systemic arteries (mmHg)") and
// by the number it shows now (its value, "93.7"), renewed at every display; a label that opens
// its parameter's dialog is announced as a button with a press action. The arrow keys move
// between the value labels of a window by where they stand, so that F1 "Explain…" reaches
// every value without a Tab stop for each.

#include <QLabel>
#include <QString>

namespace vasora::workbench {

/// A label of a computed value: focused by a click or an arrow key, with a focus frame.
class ValueLabel final : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

/// Makes `l`, which shows the quantity of the model window's label `name`, a value label: its
/// accessible name, its tool tip (when `withTip`), a focus by click or arrow key.
void makeValueLabel(QLabel* l, const QString& name, bool withTip);

/// Tells a screen reader that the value label `l` now shows `caption`.
void valueShown(QLabel* l);

/// Lets the arrow keys move the focus between the value labels of `window`.
void arrowsBetweenValues(QWidget* window);

/// Installs the accessible interface of value labels; once per program.
void installValueAccess();

}  // namespace vasora::workbench
