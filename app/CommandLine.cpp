#include "app/CommandLine.h"

#include <cstdio>

#include "labbook/frmLBUser.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"

#ifndef VASORA_VERSION
#define VASORA_VERSION "unknown"
#endif

namespace vasora::app {

namespace {

CommandLine refuse(CommandLine c, const QString& why) {
    c.action = CommandLine::Action::Usage;
    c.error = why;
    return c;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& args, bool beforeToolkit) {
    CommandLine c;
    if (!args.isEmpty()) c.options << args.front();
    bool filesOnly = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool option = !filesOnly && a.size() > 1 && a.startsWith(QLatin1Char('-'));
        if (!option) {
            if (beforeToolkit) continue;  // perhaps the value of one of the toolkit's options
            if (!c.labBook.isEmpty())
                return refuse(c, QStringLiteral("only one lab book can be opened at a time"));
            c.labBook = a;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            c.action = CommandLine::Action::Help;
            return c;
        } else if (a == QLatin1String("--version")) {
            c.action = CommandLine::Action::Version;
            return c;
        } else if (a == QLatin1String("--quit-after-start")) {
            c.quitAfterStart = true;
            c.options << a;
        } else if (a == QLatin1String("--project") || a == QLatin1String("--tour")) {
            // A missing folder name is the project folder's choice to report, in its words.
            c.options << a;
            if (i + 1 >= args.size()) continue;
            c.options << args[++i];
            if (a == QLatin1String("--tour")) c.tour = args[i];
        } else if (a.startsWith(QLatin1String("--project="))) {
            c.options << a;
        } else if (a == QLatin1String("--")) {
            filesOnly = true;
        } else if (beforeToolkit && !a.startsWith(QLatin1String("--"))) {
            continue;  // the toolkit's own, taken out when it starts
        } else {
            return refuse(c, QStringLiteral("unknown option %1").arg(a));
        }
    }
    return c;
}

QString helpText() {
    return QStringLiteral(
        "Usage: vasora [OPTION]... [LAB-BOOK.rtf]\n"
        "Learn the physiology of the heart and the circulation with a model you can change.\n"
        "\n"
        "  LAB-BOOK.rtf        once the main menu is up, open this lab book as your own,\n"
        "                      as the Lab Book's \"Retrieve File\" does\n"
        "  --project DIR       work in the project folder DIR, filled with the shipped\n"
        "                      documents when it lacks them\n"
        "  --tour FOLDER       save pictures of the main windows into FOLDER\n"
        "  --quit-after-start  end as soon as the main menu is shown; messages go to\n"
        "                      standard error\n"
        "  -h, --help          print this help and exit\n"
        "  --version           print the version and exit\n"
        "\n"
        "Without --project, Vasora works in the folder it is started in when that holds\n"
        "the shipped documents (FinalNT.rtf), and otherwise in the learner's own folder,\n"
        "$XDG_DATA_HOME/Vasora or ~/.local/share/Vasora, filled on the first start.\n"
        "The toolkit's own options (-platform, -style, ...) are taken as well.\n");
}

QString versionText() {
    return QStringLiteral("vasora " VASORA_VERSION "\n");
}

QString usageHint() {
    return QStringLiteral(
        "Usage: vasora [OPTION]... [LAB-BOOK.rtf]\n"
        "Try 'vasora --help' for more information.\n");
}

bool openStartingLabBook(const QString& file) {
    auto* chooser = forms::get<labbook::frmLBUser>(forms::frmLBUser);
    if (!chooser) return false;
    // As the main menu's Lab Book button does before the choice: the information viewer is
    // loaded with its file, so that the book's links find their topics.
    if (appState().InfoState != kInfoLoaded && forms::registered(forms::frmInfo)) {
        forms::show(forms::frmInfo);
        forms::hide(forms::frmInfo);
    }
    if (!chooser->openLabBook(file)) return false;
    forms::hide(forms::frmMain);
    return true;
}

namespace {

class StandardErrorSeam final : public ui::DialogSeam {
  public:
    void message(QWidget*, const QString& text, const QString&) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    ui::Answer question(QWidget* parent, const QString& text, const QString& title,
                        ui::Buttons buttons) override {
        message(parent, text, title);
        switch (buttons) {
            case ui::Buttons::Ok:
                return ui::Answer::Ok;
            case ui::Buttons::YesNo:
                return ui::Answer::No;
            default:
                return ui::Answer::Cancel;
        }
    }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&,
                     ui::Replace) override {
        return {};
    }
    bool print(QWidget*, QPrinter&) override { return false; }
};

}  // namespace

void answerDialogsOnStandardError() {
    static StandardErrorSeam seam;
    ui::setSeam(&seam);
}

}  // namespace vasora::app
