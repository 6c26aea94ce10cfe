#include "labbook/LabBookPlay.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <array>

#include "core/TagCodes.h"
#include "labbook/CV_Tags.h"
#include "labbook/LabBookActions.h"
#include "model/RecordingView.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"
#include "options/RunOptions.h"
#include "workbench/CVModelActions.h"

namespace vasora::labbook {

namespace {

using documents::TagSpan;
using model::Window;

// The engine writes into this view while the book plays, and the view in force before comes
// back afterwards.
class PlayView final {
  public:
    PlayView() : m_before(&model::view()) { model::setView(&view); }
    ~PlayView() { model::setView(m_before); }
    PlayView(const PlayView&) = delete;
    PlayView& operator=(const PlayView&) = delete;

    /// The messages since the last call, without the reminders to run on to equilibrium.
    QStringList takeMessages() {
        QStringList out;
        for (; m_seen < view.messages.size(); ++m_seen)
            if (view.messageTitles[m_seen] != kEquilibriumTitle)
                out << QString::fromStdString(view.messages[m_seen]);
        return out;
    }

    model::RecordingView view;

  private:
    model::ModelView* m_before;
    std::size_t m_seen = 0;
};

std::int16_t kindOf(int code) {
    std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
    SplitTag(code, kind, p2, p3, p4);
    return kind;
}

QString cellName(int code) {
    std::int16_t kind = 0, t = 0, row = 0, column = 0;
    SplitTag(code, kind, t, row, column);
    return QStringLiteral("r%1c%2").arg(row).arg(column);
}

QString reflexText(const model::ReflexOptions& o) {
    if (!o.on) return QStringLiteral("baroreceptor reflex unticked");
    QStringList on;
    for (std::size_t i = 0; i < o.effector.size(); ++i) {
        const std::string_view name = model::reflexEffectors()[i].name;
        if (o.effector[i]) on << QString::fromLatin1(name.data(), qsizetype(name.size())).toLower();
    }
    return QStringLiteral("baroreceptor reflex ticked with ") + on.join(QStringLiteral(", "));
}

}  // namespace

bool reflexDirective(int code, model::ReflexOptions& options) {
    model::ReflexOptions o;
    if (code == kReflexOff) {
        o.on = false;
    } else if (code == kReflexOn) {
        o.on = true;
    } else if (code > kReflexOnlyEffector && code <= kReflexOnlyEffector + model::kEffectors) {
        o.on = true;
        o.effector.fill(false);
        o.effector[std::size_t(code - kReflexOnlyEffector - 1)] = true;
    } else {
        return false;
    }
    options = o;
    return true;
}

QStringList PlayResult::messages() const {
    QStringList all;
    for (const PlayStep& s : steps) all << s.messages;
    return all;
}

PlayResult playLabBook(QTextDocument& doc) {
    PlayView play;
    PlayResult result;
    // The program as it starts: the model window's load steps make the first run, and the
    // options window's box for separate heart rates is unticked.
    model::resetState();
    workbench::loadModelWindow();
    play.takeMessages();

    for (TagSpan t = documents::findTag(doc, 0, 1, true, 0); t.valid();) {
        // The cells above a button change length as they are filled; a cursor after the tag
        // moves with them, so the walk goes on where this tag now ends.
        QTextCursor after(&doc);
        after.setPosition(t.end());
        PlayStep step;
        step.paragraph = doc.findBlock(t.start).blockNumber();
        bool acted = true;
        switch (kindOf(t.code)) {
            case kTagTableButton:
                step.kind = PlayStep::Table;
                step.click = clickTableButton(doc, t);
                if (step.click.plot()) {
                    for (int i = 0; i < 11; ++i) {
                        std::array<QString, 3> row;
                        for (int axis = 0; axis < 3; ++axis) {
                            const std::string box = std::string(1, "XYZ"[axis]);
                            row[std::size_t(axis)] = QString::fromStdString(play.view.captionOf(
                                Window::Plot, "txt" + box + "(" + std::to_string(i) + ")"));
                        }
                        step.plotBoxes.push_back(row);
                    }
                } else if (step.click.inputs > 0) {
                    step.ranToEquilibrium = true;
                    step.equilibrium = runUntilEquilibrium();
                    step.modelTime = model::state().ModelTime;
                }
                break;
            case kTagRestart:
                step.kind = PlayStep::Restart;
                restartFromLabBook();
                break;
            case kTagNone:
                if (t.code == kTickAVBlock || t.code == kUntickAVBlock) {
                    step.kind =
                        t.code == kTickAVBlock ? PlayStep::TickAVBlock : PlayStep::UntickAVBlock;
                    options::setAVBlock(t.code == kTickAVBlock);
                } else if (reflexDirective(t.code, step.reflex)) {
                    step.kind = PlayStep::Reflex;
                    options::setReflex(step.reflex);
                } else {
                    acted = false;
                }
                break;
            default:
                acted = false;
                break;
        }
        if (acted) {
            step.messages = play.takeMessages();
            result.steps.push_back(std::move(step));
        }
        t = documents::findTag(doc, after.position(), 1, true, 0);
    }
    return result;
}

QString playReport(const PlayResult& result) {
    QString out;
    for (const PlayStep& s : result.steps) {
        const QString where = QStringLiteral("paragraph %1: ").arg(s.paragraph);
        switch (s.kind) {
            case PlayStep::Restart:
                out += where + QStringLiteral("restart\n");
                break;
            case PlayStep::TickAVBlock:
                out += where + QStringLiteral("separate RV and LV heart rates ticked\n");
                break;
            case PlayStep::UntickAVBlock:
                out += where + QStringLiteral("separate RV and LV heart rates unticked\n");
                break;
            case PlayStep::Reflex:
                out += where + reflexText(s.reflex) + QLatin1Char('\n');
                break;
            case PlayStep::Table: {
                const TableClick& c = s.click;
                if (c.plot()) {
                    out += where + QStringLiteral("plot table \"%1\", %2 cells\n")
                                       .arg(c.name)
                                       .arg(c.plotCells);
                    out += QStringLiteral("  index  txtX      txtY      txtZ\n");
                    for (std::size_t i = 0; i < s.plotBoxes.size(); ++i)
                        out += QStringLiteral("  %1  %2 %3 %4\n")
                                   .arg(i, 5)
                                   .arg(s.plotBoxes[i][0].trimmed(), -9)
                                   .arg(s.plotBoxes[i][1].trimmed(), -9)
                                   .arg(s.plotBoxes[i][2].trimmed());
                    break;
                }
                out += where + QStringLiteral("table %1 \"%2\": ").arg(c.table).arg(c.name);
                if (c.inputs > 0)
                    out += QStringLiteral("%1 input cell(s) applied bottom to top").arg(c.inputs);
                if (c.inputs > 0 && c.outputs > 0) out += QStringLiteral(", ");
                if (c.outputs > 0) out += QStringLiteral("%1 output cell(s) filled").arg(c.outputs);
                if (c.inputs == 0 && c.outputs == 0) out += QStringLiteral("no cells");
                out += QLatin1Char('\n');
                // The cells in the order they stand in the book.
                QStringList cells;
                for (auto it = c.cells.rbegin(); it != c.cells.rend(); ++it)
                    cells << cellName(it->code) + QLatin1Char('=') + it->text.trimmed();
                if (!cells.isEmpty())
                    out += QStringLiteral("  ") + cells.join(QLatin1Char(' ')) + QLatin1Char('\n');
                if (s.ranToEquilibrium)
                    out += s.equilibrium ? QStringLiteral("  AutoRun: flows equal at %1 min\n")
                                               .arg(s.modelTime, 0, 'f', 3)
                                         : QStringLiteral("  AutoRun: flows NOT equal at %1 min\n")
                                               .arg(s.modelTime, 0, 'f', 3);
                break;
            }
        }
        for (const QString& m : s.messages)
            out += QStringLiteral("  message: ") +
                   QString(m).replace(QStringLiteral("\r\n"), QStringLiteral(" / ")) +
                   QLatin1Char('\n');
    }
    return out;
}

}  // namespace vasora::labbook
