// SPDX-License-Identifier: MIT
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"

#include "ErrorOf.h"

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;
using vxRecInfo::testing::raisedBy;

namespace {

class FormatRuns : public ::testing::Test
{
protected:
    void SetUp() override { ClearRTBFormat(); }

    void add(const QString& piece, const QString& font = {}, std::int32_t color = -1, std::int16_t size = 0,
             std::int16_t style = 0, std::int32_t alignment = 0)
    {
        AddRTBFormatInfo(report, piece, font, color, size, style, alignment);
    }

    QString report;
    RichTextBox box;
};

} // namespace

// Listings show the runs past element 0, which no piece fills: pieces without attributes, and sizes,
// styles and alignments of 0 or less, record nothing; an empty piece records runs of length 0.
TEST_F(FormatRuns, ListingsLineByLine)
{
    add(QStringLiteral("Title\r\n"), QStringLiteral("Arial"), 0x800005, 10, 9, 2);
    add(QStringLiteral("body "));
    add(QStringLiteral("red"), {}, 0);
    add(QStringLiteral("neg"), {}, -5, -3, -1, -7);
    add(QString(), {}, 255);
    EXPECT_EQ(GetRTBSizeList(), QStringLiteral("{RTBSize}\t0\t7\t10\r\n"));
    EXPECT_EQ(GetRTBFontList(), QStringLiteral("{RTBFont}\t0\t7\tArial\r\n"));
    EXPECT_EQ(GetRTBColorList(), QStringLiteral("{RTBColor}\t0\t7\t8388613\r\n{RTBColor}\t12\t3\t0\r\n"
                                                "{RTBColor}\t15\t3\t-5\r\n{RTBColor}\t18\t0\t255\r\n"))
        << "colour 0 is a black run, negative colours other than -1 too";
    EXPECT_EQ(GetRTBFStyleList(), QStringLiteral("{RTBFStyle}\t0\t7\t9\r\n"));
    EXPECT_EQ(GetRTBFAlignList(), QStringLiteral("{RTBFAlign}\t0\t7\t2\r\n"));

    // The size line of a six-character title with its line break at the start of a report.
    ClearRTBFormat();
    QString other;
    AddRTBFormatInfo(other, QStringLiteral("Report\r\n"), {}, -1, 10, 0, 0);
    EXPECT_EQ(GetRTBSizeList(), QStringLiteral("{RTBSize}\t0\t8\t10\r\n"));
}

TEST_F(FormatRuns, ClearedListsListNothingAndFinishOnlyReplacesTheText)
{
    add(QStringLiteral("bold"), {}, -1, 0, FontStyle::Bold);
    FinishRTBFormat(box, report);
    ClearRTBFormat();
    for (const QString& listing : {GetRTBFontList(), GetRTBColorList(), GetRTBSizeList(), GetRTBFStyleList(),
                                   GetRTBFAlignList()})
        EXPECT_TRUE(listing.isEmpty());
    box.setSelStart(2);
    FinishRTBFormat(box, QStringLiteral("new text"));
    EXPECT_EQ(box.Text(), QStringLiteral("new text"));
    box.setSelStart(0);
    box.setSelLength(8);
    EXPECT_EQ(box.SelBold(), Variant(false)) << "the earlier bold must be gone";
    EXPECT_EQ(box.SelStart(), 0);
}

TEST_F(FormatRuns, SixteenBitLimitsRaiseTheModulesOverflowError)
{
    report = QString(32767, QLatin1Char('x'));
    ASSERT_NO_THROW(add(QStringLiteral("y"), {}, -1, 10)) << "a report of 32767 characters takes one more piece";
    EXPECT_EQ(report.size(), 32768);
    const ErrorInfo e = raisedBy([&] { add(QStringLiteral("z")); });
    EXPECT_EQ(e.number, hresultFrom(0x80040000u)) << "a start past 32767 must overflow";
    EXPECT_EQ(e.hresult(), hresultFrom(0x80040000u));
    EXPECT_EQ(e.source, QStringLiteral("RTBFormat.AddRTBFormatInfo"));
    EXPECT_EQ(e.description, QStringLiteral("RTBFormat.AddRTBFormatInfo\r\nOverflow"));
    EXPECT_EQ(report.size(), 32768) << "the failed call appends nothing";

    ClearRTBFormat();
    report.clear();
    EXPECT_EQ(raisedBy([&] { add(QStringLiteral("a"), {}, -1, 0, 0, 40000); }).source,
              QStringLiteral("RTBFormat.AddRTBFormatInfo")) << "an alignment past 32767 must overflow";
}

TEST_F(FormatRuns, ListsHoldAtMost32767Runs)
{
    for (int i = 0; i < 32767; ++i)
        add(QString(), {}, 1);
    EXPECT_EQ(runLists().RTBColorRuns.size(), 32768u);
    EXPECT_THROW(add(QString(), {}, 1), RuntimeError);
    EXPECT_NO_THROW(add(QString(), {}, -1, 8)) << "the other lists are not full";
}

TEST_F(FormatRuns, FinishWrapsTheBoxsErrors)
{
    add(QStringLiteral("text"), {}, -1, 0, 0, 3); // the box knows no alignment 3
    const ErrorInfo e = raisedBy([&] { FinishRTBFormat(box, report); });
    EXPECT_EQ(e.source, QStringLiteral("RTBFormat.FinishRTBFormat")) << "the box's refusal must reach the caller";
    EXPECT_TRUE(e.description.startsWith(QStringLiteral("RTBFormat.FinishRTBFormat\r\nInvalid property value")));
    EXPECT_EQ(box.Text(), QStringLiteral("text")) << "what was done before the error stays";
}
