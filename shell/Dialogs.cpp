#include "shell/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace vasora::ui {
namespace {

class DesktopSeam final : public DialogSeam {
  public:
    void message(QWidget* parent, const QString& text, const QString& title) override {
        QMessageBox::information(parent, title.isEmpty() ? programTitle() : title, text);
    }
    Answer question(QWidget* parent, const QString& text, const QString& title,
                    Buttons buttons) override {
        QMessageBox::StandardButtons b = QMessageBox::Ok;
        switch (buttons) {
            case Buttons::Ok:
                b = QMessageBox::Ok;
                break;
            case Buttons::OkCancel:
                b = QMessageBox::Ok | QMessageBox::Cancel;
                break;
            case Buttons::YesNo:
                b = QMessageBox::Yes | QMessageBox::No;
                break;
            case Buttons::YesNoCancel:
                b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
                break;
        }
        const auto r =
            QMessageBox::question(parent, title.isEmpty() ? programTitle() : title, text, b);
        switch (r) {
            case QMessageBox::Ok:
                return Answer::Ok;
            case QMessageBox::Yes:
                return Answer::Yes;
            case QMessageBox::No:
                return Answer::No;
            default:
                return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }
    QString openFile(QWidget* parent, const QString& title, const QString& dir,
                     const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, title, dir, filter);
    }
    QString saveFile(QWidget* parent, const QString& title, const QString& dir,
                     const QString& filter, Replace replace) override {
        return QFileDialog::getSaveFileName(parent, title, dir, filter, nullptr,
                                            replace == Replace::CallerAsks
                                                ? QFileDialog::DontConfirmOverwrite
                                                : QFileDialog::Options());
    }
};

DesktopSeam g_desktop;
DialogSeam* g_seam = nullptr;

}  // namespace

bool DialogSeam::print(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString programTitle() {
    return QStringLiteral("Vasora");
}

DialogSeam& seam() {
    return g_seam ? *g_seam : g_desktop;
}
void setSeam(DialogSeam* s) {
    g_seam = s;
}

namespace {
RepeatedMessages* g_repeats = nullptr;
constexpr int kShownBeforeAsking = 3;

// A message's words without its numbers: "Case on row error (R:12) in C2" and "(R:13) in C4"
// are of one kind.
QString wordsOf(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (!c.isDigit()) out += c;
    return out;
}
}  // namespace

RepeatedMessages::RepeatedMessages() : m_outer(g_repeats) {
    g_repeats = this;
}

RepeatedMessages::~RepeatedMessages() {
    g_repeats = m_outer;
}

bool RepeatedMessages::show(const QString& text, QWidget* parent) {
    const QString words = wordsOf(text);
    auto it = std::find_if(m_kinds.begin(), m_kinds.end(),
                           [&](const Kind& k) { return k.words == words; });
    if (it == m_kinds.end()) {
        m_kinds.push_back({words, 0, false});
        it = m_kinds.end() - 1;
    }
    if (it->silenced) return false;
    if (++it->count <= kShownBeforeAsking) return true;
    if (it->count == kShownBeforeAsking + 1 &&
        ask(QStringLiteral("This message has come %1 times already:\n\n%2\n\nShow the rest of "
                           "its kind?")
                .arg(kShownBeforeAsking)
                .arg(text),
            {}, Buttons::YesNo, parent) == Answer::No) {
        it->silenced = true;
        return false;
    }
    return true;
}

void messageBox(const QString& text, const QString& title, QWidget* parent) {
    if (g_repeats && !g_repeats->show(text, parent)) return;
    seam().message(parent, text, title);
}

Answer ask(const QString& text, const QString& title, Buttons buttons, QWidget* parent) {
    return seam().question(parent, text, title, buttons);
}

void ScriptedSeam::message(QWidget*, const QString& text, const QString& title) {
    shown.push_back({QStringLiteral("message"), text, title});
    if (onMessage) onMessage(text);
}

Answer ScriptedSeam::question(QWidget*, const QString& text, const QString& title,
                              Buttons buttons) {
    shown.push_back({QStringLiteral("question"), text, title});
    if (answers.empty()) return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedSeam::openFile(QWidget*, const QString& title, const QString&, const QString&) {
    shown.push_back({QStringLiteral("open"), title, {}});
    if (paths.empty()) return {};
    QString p = paths.front();
    paths.pop_front();
    return p;
}

bool mayReplace(const QString& path, const QString& what, QWidget* parent) {
    const QFileInfo f(path);
    // A folder of that name is no file to replace; the save then says it cannot be written.
    if (!f.isFile()) return true;
    return ask(QStringLiteral("%1 %2 exists already in %3.\nReplace it? What it holds now will "
                              "be lost.")
                   .arg(what, f.fileName(), QDir::toNativeSeparators(f.absolutePath())),
               {}, Buttons::YesNo, parent) == Answer::Yes;
}

QString ScriptedSeam::saveFile(QWidget*, const QString& title, const QString&, const QString&,
                               Replace) {
    shown.push_back({QStringLiteral("save"), title, {}});
    if (paths.empty()) return {};
    QString p = paths.front();
    paths.pop_front();
    return p;
}

bool ScriptedSeam::print(QWidget*, QPrinter& printer) {
    shown.push_back({QStringLiteral("print"), {}, {}});
    if (printFiles.empty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFiles.front());
    printFiles.pop_front();
    return true;
}

QStringList ScriptedSeam::messages() const {
    QStringList out;
    for (const auto& s : shown)
        if (s.kind == QLatin1String("message")) out << s.text;
    return out;
}

}  // namespace vasora::ui
