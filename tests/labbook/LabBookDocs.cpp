#include "tests/labbook/LabBookDocs.h"

#include <gtest/gtest.h>

#include <QSaveFile>

#include "documents/RtfWriter.h"

namespace vasora::test {

std::unique_ptr<QTextDocument> compileBook(const QString& source,
                                           documents::SourceVariant variant) {
    auto doc = std::make_unique<QTextDocument>();
    const documents::SourceResult r =
        documents::compileSource({{QStringLiteral("book.vtx"), source}}, *doc, variant);
    for (const documents::SourceProblem& p : r.problems)
        ADD_FAILURE() << p.toString().toStdString();
    return doc;
}

bool writeBook(const QTextDocument& doc, const QString& path) {
    QSaveFile f(path);
    const QByteArray data = documents::writeRtf(doc);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit();
}

std::vector<documents::TagSpan> tagsWithCode(const QTextDocument& doc, int code) {
    std::vector<documents::TagSpan> out;
    for (const documents::TagSpan& t : documents::allTags(doc))
        if (t.code == code) out.push_back(t);
    return out;
}

QString cellOf(const QTextDocument& doc, int code, std::size_t nth) {
    const auto tags = tagsWithCode(doc, code);
    return nth < tags.size() ? documents::tagText(doc, tags[nth]) : QStringLiteral("<none>");
}

QString courseSource() {
    return QStringLiteral(
        "% title: A short course\n"
        "% numbered: no\n"
        "# The normal circulation\n"
        "Read about it [in the information file](info:401) and look at the "
        "[pressures](fig:1).\n"
        "\n"
        "[[70000|Restart the model]]\n"
        "\n"
        "[[10000|Table 1]] Baseline\n"
        "\n"
        "| Quantity | Value |\n"
        "|---|---|\n"
        "| Mean arterial pressure | [[21011|       ]] |\n"
        "| Cardiac output | [[21052|       ]] |\n"
        "| Left ventricular EDV | [[21053|       ]] |\n"
        "\n"
        "[[41000|Fill Table 1 from the model]]\n"
        "\n"
        "Your prediction: {{The pressure rises.}}\n"
        "\n"
        "## Systemic arterial resistance\n"
        "[[10000|Table 2a]] Changes\n"
        "\n"
        "| Change | Value |\n"
        "|---|---|\n"
        "| Compliance of the systemic arteries, % of normal | [[32014|  100  ]] |\n"
        "| Resistance of the systemic arteries, % of normal | [[32015|  200  ]] |\n"
        "\n"
        "[[42000|Apply Table 2a to the model]]\n"
        "\n"
        "[[10000|Table 2b]] Results\n"
        "\n"
        "| Quantity | Value |\n"
        "|---|---|\n"
        "| Mean arterial pressure | [[22011|       ]] |\n"
        "| Cardiac output | [[22052|       ]] |\n"
        "\n"
        "[[42000|Fill Table 2b from the model]]\n"
        "\n"
        "[[54000|Save my lab book]]\n");
}

QString plotSource(int rows, bool filled) {
    QString s = QStringLiteral(
        "# Heart rate and cardiac output\n[[80000|Heart rate curve]]\n\n"
        "| Heart rate | Cardiac output | Stroke volume |\n|---|---|---|\n");
    for (int i = 0; i < rows; ++i) {
        const int hr = 30 + 20 * i;
        const QString y = filled ? QString::number(1000 + i) : QStringLiteral("       ");
        const QString z = filled ? QString::number(50 + i) : QStringLiteral("       ");
        s += QStringLiteral(
                 "| [[10000|%1]] HR [[36135|  %1  ]] [[46000|Apply]] | "
                 "[[27052|%2]] | [[27121|%3]] [[47000|Record]] |\n")
                 .arg(hr)
                 .arg(y, z);
    }
    s += QStringLiteral("\n[[48000|Plot the curve]]\n");
    return s;
}

}  // namespace vasora::test
