#include "shell/Explain.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace vasora::shell {

namespace {

std::function<void(int)>& handler() {
    static std::function<void(int)> h;
    return h;
}

class ExplainFilter final : public QObject {
  public:
    ExplainFilter(QWidget* window, std::function<int(const QString&, const QString&)> topicOf,
                  int overview)
        : QObject(window), m_window(window), m_topicOf(std::move(topicOf)), m_overview(overview) {}

    bool eventFilter(QObject* o, QEvent* e) override {
        if (o != m_window || !explainAvailable()) return false;
        if (e->type() == QEvent::ContextMenu) {
            auto* c = static_cast<QContextMenuEvent*>(e);
            const int topic = topicAt(m_window->childAt(c->pos()));
            if (topic <= 0) return false;
            QMenu menu(m_window);
            menu.setObjectName(QStringLiteral("mnuExplain"));
            QAction* explain = menu.addAction(QStringLiteral("Explain…"));
            if (menu.exec(c->globalPos()) == explain) requestExplain(topic);
            return true;
        }
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
            int topic = topicAt(m_window->focusWidget());
            if (topic <= 0)
                topic = topicAt(m_window->childAt(m_window->mapFromGlobal(QCursor::pos())));
            requestExplain(topic > 0 ? topic : m_overview);
            return true;
        }
        return false;
    }

  private:
    int topicAt(QWidget* w) const {
        auto* l = qobject_cast<QLabel*>(w);
        if (!l || l->objectName().isEmpty() || l->window() != m_window) return 0;
        return m_topicOf(l->objectName(), l->text());
    }

    QWidget* m_window;
    std::function<int(const QString&, const QString&)> m_topicOf;
    int m_overview;
};

}  // namespace

void requestExplain(int topic) {
    if (handler() && topic > 0) handler()(topic);
}

void setExplainHandler(std::function<void(int)> h) {
    handler() = std::move(h);
}

bool explainAvailable() {
    return bool(handler());
}

void offerExplanations(QWidget* window,
                       std::function<int(const QString& name, const QString& caption)> topicOf,
                       int overviewTopic) {
    if (!window) return;
    window->installEventFilter(new ExplainFilter(window, std::move(topicOf), overviewTopic));
}

}  // namespace vasora::shell
