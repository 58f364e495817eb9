#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include "ErrorOf.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;
using vxRecInfo::testing::errorOf;

namespace {

struct Piece {
    QString text;
    QString font{};
    std::int32_t color = -1;
    std::int16_t size = 0;
    std::int16_t style = 0;
    std::int32_t alignment = 0;
};

const QList<std::int32_t> ReportTabs{144, 3000, 4500, 6000};

// The pieces appended on cleared runs, then put into box with the report's tab stops.
QString fill(RichTextBox& box, const std::vector<Piece>& pieces)
{
    ClearRTBFormat();
    QString report;
    for (const Piece& p : pieces)
        AddRTBFormatInfo(report, p.text, p.font, p.color, p.size, p.style, p.alignment);
    FinishRTBFormat(box, report);
    box.setSelStart(0);
    box.setSelLength(std::int32_t(report.size()));
    box.setSelTabCount(std::int16_t(ReportTabs.size()));
    for (std::int16_t i = 0; i < ReportTabs.size(); ++i)
        box.setSelTabs(i, ReportTabs[i]);
    box.setSelStart(0);
    return report;
}

// A small report in the shape the report builder makes: a centred heading, tab-aligned rows,
// an accent colour, a Japanese label, characters RTF must escape.
const std::vector<Piece> SamplePieces = {
    {QStringLiteral("Record Report\r\n"), QStringLiteral("Arial"), 0x800005, 14, FontStyle::Bold, 2},
    {QStringLiteral("\tSerial Number:\tA1029384\r\n")},
    {QString::fromUtf16(u"\t記録メモ:\t"), QStringLiteral("IPAGothic")},
    {QStringLiteral("Braces {a} and \\ backslash, café 25 °C\r\n")},
    {QStringLiteral("Alarm Occured"), {}, 0x0000FF, 12, FontStyle::Bold | FontStyle::Underline},
    {QStringLiteral(" struck\r\n"), {}, 0, 0, FontStyle::StrikeThru | FontStyle::Italic, 1},
};

// Reports of other shapes: no line break at the end, line ends alone or in two formats, runs of
// no length or of the same format side by side, alignment over several paragraphs, the box's
// default font named, sizes and colours at their limits.
const std::vector<std::vector<Piece>> OddPieces = {
    {},
    {{QStringLiteral("no line break at the end"), {}, 255, 0, FontStyle::Bold}},
    {{QStringLiteral("a\r"), {}, -1, 0, FontStyle::Bold}, {QStringLiteral("\nlone\nends\r\f\r\n"), {}, 0, 12, 0, 1}},
    {{QStringLiteral("same colour "), {}, 0x800005}, {QStringLiteral("twice\r\n"), {}, 0x800005, 0, 0, 2},
     {QString(), QStringLiteral("Times"), 5, 10, 9, 1}, {QStringLiteral("centred\r\nover two\r"), {}, -1, 10, 0, 2},
     {QStringLiteral("\n")}},
    {{QStringLiteral("Arial named\r\n"), QStringLiteral("Arial"), -1, 10},
     {QStringLiteral("x\t\x7f"), QStringLiteral("Times"), -5, 1638, 15, 1},
     {QStringLiteral("high bits\r\n"), {}, 0x1800005, 1, 0, 0}},
};

// The box read back from the RTF box writes, with the same default font.
void expectSameAfterRtf(const RichTextBox& box, const std::string& what)
{
    RichTextBox copy;
    copy.setDefaultFont(box.defaultFontName(), box.defaultFontSize());
    copy.setTextRTF(box.TextRTF());
    ASSERT_EQ(copy.Text(), box.Text()) << what;
    for (qsizetype i = 0; i < box.Text().size(); ++i)
        ASSERT_EQ(copy.formatAt(i), box.formatAt(i)) << what << ", position " << i;
    ASSERT_EQ(copy.paragraphs().size(), box.paragraphs().size()) << what;
    for (qsizetype p = 0; p < box.paragraphs().size(); ++p)
        EXPECT_EQ(copy.paragraphs()[p].format, box.paragraphs()[p].format) << what << ", paragraph " << p;
}

} // namespace

