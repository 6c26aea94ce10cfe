#include "documents/frmImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "documents/ScrivoControl.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/LiveFigures.h"
#include "shell/WindowPlacement.h"

namespace vasora::documents {

namespace {

// Pictures are drawn at twice the size they are meant to be seen at, so that they stay sharp
// on a screen of high resolution; above this width a picture is taken to be such a drawing.
constexpr int kDoubleSizeFrom = 1000;

}  // namespace

QString figureCaption(int n, FigureSource source) {
    if (source == FigureSource::LabBook) {
        if (n == 1) return QStringLiteral("Label for image 1");
        if (n == 2) return QStringLiteral("Label for image 2");
        return QStringLiteral("No label");
    }
    struct Caption {
        int n;
        const char* text;
    };
    static constexpr Caption kCaptions[] = {
        {602, " Layout of Model"},
        {610, " Vascular Pressure:Volume Relation"},
        {611, " Vascular Capacitance Definitions"},
        {615, " Venoconstriction example"},
        {616, " Active vs Passive volume changes"},
        {621, " Resistance vs Capacitance Concept"},
        {642, " Frank-Starling 'Law of the Heart'"},
        {644, " Heart Rate on Filling Time"},
        {645, " Heart Rate on Stroke Volume (Model data)"},
        {646, " Heart Rate on SV and CO"},
        {649, " Cardiac P V Loop"},
        {651, " CO change via change of EDV "},
        {652, " CO change via change of Emax "},
        {699, " metadraw size to fit(Img 699)"},
        {999, ""},
    };
    for (const Caption& c : kCaptions)
        if (c.n == n) return QString::fromLatin1(c.text);
    return QStringLiteral("No label");
}

QStringList figureCandidates(int n, FigureSource source, const QString& imagePath) {
    const QString base = imagePath + QStringLiteral("Img%1").arg(n, 3, 10, QLatin1Char('0'));
    return source == FigureSource::Info
               ? QStringList{base + QStringLiteral(".GIF"), base + QStringLiteral(".JPG")}
               : QStringList{base + QStringLiteral(".BMP"), base + QStringLiteral(".JPG")};
}

frmImage::frmImage(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmImage.str());
    setWindowTitle(QStringLiteral("Vasora Information Figures"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("vbImage"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(100, 100);
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(font().pointSizeF() * 1.15);
    f.setBold(true);
    m_caption->setFont(f);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_caption);
    v->addWidget(m_picture, 1);
    v->addWidget(close, 0, Qt::AlignRight);
    indexControls(this);
}

bool frmImage::showPicture(const QString& file, const QString& caption) {
    QImageReader reader(file);
    // The reader decides by the content, not the name: a picture saved under another ending
    // is shown all the same, and a file that is no picture is refused.
    reader.setDecideFormatFromContent(true);
    const QImage img = reader.read();
    if (img.isNull()) return false;
    m_pixmap = QPixmap::fromImage(img);
    m_file = file;
    m_caption->setText(caption);
    const bool doubled = img.width() >= kDoubleSizeFrom;
    QSize shown = doubled ? img.size() / 2 : img.size();
    shown = shown.boundedTo(shell::workArea(this).size() * 0.85);
    resize(shown + QSize(24, 80));
    fit();
    return true;
}

void frmImage::fit() {
    if (m_pixmap.isNull()) return;
    const qreal dpr = devicePixelRatioF();
    QPixmap p =
        m_pixmap.scaled(m_picture->size() * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.setDevicePixelRatio(dpr);
    m_picture->setPixmap(p);
}

void frmImage::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    fit();
}

bool ShowFigure(int n, FigureSource source) {
    if (shell::isLiveFigure(n)) return shell::showLiveFigure(n);
    const QString imagePath = appState().ImagePath;
    QString found;
    for (const QString& c : figureCandidates(n, source, imagePath)) {
        const QString f = existingPath(c);
        if (QFileInfo(f).isFile()) {
            found = f;
            break;
        }
    }
    const QString base = imagePath + QStringLiteral("Img%1").arg(n, 3, 10, QLatin1Char('0'));
    if (found.isEmpty()) {
        ui::messageBox(source == FigureSource::Info
                           ? QStringLiteral("File: ") + base +
                                 QStringLiteral(" as .gif or .jpg not found.")
                           : QStringLiteral("File: ") + base + QStringLiteral(" not found."));
        return false;
    }
    auto* w = forms::get<frmImage>(forms::frmImage);
    if (!w) return false;
    if (!w->showPicture(found, figureCaption(n, source))) {
        ui::messageBox(QStringLiteral("File: ") + found + QStringLiteral(" is not a picture."));
        return false;
    }
    w->show();
    w->raise();
    return true;
}

}  // namespace vasora::documents
