#pragma once

// The options window: how the model is run (the integration and display intervals, separate
// ventricular heart rates), the return to the normal parameter set, and the saving and
// retrieving of parameter sets. The logic lives in RunOptions and ParameterSetFile, shared
// with vasora-cli; this window adds its boxes and which windows are shown afterwards.

#include <QWidget>

#include <array>

#include "shell/Forms.h"

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;

namespace vasora::options {

class frmOptions final : public QWidget, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmOptions(QWidget* parent = nullptr);

    /// Whether chkAV_Block is ticked (Restart asks).
    bool avBlockChecked() const;
    /// The box and the file name after a set was (re)read, as the retrieval leaves them.
    void showRetrieved();
    /// The separate-rates box and the reflex's boxes as the model state has them (after Undo
    /// put a state back).
    void showAVBlockOfState();
    /// Writes the intervals in force into the two text boxes.
    void showIntervals();

  protected:
    bool event(QEvent* e) override;
    /// Closing by the frame is Return: the intervals restored, the help hidden, the model shown.
    void closeEvent(QCloseEvent* e) override;

  private:
    // The window is built in these steps, top to bottom; each returns its part's layout.
    QLayout* buildIntervals();
    QLayout* buildFiles();
    QLayout* buildButtons();
    QLayout* buildReflex();
    /// The reflex options as the boxes are ticked now, put in force.
    void reflexClicked();
    /// Shows the stability note in red while `text` is a step beyond the stable ones.
    void markStability(const QString& text);

    void intervalsClicked(bool checked);
    void originalClicked(bool checked);
    void exportClicked();
    void importClicked();
    void returnClicked();
    void commonEnding();
    void afterFileWork();

    QCheckBox* m_intervals;
    QCheckBox* m_avBlock;
    QCheckBox* m_original;
    QCheckBox* m_reflex;
    std::array<QCheckBox*, 4> m_effectors{};
    QLineEdit* m_iteration;
    QLabel* m_stability;
    QLineEdit* m_print;
    QLineEdit* m_currentFile;
};

/// A number as the options window shows it: the shortest decimal text that reads back the
/// same, with a period whatever the locale and without an exponent.
QString decimalText(double v);

}  // namespace vasora::options
