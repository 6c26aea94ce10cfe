// Playing a lab book without windows: every table button and restart tag from top to bottom,
// the play directives, the report; and the shipped sample, which is the template played.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>

#include "documents/DocCheck.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "labbook/LabBookPlay.h"
#include "labbook/TableWalk.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "tests/labbook/LabBookDocs.h"

using namespace vasora;
using test::cellOf;
using test::compileBook;

namespace {

double number(const QString& s) {
    return s.trimmed().toDouble();
}

// The document as it is written and read back, as the sample goes through its files.
std::unique_ptr<QTextDocument> throughFile(const QTextDocument& doc) {
    auto back = std::make_unique<QTextDocument>();
    EXPECT_TRUE(documents::readRtf(documents::writeRtf(doc), *back).clean());
    return back;
}

QString shipped(const QString& name) {
    return qEnvironmentVariable("VASORA_SOURCE_DIR") + QStringLiteral("/content/") + name;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Play, ClicksEveryTableAndRestartFromTopToBottom) {
    auto doc = compileBook(test::courseSource());
    const labbook::PlayResult r = labbook::playLabBook(*doc);
    ASSERT_EQ(r.steps.size(), 4u);
    EXPECT_EQ(r.steps[0].kind, labbook::PlayStep::Restart);
    EXPECT_EQ(r.steps[1].click.name, "Table 1");
    EXPECT_EQ(r.steps[1].click.outputs, 3);
    EXPECT_EQ(r.steps[2].click.name, "Table 2a");
    EXPECT_EQ(r.steps[2].click.inputs, 2);
    // After an input table AutoRun settles the circulation before the results are copied.
    EXPECT_TRUE(r.steps[2].ranToEquilibrium);
    EXPECT_TRUE(r.steps[2].equilibrium);
    // The load, the restart and the two cells ran 0.4 minutes; AutoRun ran on from there.
    EXPECT_GT(r.steps[2].modelTime, 0.45);
    EXPECT_EQ(r.steps[3].click.name, "Table 2b");
    EXPECT_TRUE(r.messages().isEmpty()) << r.messages().join('\n').toStdString();
    // Twice the resistance: a higher arterial pressure and a lower cardiac output than at
    // baseline, the flows in balance.
    const double map0 = number(cellOf(*doc, 21011)), map1 = number(cellOf(*doc, 22011));
    const double co0 = number(cellOf(*doc, 21052)), co1 = number(cellOf(*doc, 22052));
    EXPECT_GT(map0, 80);
    EXPECT_GT(map1, map0 + 10);
    EXPECT_LT(co1, co0);
    EXPECT_NEAR(co0, 5500, 50);
    // The links, figures, answers and the save tag are left alone.
    EXPECT_EQ(cellOf(*doc, 61000), QString(12, QChar(0x00A0)));

    const QString report = labbook::playReport(r);
    EXPECT_TRUE(report.contains("restart")) << report.toStdString();
    EXPECT_TRUE(report.contains("table 1 \"Table 1\": 3 output cell(s) filled"));
    EXPECT_TRUE(report.contains("r1c1=" + cellOf(*doc, 21011).trimmed()));
    EXPECT_TRUE(report.contains("table 2 \"Table 2a\": 2 input cell(s) applied bottom to top"));
    EXPECT_TRUE(report.contains("r1c4=100 r1c5=200"));
    EXPECT_TRUE(report.contains("AutoRun: flows equal at"));
}

TEST(Play, PlayingIsRepeatableAndReplayingAPlayedBookGivesTheSameBytes) {
    auto a = compileBook(test::courseSource());
    auto b = compileBook(test::courseSource());
    labbook::playLabBook(*a);
    labbook::playLabBook(*b);
    const QByteArray once = documents::writeRtf(*a);
    EXPECT_EQ(once, documents::writeRtf(*b));
    auto again = throughFile(*a);
    labbook::playLabBook(*again);
    EXPECT_EQ(documents::writeRtf(*again), once);
}

TEST(Play, TheDirectivesTickAndUntickSeparateHeartRates) {
    const QString table = QStringLiteral(
        "[[10000|AV block]]\n"
        "| LV rate | [[35145|  50  ]] |\n"
        "[[45000|Apply]]\n"
        "[[10000|Rates]]\n"
        "| RV | [[25135|       ]] | LV | [[25145|       ]] |\n"
        "[[45000|Fill]]\n");
    auto ticked = compileBook(
        QStringLiteral("[[00001|(Now tick \"separate RV and LV Heart Rates\" in Options.)]]\n") +
        table + QStringLiteral("[[00002|(Untick it again.)]]\n[[70000|Restart]]\n"));
    const labbook::PlayResult r = labbook::playLabBook(*ticked);
    ASSERT_EQ(r.steps.size(), 5u);
    EXPECT_EQ(r.steps[0].kind, labbook::PlayStep::TickAVBlock);
    EXPECT_EQ(r.steps[3].kind, labbook::PlayStep::UntickAVBlock);
    EXPECT_TRUE(r.messages().isEmpty()) << r.messages().join('\n').toStdString();
    EXPECT_EQ(number(cellOf(*ticked, 25145)), 50);
    EXPECT_EQ(number(cellOf(*ticked, 25135)), 72);
    EXPECT_EQ(model::state().AVBlock, 0);
    EXPECT_TRUE(labbook::playReport(r).contains("separate RV and LV heart rates ticked"));

    // Without the directive the left rate is refused, and the report says so.
    auto unticked = compileBook(table);
    const labbook::PlayResult u = labbook::playLabBook(*unticked);
    ASSERT_EQ(u.messages().size(), 1);
    EXPECT_TRUE(u.messages()[0].contains("separate RV and LV Heart Rates"));
    EXPECT_EQ(number(cellOf(*unticked, 25145)), 72);
    EXPECT_TRUE(labbook::playReport(u).contains("message: "));
}

TEST(Play, TheReflexDirectivesSwitchTheReflexAndItsEffectorsWhereTheBookSays) {
    // A hemorrhage of 1000 ml, filled with the arterial pressure (r1c1) and the heart rate
    // (r13c5) and the left ventricle's Emax (r12c5).
    const QString bleed = QStringLiteral(
        "[[10000|Bleed]]\n"
        "| Blood | [[35155| -1000 ]] |\n"
        "[[45000|Apply]]\n"
        "[[10000|After]]\n"
        "| [[25011|       ]] | [[25135|       ]] | [[25125|       ]] |\n"
        "[[45000|Fill]]\n");
    auto none = compileBook(QStringLiteral("[[70000|Restart]]\n") + bleed);
    const labbook::PlayResult n = labbook::playLabBook(*none);
    EXPECT_TRUE(n.messages().isEmpty()) << n.messages().join('\n').toStdString();
    const double psaNone = number(cellOf(*none, 25011));

    auto all = compileBook(QStringLiteral("[[00003|Tick the reflex.]]\n[[70000|Restart]]\n") +
                           bleed + QStringLiteral("[[00004|Untick it.]]\n"));
    const labbook::PlayResult a = labbook::playLabBook(*all);
    ASSERT_EQ(a.steps.size(), 5u);
    EXPECT_EQ(a.steps[0].kind, labbook::PlayStep::Reflex);
    EXPECT_TRUE(a.steps[0].reflex.on);
    EXPECT_EQ(a.steps[4].kind, labbook::PlayStep::Reflex);
    EXPECT_FALSE(a.steps[4].reflex.on);
    EXPECT_TRUE(a.messages().isEmpty()) << a.messages().join('\n').toStdString();
    // The reflex survives the restart and holds the pressure far above the bare model's: the
    // heart beats faster and stronger.
    const double psaAll = number(cellOf(*all, 25011));
    EXPECT_GT(psaAll, psaNone + 20);
    EXPECT_GT(number(cellOf(*all, 25135)), 80);
    EXPECT_GT(number(cellOf(*all, 25125)), 100);
    // Code 4 leaves the reflex off with its four effectors ticked again, as the program starts.
    EXPECT_EQ(model::state().Reflex.options, model::ReflexOptions{});
    const QString report = labbook::playReport(a);
    EXPECT_TRUE(
        report.contains("baroreceptor reflex ticked with heart rate, contractility, "
                        "arterial resistance, venous tone"))
        << report.toStdString();
    EXPECT_TRUE(report.contains("baroreceptor reflex unticked"));

    // Code 11: the heart rate alone. It rises, the contractility stays at its base, and the
    // pressure comes back less far than with all four effectors.
    auto rate =
        compileBook(QStringLiteral("[[00011|Heart rate only.]]\n[[70000|Restart]]\n") + bleed);
    const labbook::PlayResult h = labbook::playLabBook(*rate);
    ASSERT_EQ(h.steps[0].kind, labbook::PlayStep::Reflex);
    EXPECT_EQ(h.steps[0].reflex.effector, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_GT(number(cellOf(*rate, 25135)), 80);
    EXPECT_EQ(number(cellOf(*rate, 25125)), 100);
    const double psaRate = number(cellOf(*rate, 25011));
    EXPECT_GT(psaRate, psaNone);
    EXPECT_LT(psaRate, psaAll);
    EXPECT_TRUE(labbook::playReport(h).contains("baroreceptor reflex ticked with heart rate\n"));

    // Codes 14 and 15: venous tone alone is a directive; 15 is none and does nothing.
    model::ReflexOptions o;
    EXPECT_TRUE(labbook::reflexDirective(14, o));
    EXPECT_EQ(o.effector, (std::array<bool, 4>{false, false, false, true}));
    EXPECT_FALSE(labbook::reflexDirective(15, o));
    EXPECT_FALSE(labbook::reflexDirective(10, o));
    EXPECT_FALSE(labbook::reflexDirective(2, o));
    auto unknown = compileBook(QStringLiteral("[[00015|Nothing.]]\n[[70000|Restart]]\n"));
    EXPECT_EQ(labbook::playLabBook(*unknown).steps.size(), 1u);
    EXPECT_FALSE(model::state().Reflex.options.on);
}

TEST(Play, ThePlotTableIsReportedAfterEachRowIsAppliedAndRecorded) {
    auto doc = compileBook(test::plotSource(3, false));
    const labbook::PlayResult r = labbook::playLabBook(*doc);
    // Three rows of apply and record, then the plot.
    ASSERT_EQ(r.steps.size(), 7u);
    const labbook::PlayStep& plot = r.steps.back();
    ASSERT_TRUE(plot.click.plot());
    ASSERT_EQ(plot.plotBoxes.size(), 11u);
    EXPECT_EQ(plot.plotBoxes[10][0].trimmed(), "70");
    EXPECT_EQ(plot.plotBoxes[10][1], cellOf(*doc, 27052, 2));
    EXPECT_EQ(plot.plotBoxes[8][0].trimmed(), "30");
    // Faster hearts pump more here, far from the rates where filling runs short.
    EXPECT_GT(number(plot.plotBoxes[10][1]), number(plot.plotBoxes[8][1]));
    EXPECT_TRUE(labbook::playReport(r).contains("plot table \"Heart rate curve\", 9 cells"));
}

// The shipped lab books: the template compiled from its source, and the sample made from the
// same source with its answers and every table clicked. They come from the lab book's author;
// until the source is there, there is nothing to check.
TEST(ShippedLabBooks, TheSampleIsTheTemplatePlayedWithItsAnswers) {
    const QString source = shipped(QStringLiteral("src/FinalLB.vtx"));
    if (!QFileInfo::exists(source))
        GTEST_SKIP() << "content/src/FinalLB.vtx, the lab books' source, is not in the "
                        "repository yet; its author delivers it with FinalLB.rtf and Explore.rtf";
    documents::SourceResult read;
    const QList<documents::SourceFile> files = documents::readSourcePath(source, read);
    ASSERT_TRUE(read.ok());
    QTextDocument templ, sample;
    ASSERT_TRUE(documents::compileSource(files, templ).ok());
    ASSERT_TRUE(documents::compileSource(files, sample, documents::SourceVariant::Sample).ok());
    EXPECT_EQ(documents::writeRtf(templ), bytesOf(shipped(QStringLiteral("FinalLB.rtf"))))
        << "content/FinalLB.rtf is not the compiled source: vasora-rtf compile "
           "content/src/FinalLB.vtx content/FinalLB.rtf";

    // The sample goes through its file before it is played, as vasora-rtf does.
    auto played = throughFile(sample);
    const labbook::PlayResult r = labbook::playLabBook(*played);
    EXPECT_TRUE(r.messages().isEmpty()) << r.messages().join('\n').toStdString();
    for (const labbook::PlayStep& s : r.steps) {
        if (!s.ranToEquilibrium) continue;
        EXPECT_TRUE(s.equilibrium) << "the table at paragraph " << s.paragraph
                                   << " does not reach equilibrium (model time " << s.modelTime
                                   << " min): a Restart before it would";
    }
    const QByteArray explore = bytesOf(shipped(QStringLiteral("Explore.rtf")));
    EXPECT_EQ(documents::writeRtf(*played), explore)
        << "content/Explore.rtf is not the sample played: vasora-rtf compile --sample "
           "content/src/FinalLB.vtx tmp.rtf, then vasora-rtf play tmp.rtf content/Explore.rtf";

    // Replaying the sample finds the very values it holds.
    QTextDocument replay;
    ASSERT_TRUE(documents::readRtf(explore, replay).clean());
    labbook::playLabBook(replay);
    EXPECT_EQ(documents::writeRtf(replay), explore);

    // Both books pass the document checker.
    QTextDocument info;
    ASSERT_TRUE(documents::readRtf(bytesOf(shipped(QStringLiteral("FinalNT.rtf"))), info).clean());
    for (const QTextDocument* d : {static_cast<const QTextDocument*>(&templ),
                                   static_cast<const QTextDocument*>(played.get())}) {
        const QStringList problems = documents::checkDocument({d, shipped({}), &info});
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    }
}
