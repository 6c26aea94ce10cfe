#include "shell/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>

#include "shell/Forms.h"

namespace vasora::shell {

namespace {

bool g_labBookPlaced = false;
QRect g_workArea;

// A frame to assume where the window manager has not told one yet: a title bar and thin
// borders, on the generous side so that windows never overlap.
const QMargins kGuessedFrame(4, 30, 4, 4);
// How long a window manager takes to frame a window that has just been shown, at most.
constexpr int kFramedAfterMs = 300;

QMargins frameOf(const QWidget* w) {
    if (!w || !w->isVisible()) return {};
    const QRect outer = w->frameGeometry(), inner = w->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

// The frame the window manager gives windows here, read off a window on screen.
QMargins currentFrame() {
    for (forms::FormName n : {forms::frmMain, forms::frmCVModel, forms::frmPlotData}) {
        const QMargins m = frameOf(forms::existing(n));
        if (m.top() > 0) return m;
    }
    return kGuessedFrame;
}

QRect outer(const QRect& inner, const QMargins& frame) {
    return inner.marginsAdded(frame);
}

// Puts a window's frame at the outer rectangle. The inner geometry is set, with the window's
// own frame once the window manager has framed it and the frame of the others until then: a
// window's position given by move() is that of its frame only once the frame is known, which
// made a window shown for the first time stand a title bar higher than the rest.
void putAt(QWidget* w, const QRect& outerRect, const QMargins& frame) {
    if (!w || outerRect.isEmpty()) return;
    const QMargins own = frameOf(w);
    w->setGeometry(outerRect.marginsRemoved(own.top() > 0 ? own : frame));
}

class FirstShow final : public QObject {
  public:
    FirstShow(QWidget* w, std::function<void()> place) : QObject(w), m_place(std::move(place)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            o->removeEventFilter(this);
            deleteLater();
            m_place();
        }
        return false;
    }

  private:
    std::function<void()> m_place;
};

// The diagram stands right of the model window, over the lab book's place if there is one. A
// narrow place goes down to the screen's bottom, over the strip chart's last minute, so that
// its two panels stay readable; with hardly any room beside the model window it stands at the
// screen's right edge over the model window's right part, where the left heart's and the
// systemic arteries' values are not.
}  // namespace

QRect diagramPlacement(const QRect& screen, const QRect& model, int chartTop) {
    const int left = std::min(model.right() + 1, screen.right() + 1 - kMinDiagramWidth);
    const int width = screen.right() + 1 - left;
    const int bottom = width < kTallDiagramBelowWidth ? screen.bottom() + 1 : chartTop;
    return QRect(left, screen.top(), width, bottom - screen.top());
}

WorkbenchPlacement placeWorkbench(const QRect& screen, const QSize& modelDesign, bool withLabBook,
                                  const QMargins& frame, double devicePixelRatio) {
    WorkbenchPlacement p;
    const int frameW = frame.left() + frame.right();
    const int frameH = frame.top() + frame.bottom();
    // The strip chart takes the bottom of the screen across its width: about a fifth of its
    // height, enough for its scales.
    const int chartInner = std::clamp(int(screen.height() * 0.22), 170, 300);
    const int chartOuter = chartInner + frameH;

    // The model window takes what is left above the chart; with a lab book it leaves about
    // two fifths of the width beside it.
    // Without one it leaves room for Guyton's diagram beside it, should the learner open it.
    const int modelRoomW =
        (withLabBook ? int(screen.width() * 0.6) : screen.width() - kMinDiagramWidth) - frameW;
    const int modelRoomH = screen.height() - chartOuter - frameH;
    double scale = std::min(
        {1.0, double(modelRoomW) / modelDesign.width(), double(modelRoomH) / modelDesign.height()});
    // Readable means large enough in device pixels.
    scale = std::max(
        scale, std::max(kMinModelScaleAnyDpi, kMinModelScale / std::max(1.0, devicePixelRatio)));
    // Scales are kept to hundredths so that the diagram's lines fall on whole pixels.
    scale = std::floor(scale * 100) / 100;
    p.modelScale = scale;
    const QSize modelInner(int(std::ceil(modelDesign.width() * scale)),
                           int(std::ceil(modelDesign.height() * scale)));
    p.model = outer(QRect(screen.topLeft() + QPoint(frame.left(), frame.top()), modelInner), frame);

    const int chartTop = std::max(p.model.bottom() + 1, screen.bottom() + 1 - chartOuter);
    p.chart = QRect(screen.left(), chartTop, screen.width(), screen.bottom() + 1 - chartTop);

    if (withLabBook) {
        p.labBook = QRect(p.model.right() + 1, screen.top(), screen.right() - p.model.right(),
                          chartTop - screen.top());
    }
    p.diagram = diagramPlacement(screen, p.model, chartTop);
    return p;
}

QRect workArea(const QWidget* on) {
    if (!g_workArea.isEmpty()) return g_workArea;
    const QScreen* screen = on && on->screen() ? on->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
}

void setWorkArea(const QRect& area) {
    g_workArea = area;
}

void placeWorkbenchWindows() {
    QWidget* model = forms::existing(forms::frmCVModel);
    auto* scalable = dynamic_cast<Scalable*>(model);
    if (!scalable) return;
    const QScreen* screen = model->screen() ? model->screen() : QGuiApplication::primaryScreen();
    const QMargins frame = currentFrame();
    const WorkbenchPlacement p =
        placeWorkbench(workArea(model), scalable->designSize(), g_labBookPlaced, frame,
                       screen ? screen->devicePixelRatio() : 1.0);
    scalable->setDisplayScale(p.modelScale);
    putAt(model, p.model, frame);
    putAt(forms::existing(forms::frmPlotData), p.chart, frame);
    if (g_labBookPlaced) putAt(forms::existing(forms::frmDisplay), p.labBook, frame);
}

void setLabBookPlaced(bool placed) {
    g_labBookPlaced = placed;
}

void placeOnFirstShow(QWidget* window) {
    if (!window) return;
    window->installEventFilter(new FirstShow(window, [window] {
        placeWorkbenchWindows();
        // Once the window manager has framed the window, its frame is known: placed again.
        QTimer::singleShot(kFramedAfterMs, window, [] { placeWorkbenchWindows(); });
    }));
}

void placeOverModelOnFirstShow(QWidget* window) {
    if (!window) return;
    window->installEventFilter(new FirstShow(window, [window] {
        QWidget* model = forms::existing(forms::frmCVModel);
        auto* scalable = dynamic_cast<Scalable*>(model);
        if (!scalable) return;
        const QMargins frame = currentFrame();
        const WorkbenchPlacement p =
            placeWorkbench(workArea(model), scalable->designSize(), g_labBookPlaced, frame);
        const QSize inner = window->size().boundedTo(p.model.marginsRemoved(frame).size());
        putAt(window, QRect(p.model.topLeft(), inner.grownBy(frame)), frame);
    }));
}

void placeDiagramOnFirstShow(QWidget* window) {
    if (!window) return;
    window->installEventFilter(new FirstShow(window, [window] {
        QWidget* model = forms::existing(forms::frmCVModel);
        auto* scalable = dynamic_cast<Scalable*>(model);
        const QMargins frame = currentFrame();
        const QRect screen = workArea(model ? model : window);
        if (!scalable) {
            window->setGeometry(centredPlacement(screen, window->size(), frame));
            return;
        }
        const QScreen* on = model->screen();
        const WorkbenchPlacement p = placeWorkbench(screen, scalable->designSize(), g_labBookPlaced,
                                                    frame, on ? on->devicePixelRatio() : 1.0);
        // Beside the model window where it stands now, which the learner may have moved.
        const QRect place = model->isVisible()
                                ? diagramPlacement(screen, model->frameGeometry(), p.chart.top())
                                : p.diagram;
        putAt(window, place, frame);
    }));
}

QRect centredPlacement(const QRect& screen, QSize preferred, const QMargins& frame) {
    const QSize room = screen.size().shrunkBy(frame) - QSize(16, 16);
    const QSize size = preferred.boundedTo(room).expandedTo(QSize(200, 150));
    QRect inner(QPoint(0, 0), size);
    inner.moveCenter(screen.center() + QPoint((frame.left() - frame.right()) / 2,
                                              (frame.top() - frame.bottom()) / 2));
    return inner;
}

void fitOnFirstShow(QWidget* window) {
    auto* scalable = dynamic_cast<Scalable*>(window);
    if (!scalable) return;
    window->installEventFilter(new FirstShow(window, [window, scalable] {
        const QMargins frame = currentFrame();
        const QSize room = workArea(window).size().shrunkBy(frame) - QSize(8, 8);
        const QSize design = scalable->designSize();
        const double scale = std::min(
            {1.0, double(room.width()) / design.width(), double(room.height()) / design.height()});
        scalable->setDisplayScale(std::max(kMinModelScaleAnyDpi, std::floor(scale * 100) / 100));
        const QRect r = centredPlacement(workArea(window), window->size(), frame);
        window->setGeometry(QRect(r.topLeft(), window->size()));
    }));
}

void centreOnFirstShow(QWidget* window, QSize preferred) {
    if (!window) return;
    window->installEventFilter(new FirstShow(window, [window, preferred] {
        window->setGeometry(centredPlacement(workArea(window), preferred, currentFrame()));
    }));
}

}  // namespace vasora::shell
