#pragma once

// Every message box, question and file dialog of the program goes through this seam. The
// desktop installs the real dialogs; tests and the command-line program install a scripted
// seam that answers from a queue and records what was asked, so nothing ever blocks on a
// modal window.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QPrinter;
class QWidget;

namespace vasora::ui {

enum class Answer { Ok, Cancel, Yes, No };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

/// Who asks before a save dialog's choice replaces a file of that name: the dialog itself, or
/// the caller, which adds an extension to the name first and then asks in its own words
/// (`mayReplace`), so that a name typed with or without the extension is asked about once.
enum class Replace { DialogAsks, CallerAsks };

class DialogSeam {
  public:
    virtual ~DialogSeam() = default;
    /// An OK-only message box. An empty title shows the program's title.
    virtual void message(QWidget* parent, const QString& text, const QString& title) = 0;
    /// A question; returns the button pressed (Cancel or No when the box is closed).
    virtual Answer question(QWidget* parent, const QString& text, const QString& title,
                            Buttons buttons) = 0;
    /// A file dialog; returns the chosen path, or an empty string for Cancel.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& dir,
                             const QString& filter) = 0;
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& dir,
                             const QString& filter, Replace replace) = 0;
    /// The platform's print dialog for `printer` (which offers printing to a PDF file where no
    /// printer is installed); returns false for Cancel.
    virtual bool print(QWidget* parent, QPrinter& printer);
};

/// The program's title, shown by message boxes that have none of their own.
QString programTitle();

/// The seam in force; the real dialogs unless a test installed another.
DialogSeam& seam();
/// Installs a seam (not owned); nullptr restores the real dialogs.
void setSeam(DialogSeam* s);

// Short forms for the common calls.
void messageBox(const QString& text, const QString& title = {}, QWidget* parent = nullptr);
Answer ask(const QString& text, const QString& title = {}, Buttons buttons = Buttons::YesNo,
           QWidget* parent = nullptr);

/// Whether the file `path` may be replaced: true when there is none of that name, else the
/// learner is asked (Yes replaces). `what` names the file for the learner ("Your Lab Book").
bool mayReplace(const QString& path, const QString& what, QWidget* parent = nullptr);

/// While one lives, a message box that comes up for the third time with the same words (numbers
/// aside) asks whether the rest of its kind should be shown; answered No, they are not, until
/// the guard goes. One click of the learner's that meets a hostile document of thousands of
/// wrong tags then brings up three messages of a kind and a question, not thousands.
class RepeatedMessages final {
  public:
    RepeatedMessages();
    ~RepeatedMessages();
    RepeatedMessages(const RepeatedMessages&) = delete;
    RepeatedMessages& operator=(const RepeatedMessages&) = delete;
    /// Whether the message `text` is to be shown.
    bool show(const QString& text, QWidget* parent);

  private:
    struct Kind {
        QString words;
        int count = 0;
        bool silenced = false;
    };
    std::vector<Kind> m_kinds;
    RepeatedMessages* m_outer;
};

/// A seam for tests and for runs with no desktop: answers come from queues, every request is
/// recorded. An empty answer queue gives Cancel (questions) or an empty path (file dialogs),
/// which is what closing the dialog would give.
class ScriptedSeam final : public DialogSeam {
  public:
    struct Shown {
        QString kind;  // "message", "question", "open", "save", "print"
        QString text;  // message text or dialog title
        QString title;
    };

    void message(QWidget* parent, const QString& text, const QString& title) override;
    Answer question(QWidget* parent, const QString& text, const QString& title,
                    Buttons buttons) override;
    QString openFile(QWidget* parent, const QString& title, const QString& dir,
                     const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& dir,
                     const QString& filter, Replace replace) override;
    /// Prints to the next PDF file of `printFiles`; an empty queue is Cancel.
    bool print(QWidget* parent, QPrinter& printer) override;

    std::deque<Answer> answers;
    std::deque<QString> printFiles;
    std::deque<QString> paths;
    std::vector<Shown> shown;
    /// Called on every message box, for callers that report messages as they come.
    std::function<void(const QString&)> onMessage;

    QStringList messages() const;
};

/// Installs a seam for the lifetime of the guard.
class SeamGuard final {
  public:
    explicit SeamGuard(DialogSeam& s) { setSeam(&s); }
    ~SeamGuard() { setSeam(nullptr); }
    SeamGuard(const SeamGuard&) = delete;
    SeamGuard& operator=(const SeamGuard&) = delete;
};

}  // namespace vasora::ui
