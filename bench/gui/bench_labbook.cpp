// The lab book display on the offscreen platform: loading a lab book with its contents tree
// (aim 100 ms), a table button filling 30 output cells in the real control (aim 10 ms), and
// saving the book (aim 50 ms). The book is the shipped template when it is there, else a
// generated one of the same build: nine experiments, each with an introduction, a baseline
// table and a results table of 30 cells, a table of input cells and answer fields.

#include <benchmark/benchmark.h>

#include "bench/gui/GuiBenchMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>
#include <cstdio>

#include "app/AppForms.h"
#include "documents/DocSource.h"
#include "documents/RtfWriter.h"
#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "labbook/LabBookSave.h"
#include "labbook/frmDisplay.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"

using namespace vasora;

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QString tag(int code, const QString& text) {
    return QStringLiteral("[[") + QString::number(code) + QLatin1Char('|') + text +
           QStringLiteral("]]");
}

// The 30 output cells of one table T: the six compartments' boxes and the arterial pressures.
QString outputTable(int t, const QString& name) {
    const QString blank(7, QLatin1Char(' '));
    QString s = tag(10000, name) + QStringLiteral(
                                       "\n\n| Segment | P | Flow | Volume | Comp | "
                                       "Resis |\n|---|---|---|---|---|---|\n");
    const char* segments[] = {"Systemic arteries",  "Systemic veins", "Right ventricle",
                              "Pulmonary arteries", "Left ventricle", "Pulmonary veins"};
    for (int row = 1; row <= 6; ++row) {
        s += QStringLiteral("| ") + QString::fromLatin1(segments[row - 1]) + QStringLiteral(" |");
        const int columns = row == 3 || row == 5 ? 4 : 5;
        for (int c = 1; c <= 5; ++c)
            s += c <= columns ? QLatin1Char(' ') + tag(20000 + t * 1000 + row * 10 + c, blank) +
                                    QStringLiteral(" |")
                              : QStringLiteral(" - |");
        s += QLatin1Char('\n');
    }
    s += QStringLiteral("| Arterial pressure | ") + tag(20000 + t * 1000 + 101, blank) +
         QStringLiteral(" | ") + tag(20000 + t * 1000 + 102, blank) +
         QStringLiteral(" | - | - | - |\n\n") + tag(40000 + t * 1000, "Fill " + name) +
         QStringLiteral("\n\n");
    return s;
}

QString generatedSource() {
    QString s = QStringLiteral("% title: Lab Book\n% numbered: no\n\n");
    for (int e = 1; e <= 9; ++e) {
        const int t = e == 8 ? 9 : e;  // never 8, the plot table's digit
        const QString n = QString::number(e);
        s += QStringLiteral("# Experiment ") + n + QStringLiteral("\n\n");
        for (int p = 0; p < 4; ++p)
            s += QStringLiteral(
                     "A paragraph of introduction to the experiment, long enough to "
                     "wrap over two or three lines of the display. See [the "
                     "discussion](info:40") +
                 n + QStringLiteral(") and [the figure](fig:1).\n\n");
        s += QStringLiteral("## Baseline\n\n") + outputTable(t, "Table " + n + "a");
        s += QStringLiteral("## The change\n\n") + tag(10000, "Table " + n + "b") +
             QStringLiteral("\n\n| Change | Value |\n|---|---|\n| Resistance | ") +
             tag(30000 + t * 1000 + 15, QStringLiteral("  200  ")) +
             QStringLiteral(" |\n| Compliance | ") +
             tag(30000 + t * 1000 + 24, QStringLiteral("  100  ")) +
             QStringLiteral(" |\n| Heart rate | ") +
             tag(30000 + t * 1000 + 135, QStringLiteral("  72  ")) + QStringLiteral(" |\n\n") +
             tag(40000 + t * 1000, QStringLiteral("Apply")) + QStringLiteral("\n\n");
        s += QStringLiteral("Prediction: {{It rises.}}\n\n## Results\n\n") +
             outputTable(t, "Table " + n + "c") +
             QStringLiteral("Conclusion: {{As predicted.}}\n\n") +
             tag(70000, QStringLiteral("Restart")) + QLatin1Char(' ') +
             tag(54000, QStringLiteral("Save my lab book")) + QStringLiteral("\n\n");
    }
    return s;
}

