#pragma once

// The figure window and ShowFigure: a numbered picture from the project folder, opened from a
// figure tag of the information file or of the lab book, with its caption.

#include <QWidget>

#include "shell/Forms.h"

class QLabel;

namespace vasora::documents {

class ScrivoControl;

enum class FigureSource { Info, LabBook };

/// The caption of figure n for the source: the information file's table, the lab book's.
QString figureCaption(int n, FigureSource source);

/// The files figure n is looked for in, in order: Img + three digits + .GIF then .JPG from the
/// information file, .BMP then .JPG from the lab book, in `imagePath`.
QStringList figureCandidates(int n, FigureSource source, const QString& imagePath);

class frmImage final : public QWidget, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmImage(QWidget* parent = nullptr);
    /// Shows the picture of `file` with `caption`; false when the file is no picture.
    bool showPicture(const QString& file, const QString& caption);
    QString fileShown() const { return m_file; }

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    void fit();

    QLabel* m_picture;
    QLabel* m_caption;
    QPixmap m_pixmap;
    QString m_file;
};

/// Shows figure n (0 to 999) from `source`. A figure with no file is reported and leaves the
/// figure window as it was. Numbers 900 to 999 are live figures: the window registered for the
/// number (shell/LiveFigures.h) is shown instead of a picture, and one with no window is
/// reported. Returns whether the figure is shown.
bool ShowFigure(int n, FigureSource source);

}  // namespace vasora::documents
