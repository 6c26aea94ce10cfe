#pragma once

// The diagram window: Guyton's diagram and the ventricles' pressure-volume loops of the present
// model state, redrawn after every display of the model window while the window is shown, with
// the curves and loops of before the learner's last change drawn pale and the operating points
// of the change as a trail of dots.

#include <QTimer>
#include <QWidget>
#include <optional>

#include "model/Curves.h"
#include "workbench/DiagramHistory.h"
#include "workbench/DiagramPainter.h"

class QBoxLayout;
class QLabel;
class QPushButton;

namespace vasora::workbench {

class frmDiagram final : public QWidget {
    Q_OBJECT
  public:
    explicit frmDiagram(QWidget* parent = nullptr);

    /// A display of the model window: the curves are worked out again while the window is
    /// shown (a hidden window does nothing), and the panels repaint at most about 30 times a
    /// second.
    void modelDisplayed();

    /// cmdSaveData and cmdSavePicture: the curves and loops as CSV, the two panels as PNG, into
    /// a file the learner chooses (the "Lab Book" folder is offered first). Cancel saves nothing;
    /// a file that cannot be written is reported with the reason and left as it was.
    void saveData();
    void savePicture();

    /// What the panels draw now.
    const model::DiagramData& data() const;
    const DiagramHistory& history() const { return m_history; }
    diagram::Scene scene() const;
    /// The two panels as a picture.
    QImage picture();
    /// How many times the panels were asked to repaint.
    int repaintsAsked() const { return m_repaints; }
    /// Whether a repaint is waiting for its turn.
    bool repaintPending() const { return m_repaintTimer.isActive(); }

  protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void recompute();
    void scheduleRepaint();
    void repaintNow();
    QString chooseFile(const QString& title, const QString& filter, const QString& extension);
    void writeFile(const QString& path, const QByteArray& bytes);

    // The curves of a state on its way to equilibrium are worked out only when drawn.
    mutable model::DiagramData m_data;
    mutable bool m_stale = false;
    // The state of the last equilibrium shown; its curves are worked out once the next change
    // makes them the pale set.
    std::optional<model::ModelState> m_agreed;
    DiagramHistory m_history;
    bool m_computed = false;
    QWidget* m_panels;
    QBoxLayout* m_panelLayout;
    QWidget* m_guyton;
    QWidget* m_loops;
    QLabel* m_summary;
    QTimer m_repaintTimer;
    int m_repaints = 0;
};

}  // namespace vasora::workbench