TEST(Rtf, SampleReportWritesTheReviewedDocumentAndReadsBackWhole)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Arial"), 9);
    fill(box, SamplePieces);
    QFile golden(QStringLiteral(VX_TEST_DATA_DIR "/rtf/sample-report.rtf"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << "tests/data/rtf/sample-report.rtf is missing";
    EXPECT_EQ(box.TextRTF(), QString::fromUtf8(golden.readAll()));
    expectSameAfterRtf(box, "the sample report");
}

TEST(Rtf, RoundTripKeepsEveryCharacterAndFontName)
{
    // Text and the font of its middle: every control character, line ends alone and in pairs,
    // surrogates, and font names with what ends or trims a name in RTF.
    std::vector<std::pair<QString, QString>> rows;
    for (char16_t c = 0; c < 0x20; ++c)
        rows.push_back({QStringLiteral("a") + QChar(c) + QStringLiteral("b"), {}});
    for (const char16_t* text : {u"one\rtwo", u"one\ntwo", u"one\r\ntwo", u"x\r\n", u"\n\r\r\n\n\r", u"\x7F\xFFFF",
                                 u"\U0001F600 \xD83D"})
        rows.push_back({QString::fromUtf16(text), {}});
    for (const char16_t* font : {u"Semi;colon", u" Padded ", u"Tab\tand\rCR", u"{Brace}\\", u"記録 €"})
        rows.push_back({QStringLiteral("xyz"), QString::fromUtf16(font)});
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto& [text, font] = rows[row];
        RichTextBox box;
        box.setText(text);
        box.setSelAlignment(Alignment::Center); // the first paragraph
        box.setSelStart(1);
        box.setSelLength(std::int32_t(text.size()) - 2);
        box.setSelItalic(true);
        if (!font.isEmpty())
            box.setSelFontName(font);
        box.setSelStart(std::int32_t(text.size()));
        box.setSelAlignment(Alignment::Right); // the last paragraph
        expectSameAfterRtf(box, "row " + std::to_string(row));
    }
}

TEST(Rtf, ReaderRefusesOrSkipsWhatTheBoxCannotHold)
{
    auto nested = [](int depth) {
        return QStringLiteral("{\\rtf1") + QString(depth - 1, QLatin1Char('{')) + QStringLiteral("x")
            + QString(depth, QLatin1Char('}'));
    };
    const QString refused = QStringLiteral("(refused)");
    struct Row {
        QString rtf;
        QString text; // what is read, or refused
        int tabs = 0;
        float size = 10;
    };
    const Row rows[] = {
        {nested(256), QStringLiteral("x")},
        {nested(257), refused},
        {QStringLiteral("{\\rtf1 \\'-1}"), refused},
        {QStringLiteral("{\\rtf1 \\u70000 x}"), refused},
        {QStringLiteral("{\\rtf1 \\fs99999999999 x}"), refused},
        {QStringLiteral("{\\rtf1 \\") + QString(33, QLatin1Char('a')) + QStringLiteral(" x}"), refused},
        {QStringLiteral("{\\rtf1{\\colortbl;\\red256\\green0\\blue0;}x}"), refused},
        {QStringLiteral("{\\rtf1{\\colortbl") + QString(65536, QLatin1Char(';')) + QStringLiteral("}x}"), refused},
        {QStringLiteral("{\\rtf1{\\fonttbl{\\f1 ") + QString(256, QLatin1Char('F')) + QStringLiteral(";}}x}"), refused},
        {QStringLiteral("{\\rtf1{\\*\\pict\\bin9 ab}}"), refused},
        {QStringLiteral("{\\rtf1{\\*\\pict\\bin3 }{}}x}"), QStringLiteral("x")},
        {QStringLiteral("{\\rtf1{\\*\\x a\\\nb}c}"), QStringLiteral("c")},
        {QStringLiteral("{\\rtf1\\tx-5") + QStringLiteral("\\tx100").repeated(40) + QStringLiteral(" x}"),
         QStringLiteral("x"), 32},
        {QStringLiteral("{\\rtf1\\fs-4 x\\fs3278 y}"), QStringLiteral("xy")},
    };
    for (const Row& row : rows) {
        RichTextBox box;
        const int error = errorOf([&] { box.setTextRTF(row.rtf); });
        const std::string what = row.rtf.left(80).toStdString();
        if (row.text == refused) {
            EXPECT_EQ(error, Err::InvalidPropertyValue) << what;
            continue;
        }
        ASSERT_EQ(error, 0) << what;
        box.setSelLength(std::int32_t(box.Text().size()));
        EXPECT_EQ(box.Text(), row.text) << what;
        EXPECT_EQ(box.SelTabCount(), row.tabs) << what;
        EXPECT_EQ(box.SelFontSize(), Variant(row.size)) << what;
    }
}

TEST(Rtf, ReadsCommonRtfOfOtherWriters)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Arial"), 10);
    box.setTextRTF(QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\froman Times New Roman;}}"
                                  "{\\*\\generator Some writer;}{\\colortbl;\\red255\\green0\\blue0;}"
                                  "\\pard\\qc\\f1\\fs28 Caf\\'e9\\par\\pard\\uc2 \\u8364  x\\cf1\\b  red\\b0\\line end}"));
    EXPECT_EQ(box.Text(), QString::fromUtf16(u"Café\r\n€ red\nend")) << "\\uc2 skips the blank and the x";
    EXPECT_EQ(box.formatAt(0).fontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(box.formatAt(0).fontSize, 14.0f);
    EXPECT_EQ(box.paragraphs()[0].format.alignment, Alignment::Center);
    EXPECT_EQ(box.formatAt(8).color, 0x0000FF);
    EXPECT_TRUE(box.formatAt(8).bold);
}

