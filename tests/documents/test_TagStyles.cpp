#include "documents/TagStyles.h"

#include <gtest/gtest.h>

using namespace vasora::documents;

TEST(TagStyles, LabBookShowsItsCommandsAsActive) {
    const auto lab = labBookTagStyle();
    EXPECT_EQ(lab->tagStyle(43000), (TagStyle{TagLook::Button, true}));  // table button
    EXPECT_EQ(lab->tagStyle(48000), (TagStyle{TagLook::Button, true}));  // plot-data button
    EXPECT_EQ(lab->tagStyle(51012), (TagStyle{TagLook::Link, true}));    // link to the info
    EXPECT_EQ(lab->tagStyle(53012), (TagStyle{TagLook::Figure, true}));  // figure 12
    EXPECT_EQ(lab->tagStyle(54000), (TagStyle{TagLook::Button, true}));  // save
    EXPECT_EQ(lab->tagStyle(60000), (TagStyle{TagLook::InputField, true}));
    EXPECT_EQ(lab->tagStyle(61000), (TagStyle{TagLook::InputField, true}));
    EXPECT_EQ(lab->tagStyle(70000), (TagStyle{TagLook::Button, true}));  // restart
    // An input cell is where the learner types: it looks like a field, but a click on it acts
    // on nothing.
    EXPECT_EQ(lab->tagStyle(30155), (TagStyle{TagLook::InputField, false}));
    // Headings, markers and output cells are plain text that a click does not act on.
    for (int code : {0, 10000, 23041, 80000, 91000, 92000, 99999})
        EXPECT_EQ(lab->tagStyle(code), TagStyle{}) << code;
    EXPECT_EQ(lab->hyperlinkLook(), TagLook::Link);
    // Codes no document can hold are plain, and raise no message.
    EXPECT_EQ(lab->tagStyle(-1), TagStyle{});
    EXPECT_EQ(lab->tagStyle(100000), TagStyle{});
}

TEST(TagStyles, InformationFileActsOnLinksAndFiguresOnly) {
    const auto info = infoTagStyle();
    EXPECT_EQ(info->tagStyle(52007), (TagStyle{TagLook::Link, true}));
    EXPECT_EQ(info->tagStyle(53012), (TagStyle{TagLook::Figure, true}));
    // The anchor a link leads to, and the lab book's commands, do nothing in this file.
    for (int code : {51007, 43000, 54000, 60000, 70000, 91000})
        EXPECT_EQ(info->tagStyle(code), TagStyle{}) << code;
    EXPECT_EQ(info->hyperlinkLook(), TagLook::Link);
}
