#include "shell/LiveFigures.h"

#include <map>

#include "shell/Dialogs.h"

namespace vasora::shell {

namespace {
std::map<int, std::function<void()>>& registry() {
    static std::map<int, std::function<void()>> r;
    return r;
}
}  // namespace

bool isLiveFigure(int n) {
    return n >= kFirstLiveFigure && n <= kLastLiveFigure;
}

void registerLiveFigure(int n, std::function<void()> show) {
    if (!isLiveFigure(n)) return;
    if (show)
        registry()[n] = std::move(show);
    else
        registry().erase(n);
}

QString noLiveFigureMessage(int n) {
    return QStringLiteral(
               "Figure %1 is a live figure of the model, but no window draws it in "
               "this program.")
        .arg(n);
}

bool showLiveFigure(int n, QWidget* parent) {
    const auto it = registry().find(n);
    if (!isLiveFigure(n) || it == registry().end()) {
        ui::messageBox(noLiveFigureMessage(n), {}, parent);
        return false;
    }
    // A copy: showing the window may register again (the window's first creation).
    const std::function<void()> show = it->second;
    show();
    return true;
}

void resetLiveFigures() {
    registry().clear();
}

}  // namespace vasora::shell