// The book every benchmark loads: the shipped template, else the generated one.
QString book() {
    static const QString path = [] {
        const QString shipped = QStringLiteral(VASORA_SOURCE_DIR "/content/FinalLB.rtf");
        if (QFileInfo::exists(shipped)) return shipped;
        QTextDocument doc;
        const documents::SourceResult r =
            documents::compileSource({{QStringLiteral("book.vtx"), generatedSource()}}, doc);
        for (const documents::SourceProblem& p : r.problems)
            std::fprintf(stderr, "generated book: %s\n", qPrintable(p.toString()));
        const QString file = folder().filePath(QStringLiteral("generated.rtf"));
        QSaveFile f(file);
        const QByteArray data = documents::writeRtf(doc);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(data);
            f.commit();
        }
        return file;
    }();
    return path;
}

// A fresh program with the book chosen, the model window primed as the main menu's load does.
void freshProgram() {
    forms::reset();
    registerAllForms();
    appState() = AppState{};
    fixProjectPaths(QStringLiteral(VASORA_SOURCE_DIR "/content/"));
    appState().LabBookTreeShown = true;
    forms::get(forms::frmCVModel);
    appState().LabBookFile = book();
    appState().LabBookState = kLabBookChosen;
    appState().OwnLabBook = 1;
}

labbook::frmDisplay* shownDisplay() {
    freshProgram();
    auto* d = forms::get<labbook::frmDisplay>(forms::frmDisplay);
    d->resize(900, 700);
    d->show();
    QApplication::processEvents();
    return d;
}

void LoadTheLabBookWithItsTree(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        freshProgram();
        st.ResumeTiming();
        auto* d = forms::get<labbook::frmDisplay>(forms::frmDisplay);  // its load step runs
        benchmark::DoNotOptimize(d->tree()->topLevelItemCount());
        st.PauseTiming();
        if (appState().LabBookState != kLabBookLoaded) st.SkipWithError("the book did not load");
        QApplication::processEvents();
        st.ResumeTiming();
    }
    st.SetLabel(QFileInfo(book()).fileName().toStdString());
}
BENCHMARK(LoadTheLabBookWithItsTree)->Unit(benchmark::kMillisecond);

void ATableButtonFillsThirtyCells(benchmark::State& st) {
    auto* d = shownDisplay();
    documents::ScrivoControl& c = *d->text();
    // The first button of a table of output cells.
    documents::TagSpan button;
    for (const documents::TagSpan& t : documents::allTags(*c.document()))
        if (t.code / 10000 == 4 && t.code != 48000) {
            button = t;
            break;
        }
    if (!button.valid()) st.SkipWithError("no table button");
    int cells = 0;
    for (auto _ : st) {
        st.PauseTiming();
        c.ensureCursorVisible();
        QTextCursor at(c.document());
        at.setPosition(button.start + 1);
        c.setTextCursor(at);
        c.ensureCursorVisible();
        QApplication::processEvents();
        const QPoint where = c.cursorRect(at).center();
        st.ResumeTiming();
        // The learner's click, the table filled, and the control drawn again.
        QTest::mouseClick(c.viewport(), Qt::LeftButton, {}, where);
        QApplication::processEvents();
        st.PauseTiming();
        // The cells of the button's table that hold a value now.
        cells = 0;
        for (const documents::TagSpan& t : documents::allTags(*c.document()))
            if (t.code / 10000 == 2 && t.start < button.start &&
                !documents::tagText(*c.document(), t).trimmed().isEmpty())
                ++cells;
        if (cells == 0) st.SkipWithError("the click filled no cell");
        st.ResumeTiming();
    }
    st.counters["cells"] = cells;
}
BENCHMARK(ATableButtonFillsThirtyCells)->Unit(benchmark::kMillisecond);

void SaveTheLabBook(benchmark::State& st) {
    auto* d = shownDisplay();
    // The save goes to a copy, so the book benchmarked stays as it is.
    const QString copy = folder().filePath(QStringLiteral("saved.rtf"));
    QFile::remove(copy);
    QFile::copy(book(), copy);
    appState().LabBookFile = copy;
    d->forgetLoaded();
    appState().LabBookState = kLabBookChosen;
    d->loadChosen();
    for (auto _ : st) {
        if (labbook::saveLabBook(*d) != labbook::SaveResult::Saved)
            st.SkipWithError("the book was not saved");
    }
    st.counters["bytes"] = double(QFileInfo(copy).size());
}
BENCHMARK(SaveTheLabBook)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vasora::bench::runGuiBenchmarks(argc, argv);
}
