// SPDX-License-Identifier: MIT
#include "richtext/RichTextBox.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

using namespace vxRecInfo;
using vxRecInfo::testing::errorOf;

TEST(RichTextBox, SelectionIsClampedAndNegativeIsRefused)
{
    RichTextBox box;
    box.setText(QStringLiteral("abc\r\ndef"));
    box.setSelStart(50);
    EXPECT_EQ(box.SelStart(), 8);
    box.setSelStart(6);
    box.setSelLength(50);
    EXPECT_EQ(box.SelLength(), 2);
    EXPECT_EQ(errorOf([&] { box.setSelStart(-1); }), Err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { box.setSelLength(-1); }), Err::InvalidPropertyValue);
    box.setSelStart(1);
    EXPECT_EQ(box.SelLength(), 0) << "moving the caret drops the selection";
}

TEST(RichTextBox, GettersAnswerNullForMixedSelections)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Liberation Sans"), 9);
    box.setText(QStringLiteral("abcd"));
    box.setSelStart(0);
    box.setSelLength(2);
    box.setSelBold(true);
    box.setSelFontName(QStringLiteral("Courier"));
    EXPECT_EQ(errorOf([&] { box.setSelFontName(QString(256, QLatin1Char('F'))); }), Err::InvalidPropertyValue)
        << "a name longer than RTF readers take";
    box.setSelLength(4);
    EXPECT_TRUE(box.SelBold().isNull());
    EXPECT_TRUE(box.SelFontName().isNull());
    EXPECT_EQ(box.SelFontSize(), Variant(9.0f));
    box.setSelStart(2);
    box.setSelLength(2);
    EXPECT_EQ(box.SelFontName(), Variant("Liberation Sans"));
    EXPECT_EQ(box.SelColor(), Variant(0)) << "automatic colour reads as black";
    box.setSelStart(3);
    box.setSelLength(1);
    box.setSelBold(true);
    box.setSelStart(2);
    box.setSelLength(2);
    EXPECT_TRUE(box.SelBold().isNull()) << "a selection of one character takes a format";
}

TEST(RichTextBox, ParagraphFormatsFollowTheTouchedParagraphs)
{
    RichTextBox box;
    box.setText(QStringLiteral("one\r\ntwo\r\nthree"));
    box.setSelStart(4); // the line feed of paragraph 1
    box.setSelLength(1);
    box.setSelAlignment(Alignment::Center);
    EXPECT_EQ(box.paragraphs()[0].format.alignment, Alignment::Center);
    EXPECT_EQ(box.paragraphs()[1].format.alignment, Alignment::Left);

    box.setSelStart(2);
    box.setSelLength(6); // from paragraph 1 into paragraph 2
    box.setSelTabCount(4);
    for (std::int16_t i = 0; i < 4; ++i)
        box.setSelTabs(i, std::array{144, 3000, 4500, 6000}[std::size_t(i)]);
    EXPECT_EQ(box.paragraphs()[0].format.tabs, (QList<std::int32_t>{144, 3000, 4500, 6000}));
    EXPECT_EQ(box.paragraphs()[1].format.tabs, (QList<std::int32_t>{144, 3000, 4500, 6000}));
    EXPECT_TRUE(box.paragraphs()[2].format.tabs.isEmpty());
    EXPECT_EQ(box.SelTabs(2), 4500);
    EXPECT_TRUE(box.SelAlignment().isNull()) << "centre and left are selected";
    EXPECT_EQ(errorOf([&] { box.setSelTabs(4, 100); }), Err::InvalidPropertyValue);
}

TEST(RichTextBox, PlainTextThroughTextRTFDropsTheFormats)
{
    RichTextBox box;
    box.setText(QStringLiteral("bold"));
    box.setSelStart(0);
    box.setSelLength(4);
    box.setSelBold(true);
    box.setSelAlignment(Alignment::Right);
    box.setTextRTF(QStringLiteral("l"));
    EXPECT_EQ(box.Text(), QStringLiteral("l"));
    EXPECT_FALSE(box.formatAt(0).bold);
    EXPECT_EQ(box.paragraphs()[0].format.alignment, Alignment::Left);
    EXPECT_EQ(errorOf([&] { box.setTextRTF(QStringLiteral("{\\rtf1 {unbalanced}")); }), Err::InvalidPropertyValue);
}

TEST(RichTextBox, TooManyFormatsLeaveTheBoxAsItWas)
{
    RichTextBox box;
    box.setText(QStringLiteral("kept"));
    std::vector<CharFormat> formats(0xFFFF); // with the default format, one too many
    for (std::size_t i = 0; i < formats.size(); ++i)
        formats[i].color = std::int32_t(i);
    const QString text(qsizetype(formats.size()), QLatin1Char('x'));
    EXPECT_EQ(errorOf([&] { box.setContent(text, formats, {}); }), Err::OutOfMemory);
    EXPECT_EQ(box.Text(), QStringLiteral("kept"));
    EXPECT_EQ(box.formatAt(3), CharFormat{});
}
