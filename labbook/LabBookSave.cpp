#include "labbook/LabBookSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/FileLookup.h"
#include "documents/BusyWindows.h"
#include "documents/RtfReader.h"
#include "documents/ScrivoControl.h"
#include "labbook/frmDisplay.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"

namespace vasora::labbook {

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

QString whyNotALabBook(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.exists())
        return QStringLiteral("The lab book %1 was not found in %2.")
            .arg(name, QDir::toNativeSeparators(info.absolutePath()));
    if (!info.isFile()) return QStringLiteral("%1 is a folder, not a lab book.").arg(name);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("The lab book %1 could not be opened: %2.")
            .arg(name, f.errorString());
    // The reader's own test. Anything else is not a lab book, whatever its name.
    if (documents::rtfStart(f.read(4096)) < 0)
        return QStringLiteral("The file %1 is not a lab book: it is not a rich-text (RTF) file.")
            .arg(name);
    return {};
}

bool isExploreName() {
    return appState().LabBookName.compare(QStringLiteral("Explore"), Qt::CaseInsensitive) == 0;
}

SaveResult saveLabBook(frmDisplay& display) {
    const AppState& a = appState();
    const QString file = existingPath(a.LabBookFile);
    // The shipped files are shared by every learner: the sample under any name it was opened
    // by, the template always.
    if (sameFile(file, existingPath(a.ProjectPath + QStringLiteral("Explore.rtf")))) {
        ui::messageBox(QString::fromLatin1(kDoNotSaveExplore), {}, &display);
        return SaveResult::NothingToSave;
    }
    if (sameFile(file, existingPath(a.LabBookTemplate))) {
        ui::messageBox(QStringLiteral("%1 is the template every lab book is copied from; it is "
                                      "never changed.\nUse \"Save New File\" to make your own "
                                      "copy of it.")
                           .arg(QFileInfo(file).fileName()),
                       {}, &display);
        return SaveResult::NothingToSave;
    }
    // Only the book the display read completely is written back: an empty display, or one
    // showing part of a damaged file, would replace the learner's work.
    // A book whose folder has gone since it was loaded is still the book loaded: the save then
    // fails and says so.
    const bool loaded =
        !display.loadedFile().isEmpty() &&
        (sameFile(file, display.loadedFile()) ||
         QFileInfo(file).absoluteFilePath() == QFileInfo(display.loadedFile()).absoluteFilePath());
    if (!loaded) {
        ui::messageBox(QStringLiteral("The lab book %1 is not open in the Lab Book Display, so "
                                      "it was not saved.")
                           .arg(QFileInfo(a.LabBookFile).fileName()),
                       {}, &display);
        return SaveResult::NothingToSave;
    }
    documents::ScrivoControl& c = *display.text();
    c.setFileName(file);
    c.setFileFormat(documents::kFormatRichText);
    c.setRangeStart(0);
    c.setRangeLength(c.TextLength());
    const bool saved = c.setSaveNow(1);
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

SaveResult saveWithNotice(frmDisplay& display) {
    documents::BusyNotice busy;
    return saveLabBook(display);
}

bool offerToSaveBefore(const QString& chosen, QWidget* parent) {
    auto* d = forms::existing<frmDisplay>(forms::frmDisplay);
    if (!d || appState().OwnLabBook != 1 || !d->changedSinceSaved()) return true;
    if (sameFile(existingPath(chosen), d->loadedFile())) return true;
    const ui::Answer a =
        ui::ask(QStringLiteral("Your Lab Book %1 has changed since it was saved.\nSave the changes "
                               "before another Lab Book is opened?")
                    .arg(QFileInfo(d->loadedFile()).fileName()),
                {}, ui::Buttons::YesNoCancel, parent);
    if (a == ui::Answer::No) return true;
    if (a != ui::Answer::Yes) return false;
    return saveLabBook(*d) != SaveResult::Failed;
}

}  // namespace vasora::labbook
