#include "labbook/LabBookTagEvent.h"

#include <QApplication>

#include "core/TagCodes.h"
#include "documents/ScrivoControl.h"
#include "documents/frmImage.h"
#include "documents/frmInfo.h"
#include "labbook/LabBookActions.h"
#include "labbook/LabBookSave.h"
#include "labbook/TableWalk.h"
#include "labbook/frmDisplay.h"
#include "model/Vasora_Model_coding.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"

namespace vasora::labbook {

namespace {

using documents::ScrivoControl;

void tableButton(ScrivoControl& c) {
    const documents::TagSpan button = c.currentTag();
    if (!button.valid()) return;
    // A book of thousands of wrong cells brings up a few of each message, then a question.
    ui::RepeatedMessages repeats;
    const TableClick click = clickTableButton(*c.document(), button);
    if (click.plot()) {
        // The curve is drawn from the boxes the table filled, as the window's Plot button does.
        model::view().showWindow(model::Window::Plot);
        model::view().click(model::Window::Plot, "cmdPlot");
        QApplication::processEvents();
    }
}

void followLink(int code, QWidget* parent) {
    // The information viewer loads its file the first time it is asked for.
    auto* info = forms::get<documents::frmInfo>(forms::frmInfo);
    if (!info) return;
    if (!info->showAnchor(code))
        ui::messageBox(QStringLiteral("No matching tag: ") + QString::number(code),
                       QStringLiteral("Note"), parent);
}

// Kind 5. Returns whether the closing steps follow.
bool linkFigureOrSave(frmDisplay& d, int code, int p2, int p3) {
    switch (p2) {
        case 1:
            followLink(code, &d);
            return true;
        case 3:
            return documents::ShowFigure(p3, documents::FigureSource::LabBook);
        case 4:
            if (isExploreName()) {
                ui::messageBox(QString::fromLatin1(kDoNotSaveExplore), {}, &d);
                return false;
            }
            if (appState().OwnLabBook == 0) {
                ui::messageBox(QString::fromLatin1(kDoNotSaveExplore), {}, &d);
                return true;
            }
            saveWithNotice(d);
            return true;
        default:
            return true;
    }
}

}  // namespace

void labBookTagEvent(frmDisplay& d) {
    ScrivoControl& c = *d.text();
    DisplayState& st = d.state();
    const qint32 p = c.CursorPara();
    const qint16 ch = c.CursorChar();
    st.RememberedPara = p;
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(c, p, ch, x, y);
    st.RememberedOffset = y - c.ScrollTop();
    const qint32 code = c.ClickedTag();
    // The parts stay 0 for a code out of range, which then does nothing.
    std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
    if (!SplitTag(code, kind, p2, p3, p4))
        ui::messageBox(QString::fromStdString(splitTagError(code)), {}, &d);

    bool closing = true;
    switch (kind) {
        case kTagTableButton:
            tableButton(c);
            break;
        case kTagLink:
            closing = linkFigureOrSave(d, code, p2, p3);
            break;
        case kTagInputField:
            st.FieldStart = c.CursorChar();
            st.FieldLength = qint16(c.RangeLength());
            break;
        case kTagRestart:
            restartFromLabBook();
            break;
        default:
            break;
    }
    if (!closing) return;
    if (kind == kTagOutputCell || kind == kTagTableButton) {
        // On to the start of the second paragraph below: past the table's button, where the
        // learner reads on.
        c.setCursorPara(p + 2);
        c.setCursorChar(0);
    } else if (kind >= kTagInputCell) {
        // Back to the click; in an input cell the learner goes on typing there.
        c.setCursorPara(p);
        c.setCursorChar(ch);
    }
}

}  // namespace vasora::labbook
