#include "tests/documents/TestDocs.h"

#include "documents/TagBookmarks.h"

namespace vasora::test {

QByteArray tagged(int code, int serial, const QByteArray& text) {
    const QByteArray name = documents::tagBookmarkName(code, serial);
    return "{\\*\\bkmkstart " + name + "}" + text + "{\\*\\bkmkend " + name + "}";
}

QByteArray labBook(int tables, int rows, int fillerParagraphs) {
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times;}}"
        "{\\colortbl;\\red0\\green0\\blue255;}"
        "{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0 heading 1;}}\n";
    int serial = 0;
    auto tag = [&](int code, const QByteArray& text) { return tagged(code, ++serial, text); };
    for (int t = 0; t < tables; ++t) {
        const int digit = t % 8;
        out += "\\pard\\s1 " + tag(91000, "Experiment " + QByteArray::number(t + 1)) + "\\par\n";
        for (int p = 0; p < fillerParagraphs; ++p)
            out +=
                "\\pard\\sa120 The circulation adapts when a {\\b resistance} or a "
                "{\\i compliance} changes; run the model until the flows agree, then "
                "record the values in the table below and compare them with the normal "
                "values.\\par\n";
        out += "\\pard " + tag(10000, "Table " + QByteArray::number(t + 1)) + "\\par\n";
        for (int r = 0; r < rows; ++r) {
            out += "\\trowd\\trgaph108\\cellx2500\\cellx4500\\cellx6500\\cellx8500\n";
            out += "\\pard\\intbl Row " + QByteArray::number(r + 1) + "\\cell ";
            const int row = (r % 17) + 1;
            out += tag(20000 + digit * 1000 + row * 10 + 1, "  93.7 ") + "\\cell ";
            out += tag(20000 + digit * 1000 + row * 10 + 2, " 5000. ") + "\\cell ";
            out += tag(30000 + digit * 1000 + row * 10 + 4, "100    ") + "\\cell\\row\n";
        }
        out += "\\pard " + tag(40000 + digit * 1000, "[Fill table]") + " " +
               tag(51000 + t % 1000, "see the notes") + "\\par\n";
    }
    out += "}";
    return out;
}

}  // namespace vasora::test
