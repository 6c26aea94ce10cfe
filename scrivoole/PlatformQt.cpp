// Platform services on Linux: Qt's message box, the library's own insert-object dialog, Qt's
// image readers and the event loop's timer. Used only when the host runs a Qt application;
// otherwise they fall back as the plain platform does.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "InsertObjectDialog.h"
#include "Platform.h"
#include "ScrivoOLE.h"

namespace scrivoole::platform {

namespace {
bool widgetsRunning() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
}  // namespace

void showError(const std::string& text) {
    if (!widgetsRunning()) {
        std::fprintf(stderr, "ScrivoOLE Error:%s\n", text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"),
                    QString::fromLocal8Bit(text.c_str()), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool insertObjectDialog(void* parent, const std::function<std::vector<ServerEntry>()>& servers,
                        InsertChoice& choice) {
    if (!widgetsRunning()) return false;
    // The control hands its window object over as the dialog's parent. The pointer is only
    // used once it is known to be a live widget of this application.
    QWidget* owner = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (static_cast<void*>(w) == parent) owner = w;
    InsertObjectDialog dialog(owner, servers());
    if (dialog.exec() != QDialog::Accepted) return false;
    choice = dialog.choice();
    return !choice.className.empty() || !choice.file.empty();
}

bool decodeImage(const std::vector<std::uint8_t>& bytes, Raster& out) {
    if (bytes.empty()) return false;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Only readers that fill every pixel of a picture cut short, or refuse it: others (Qt's
    // bitmap reader among them) leave its missing rows as the memory held them, and those
    // bytes would go into the learner's document. Bitmaps have the library's own reader.
    static const QByteArray filling[] = {"png", "jpeg", "gif", "pbm", "pgm", "ppm", "xbm", "xpm"};
    if (!reader.canRead() ||
        std::find(std::begin(filling), std::end(filling), reader.format()) == std::end(filling))
        return false;
    const QSize size = reader.size();
    if (size.isValid() && !pictureSizeAllowed(size.width(), size.height())) return false;
    QImage image = reader.read();
    if (image.isNull() || !pictureSizeAllowed(image.width(), image.height())) return false;
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    out = Raster(image.width(), image.height());
    // 32-bit ARGB words in memory on a little-endian machine: blue, green, red, alpha.
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out.at(0, y), image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * 4);
    return true;
}

void screenDpi(int& x, int& y) {
    x = y = 96;
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!gui || !QGuiApplication::primaryScreen()) return;
    x = static_cast<int>(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchX()));
    y = static_cast<int>(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
}

namespace {
// The timer belongs to the application, but its slot is the library's code: it goes when the
// library is unloaded, or its next tick would call into code no longer there.
struct PollTimer {
    QPointer<QTimer> timer;
    ~PollTimer() { delete timer.data(); }
};
}  // namespace

void startPollTimer() {
    static PollTimer poll;
    if (poll.timer || !QCoreApplication::instance()) return;
    poll.timer = new QTimer(QCoreApplication::instance());
    QObject::connect(poll.timer, &QTimer::timeout, [] { ScrivoOLE_Poll(); });
    poll.timer->start(1000);
}

}  // namespace scrivoole::platform
