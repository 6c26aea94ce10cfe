#pragma once

// Saving the learner's lab book: the whole document of the display to LabBookFile, written to
// a temporary file that then replaces the book, so a failed or interrupted save leaves the book
// as it was last saved. The sample book and the template are never written.

#include <QString>

class QWidget;

namespace vasora::labbook {

class frmDisplay;

inline constexpr const char* kDoNotSaveExplore = "Please do NOT try to save 'Explore'";

/// Whether the chosen lab book goes by the sample's name, "Explore", in any letter case.
bool isExploreName();

enum class SaveResult {
    Saved,
    NothingToSave,  ///< the display holds no complete lab book, or it is a shipped file
    Failed,         ///< the file could not be written; the learner has been told
};

/// The save sequence on the display's control. The shipped sample and template are refused with
/// a message, and so is a book the display did not read completely.
SaveResult saveLabBook(frmDisplay& display);

/// The save of the save tag: the busy notice around the save sequence.
SaveResult saveWithNotice(frmDisplay& display);

/// Before the display opens the lab book `chosen` in place of the learner's own book, which has
/// changed since it was saved, the learner is asked whether to save it first. Returns false
/// when the learner cancels, or the save fails: the other book is then not opened.
bool offerToSaveBefore(const QString& chosen, QWidget* parent);

/// Why the file `path` cannot be opened as a lab book (missing, unreadable, a folder, not a
/// rich-text file), in words for the learner; empty when it can.
QString whyNotALabBook(const QString& path);

/// Whether `a` and `b` name the same existing file.
bool sameFile(const QString& a, const QString& b);

}  // namespace vasora::labbook
