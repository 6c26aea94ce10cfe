#include "documents/PlainText.h"
#include "documents/Tags.h"
#include "tests/documents/TestDocs.h"

#include <gtest/gtest.h>
#include <QTextDocument>

using namespace vasora::documents;
using vasora::test::read;
using vasora::test::rtf;
using vasora::test::tagged;

TEST(Tags, FindForwardAndBackwardAcrossCells) {
    QTextDocument doc;
    read(rtf(tagged(10000, 1, "start") + "\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl " +
             tagged(23011, 2, "a") + "\\cell " + tagged(33012, 3, "b") + "\\cell\\row" + "\\pard " +
             tagged(40000, 4, "[go]")),
         doc);
    const auto tags = allTags(doc);
    ASSERT_EQ(tags.size(), 4u);
    // Forward from 0 finds the first; standing on a tag and passing it moves on.
    EXPECT_EQ(findTag(doc, 0, 1, true, 0), tags[0]);
    EXPECT_EQ(findTag(doc, tags[0].start, 1, true, 0, tags[0]), tags[1]);
    EXPECT_EQ(findTag(doc, tags[0].start + 1, 1, true, 0), tags[1]);
    EXPECT_EQ(findTag(doc, 0, 1, false, 40000), tags[3]);
    EXPECT_FALSE(findTag(doc, 0, 1, false, 12345).valid());
    // Backward from the button: the cells bottom to top, then the start marker, then none.
    int from = tags[3].start;
    std::vector<int> codes;
    for (TagSpan t; (t = findTag(doc, from, -1, true, 0)).valid(); from = t.start)
        codes.push_back(t.code);
    EXPECT_EQ(codes, (std::vector<int>{33012, 23011, 10000}));
    // Backward from inside a tag finds that tag; forward from inside it does not.
    EXPECT_EQ(findTag(doc, tags[3].start + 2, -1, true, 0), tags[3]);
    EXPECT_FALSE(findTag(doc, tags[3].start + 2, 1, true, 0).valid());
    EXPECT_EQ(tagAt(doc, tags[2].start), tags[2]);
    EXPECT_FALSE(tagAt(doc, tags[2].end()).valid());
}

TEST(Tags, RewritingTextKeepsNeighboursAndCode) {
    QTextDocument doc;
    read(rtf("x" + tagged(23011, 1, "old") + tagged(23011, 2, "next") + "y\\par z"), doc);
    auto tags = allTags(doc);
    ASSERT_EQ(tags.size(), 2u);
    const TagSpan now = setTagText(doc, tags[0], "  93.7 ");
    EXPECT_EQ(now.length, 7);
    EXPECT_EQ(plainText(doc), "x  93.7 nexty\nz");
    tags = allTags(doc);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tagText(doc, tags[0]), "  93.7 ");
    EXPECT_EQ(tagText(doc, tags[1]), "next");
    EXPECT_EQ(tags[0].code, 23011);
    // Shorter text, then a new code; line breaks in the new text stay in the paragraph.
    setTagText(doc, tags[1], "n\nm");
    tags = allTags(doc);
    EXPECT_EQ(tagText(doc, tags[1]), "n m");
    EXPECT_EQ(doc.blockCount(), 2);
    setTagCode(doc, tags[1], 33015);
    EXPECT_EQ(allTags(doc)[1].code, 33015);
    EXPECT_EQ(allTags(doc)[0].code, 23011);
    // An empty text removes the tag, and only it.
    EXPECT_FALSE(setTagText(doc, allTags(doc)[0], "").valid());
    EXPECT_EQ(allTags(doc).size(), 1u);
    EXPECT_EQ(plainText(doc), "xn my\nz");
    EXPECT_GT(unusedTagId(doc), allTags(doc)[0].id);
}
