#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"

#include "automation/RuntimeError.h"

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;

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

TEST_F(FormatRuns, PieceWithoutAttributesRecordsNoRun)
{
    add(QStringLiteral("plain text"));
    EXPECT_EQ(report, QStringLiteral("plain text"));
    const RunLists& l = runLists();
    EXPECT_EQ(l.RTBFontRuns.size() + l.RTBColorRuns.size() + l.RTBSizeRuns.size() + l.RTBFStyleRuns.size()
                  + l.RTBFAlignRuns.size(),
              5u)
        << "only element 0 of each list";
    add(QStringLiteral("x"), {}, -1, -3, -1, -7);
    EXPECT_TRUE(GetRTBSizeList().isEmpty()) << "sizes, styles and alignments of 0 or less record nothing";
}

TEST_F(FormatRuns, ListingsLineByLine)
{
    add(QStringLiteral("Title\r\n"), QStringLiteral("Arial"), 0x800005, 10, 9, 2);
    add(QStringLiteral("body "));
    add(QStringLiteral("red"), {}, 0);
    add(QStringLiteral("neg"), {}, -5);
    EXPECT_EQ(GetRTBSizeList(), QStringLiteral("{RTBSize}\t0\t7\t10\r\n"));
    EXPECT_EQ(GetRTBFontList(), QStringLiteral("{RTBFont}\t0\t7\tArial\r\n"));
    EXPECT_EQ(GetRTBColorList(), QStringLiteral("{RTBColor}\t0\t7\t8388613\r\n{RTBColor}\t12\t3\t0\r\n"
                                                "{RTBColor}\t15\t3\t-5\r\n"))
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

TEST_F(FormatRuns, RunsLandOnTheirCharactersWithLineBreaksAndJapanese)
{
    add(QStringLiteral("A\r\n"));
    add(QString::fromUtf16(u"記録メモ"), QStringLiteral("IPAGothic"), -1, 0, FontStyle::Bold);
    add(QStringLiteral("\r\n\tvalue "));
    add(QStringLiteral("9.5"), {}, 0x0000FF, 12, FontStyle::Italic | FontStyle::Underline);
    add(QStringLiteral("\r\nend"), {}, -1, 0, 0, 1);
    FinishRTBFormat(box, report);

    ASSERT_EQ(box.Text(), report);
    auto expectFormat = [&](qsizetype position, bool bold, bool italic, const char* what) {
        EXPECT_EQ(box.formatAt(position).bold, bold) << what;
        EXPECT_EQ(box.formatAt(position).italic, italic) << what;
    };
    expectFormat(2, false, false, "the line feed before the label");
    expectFormat(3, true, false, "the first Japanese character");
    expectFormat(6, true, false, "the last Japanese character");
    expectFormat(7, false, false, "the carriage return after it");
    const qsizetype number = report.indexOf(QStringLiteral("9.5"));
    expectFormat(number - 1, false, false, "the blank before the number");
    expectFormat(number, false, true, "the number");
    EXPECT_EQ(box.formatAt(number + 2).color, 0x0000FF);
    EXPECT_EQ(box.formatAt(number + 2).fontSize, 12.0f);
    EXPECT_TRUE(box.formatAt(number + 2).underline);
    EXPECT_EQ(box.formatAt(3).fontName, QStringLiteral("IPAGothic"));

    const QList<Paragraph> paragraphs = box.paragraphs();
    ASSERT_EQ(paragraphs.size(), 4);
    EXPECT_EQ(paragraphs[2].format.alignment, Alignment::Right) << "the alignment run touches the CR LF of line 3";
    EXPECT_EQ(paragraphs[3].format.alignment, Alignment::Right);
    EXPECT_EQ(paragraphs[1].format.alignment, Alignment::Left);
}

TEST_F(FormatRuns, StyleNineIsBoldAndUnderlinedAndEmptyPiecesChangeNothing)
{
    add(QStringLiteral("ab"));
    add(QString(), {}, 0xFF, 14, 9, 2);
    add(QStringLiteral("cd"), {}, -1, 0, 9);
    EXPECT_EQ(GetRTBColorList(), QStringLiteral("{RTBColor}\t2\t0\t255\r\n")) << "an empty piece records runs of length 0";
    FinishRTBFormat(box, report);
    EXPECT_FALSE(box.formatAt(1).bold);
    EXPECT_EQ(box.formatAt(1).color, -1);
    EXPECT_EQ(box.paragraphs()[0].format.alignment, Alignment::Center)
        << "an empty selection still aligns the paragraph it stands in";
    EXPECT_TRUE(box.formatAt(2).bold);
    EXPECT_TRUE(box.formatAt(3).underline);
    EXPECT_FALSE(box.formatAt(3).italic);
}

TEST_F(FormatRuns, SixteenBitLimitsRaiseTheModulesOverflowError)
{
    report = QString(32767, QLatin1Char('x'));
    ASSERT_NO_THROW(add(QStringLiteral("y"), {}, -1, 10)) << "a report of 32767 characters takes one more piece";
    EXPECT_EQ(report.size(), 32768);
    try {
        add(QStringLiteral("z"));
        FAIL() << "a start past 32767 must overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), hresultFrom(0x80040000u));
        EXPECT_EQ(e.hresult(), hresultFrom(0x80040000u));
        EXPECT_EQ(e.source(), QStringLiteral("RTBFormat.AddRTBFormatInfo"));
        EXPECT_EQ(e.description(), QStringLiteral("RTBFormat.AddRTBFormatInfo\r\nOverflow"));
    }
    EXPECT_EQ(report.size(), 32768) << "the failed call appends nothing";

    ClearRTBFormat();
    report.clear();
    try {
        add(QStringLiteral("a"), {}, -1, 0, 0, 40000);
        FAIL() << "an alignment past 32767 must overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("RTBFormat.AddRTBFormatInfo"));
    }
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
    try {
        FinishRTBFormat(box, report);
        FAIL() << "the box's refusal must reach the caller";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("RTBFormat.FinishRTBFormat"));
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("RTBFormat.FinishRTBFormat\r\nInvalid property value")));
    }
    EXPECT_EQ(box.Text(), QStringLiteral("text")) << "what was done before the error stays";
}
