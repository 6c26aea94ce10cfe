#pragma once

// A value label the learner can click to change its parameter: it looks raised, shows a
// pointing hand, takes the focus with Tab, draws a focus frame, and opens with a click, Enter
// or Space.

#include <QLabel>

namespace vasora::workbench {

class ParamLabel final : public QLabel {
    Q_OBJECT
  public:
    explicit ParamLabel(QWidget* parent = nullptr);

    /// A label whose parameter cannot be changed now (the left heart rate without AV block)
    /// takes no focus, shows no pointing hand, looks sunken, ignores clicks and says why.
    void setChangeable(bool changeable);
    bool changeable() const { return m_changeable; }
    /// A second line of the label's explanation (why it looks as it does); empty for none.
    void setNote(const QString& note);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    bool m_pressed = false;
    bool m_changeable = true;
    QString m_note;
    void explain();
};

}  // namespace vasora::workbench