TEST(Rtf, PandocReadsTheSameText)
{
    RichTextBox box;
    fill(box, SamplePieces);
    QProcess pandoc;
    pandoc.start(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("rtf"), QStringLiteral("-t"),
                                            QStringLiteral("plain"), QStringLiteral("--wrap=none")});
    pandoc.write(box.TextRTF().toLatin1());
    pandoc.closeWriteChannel();
    ASSERT_TRUE(pandoc.waitForFinished(60000)) << "pandoc did not run; tools/install-deps.sh installs it";
    ASSERT_EQ(pandoc.exitCode(), 0) << pandoc.readAllStandardError().toStdString();
    // Plain output marks struck-out text with ~~.
    const QString read = QString::fromUtf8(pandoc.readAllStandardOutput()).remove(QStringLiteral("~~"));
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    EXPECT_EQ(read.split(blanks, Qt::SkipEmptyParts), box.Text().split(blanks, Qt::SkipEmptyParts))
        << read.toStdString();
}

TEST(Rtf, MergedReportsStartOnNewPagesAndKeepTheirFormats)
{
    RichTextBox first;
    first.setDefaultFont(QStringLiteral("Arial"), 10);
    fill(first, SamplePieces);
    RichTextBox second;
    second.setDefaultFont(QStringLiteral("Arial"), 10);
    second.setText(QStringLiteral("Second report\r\n"));
    const QString merged = mergeRtfDocuments({first.TextRTF(), second.TextRTF()}, QStringLiteral("Arial"), 10);
    EXPECT_EQ(merged.count(QStringLiteral("{\\rtf1")), 1) << "one document for the word processor";
    EXPECT_EQ(merged.count(QStringLiteral("\\page")), 1);
    RichTextBox back;
    back.setDefaultFont(QStringLiteral("Arial"), 10);
    back.setTextRTF(merged);
    EXPECT_EQ(back.Text(), first.Text() + QChar(0x0C) + second.Text());
    EXPECT_TRUE(back.formatAt(0).bold) << "the first report keeps its formats";
    EXPECT_EQ(back.paragraphs().constLast().format, ParagraphFormat{});
}

TEST(Rtf, RunsWriteWhatTheirBoxWrites)
{
    std::vector<std::vector<Piece>> rows = OddPieces;
    rows.push_back(SamplePieces);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        RichTextBox box;
        box.setDefaultFont(QStringLiteral("Arial"), 10);
        const QString report = fill(box, rows[row]);
        QString direct = QStringLiteral("before");
        ASSERT_TRUE(RtfWriter::appendRunText(direct, {report, runLists(), box.defaultFontName(), 10, ReportTabs}))
            << "row " << row;
        EXPECT_EQ(direct, QStringLiteral("before") + box.TextRTF()) << "row " << row;
    }

    // Runs a box refuses, or runs out of order, are left to the box.
    QString report;
    ClearRTBFormat();
    AddRTBFormatInfo(report, QStringLiteral("huge"), {}, -1, 1639, 0, 0);
    QString out;
    EXPECT_FALSE(RtfWriter::appendRunText(out, {report, runLists(), QStringLiteral("Arial"), 10, ReportTabs}));
    RunLists backwards;
    backwards.RTBColorRuns.push_back({2, 2, 0});
    backwards.RTBColorRuns.push_back({0, 3, 0});
    EXPECT_FALSE(
        RtfWriter::appendRunText(out, {QStringLiteral("abcd"), backwards, QStringLiteral("Arial"), 10, ReportTabs}));
    EXPECT_TRUE(out.isEmpty());
}

TEST(Rtf, JoinedReportsAreWhatTheMergeMakesOfTheirRtf)
{
    struct Report {
        std::vector<Piece> pieces;
        QString font = QStringLiteral("Arial");
        float size = 10;
    };
    const std::vector<std::vector<Report>> rows = {
        {{SamplePieces}, {OddPieces[3]}, {SamplePieces}},
        {{OddPieces[1]}, {OddPieces[1]}, {SamplePieces}}, // the text of the next page joins the open paragraph
        {{OddPieces[0]}, {OddPieces[2]}, {OddPieces[0]}},
        {{SamplePieces, QStringLiteral("Times"), 12}, {OddPieces[4], QStringLiteral("Courier"), 9.5f}},
        {},
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        JoinedRtfWriter joined(QStringLiteral("Arial"), 10);
        QStringList documents;
        for (const Report& r : rows[row]) {
            RichTextBox box;
            box.setDefaultFont(r.font, r.size);
            const QString report = fill(box, r.pieces);
            documents << box.TextRTF();
            ASSERT_TRUE(joined.add({report, runLists(), r.font, r.size, ReportTabs})) << "row " << row;
        }
        joined.finish();
        EXPECT_EQ(joined.head() + joined.body(), mergeRtfDocuments(documents, QStringLiteral("Arial"), 10).toLatin1())
            << "row " << row;
    }
}
