// SPDX-License-Identifier: MIT
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include "ErrorOf.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;
using vxRecInfo::testing::errorOf;

namespace {

const QList<std::int32_t> ReportTabs{144, 3000, 4500, 6000};

QString readData(const QString& name)
{
    QFile file(QStringLiteral(VX_TEST_DATA_DIR "/rtf/") + name);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (text.isEmpty())
        ADD_FAILURE() << "tests/data/rtf/" << name.toStdString() << " is missing";
    return text;
}

// Reports as pieces [text, font, colour, size, style, alignment]: the sample in the shape the report builder
// makes (a centred heading, tab-aligned rows, a Japanese label, characters RTF must escape), and odd shapes:
// no line break at the end, line ends alone or split over two formats, runs of no length or of the same
// format side by side, the box's default font named, sizes and colours at their limits.
const QJsonObject Reports = QJsonDocument::fromJson(readData(QStringLiteral("reports.json")).toUtf8()).object();

// The pieces of a report appended on cleared runs, then put into box with the report's tab stops.
QString fill(RichTextBox& box, const QString& name)
{
    ClearRTBFormat();
    QString report;
    for (const QJsonValue& piece : Reports.value(name).toArray()) {
        const QJsonArray p = piece.toArray();
        AddRTBFormatInfo(report, p[0].toString(), p[1].toString(), p[2].toInt(-1), std::int16_t(p[3].toInt()),
                         std::int16_t(p[4].toInt()), p[5].toInt());
    }
    FinishRTBFormat(box, report);
    box.setSelStart(0);
    box.setSelLength(std::int32_t(report.size()));
    box.setSelTabCount(std::int16_t(ReportTabs.size()));
    for (std::int16_t i = 0; i < ReportTabs.size(); ++i)
        box.setSelTabs(i, ReportTabs[i]);
    box.setSelStart(0);
    return report;
}

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

// Each report's box writes its reviewed document, reads it back whole, and its runs write the same document
// without a box.
TEST(Rtf, ReportsWriteTheirReviewedDocuments)
{
    ASSERT_GE(Reports.size(), 8);
    for (const QString& name : Reports.keys()) {
        RichTextBox box;
        box.setDefaultFont(QStringLiteral("Arial"), 9);
        const QString report = fill(box, name);
        const std::string what = name.toStdString();
        EXPECT_EQ(box.TextRTF(), readData(name + QStringLiteral(".rtf"))) << what;
        if (name != QLatin1String("limits")) // RTF holds colours of 24 bits only
            expectSameAfterRtf(box, what);
        QString direct = QStringLiteral("before");
        ASSERT_TRUE(RtfWriter::appendRunText(direct, {report, runLists(), QStringLiteral("Arial"), 9, ReportTabs}))
            << what;
        EXPECT_EQ(direct, QStringLiteral("before") + box.TextRTF()) << what;
    }
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

// Text and runs without a box end their paragraphs where a box ends them: at CR LF, a lone CR
// and a lone LF (the last character is centred, so its paragraph shows where it starts).
TEST(Rtf, RunTextEndsParagraphsWhereTheBoxDoes)
{
    const QString font = QStringLiteral("Arial");
    const QList<std::int32_t> noTabs;
    for (const char16_t* line : {u"one\rtwo", u"one\ntwo", u"one\r\ntwo", u"x\r\ny", u"\n\r\r\n\n\rz", u"a\r\rb"}) {
        const QString text = QString::fromUtf16(line);
        const auto last = std::int16_t(text.size() - 1);
        RunLists runs;
        runs.RTBFAlignRuns.push_back({last, 1, std::int16_t(Alignment::Center)});
        RichTextBox box;
        box.setDefaultFont(font, 10);
        box.setText(text);
        box.setSelStart(last);
        box.setSelLength(1);
        box.setSelAlignment(Alignment::Center);
        QString direct;
        ASSERT_TRUE(RtfWriter::appendRunText(direct, {text, runs, font, 10, noTabs}));
        EXPECT_EQ(direct, box.TextRTF()) << QString(text).replace(u'\r', u'R').replace(u'\n', u'N').toStdString();
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

// Another writer's document (\uc2 skips the blank and the x after \u8364) as the box writes it back.
TEST(Rtf, ReadsCommonRtfOfOtherWriters)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Arial"), 10);
    box.setTextRTF(readData(QStringLiteral("other-writer.rtf")));
    EXPECT_EQ(box.TextRTF(), readData(QStringLiteral("other-writer-read.rtf")));
}

TEST(Rtf, PandocReadsTheSameText)
{
    RichTextBox box;
    fill(box, QStringLiteral("sample-report"));
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

TEST(Rtf, MergedReportsAreOneDocumentWithAPageEach)
{
    RichTextBox first;
    first.setDefaultFont(QStringLiteral("Arial"), 10);
    fill(first, QStringLiteral("sample-report"));
    RichTextBox second;
    second.setDefaultFont(QStringLiteral("Arial"), 10);
    second.setText(QStringLiteral("Second report\r\n"));
    EXPECT_EQ(mergeRtfDocuments({first.TextRTF(), second.TextRTF()}, QStringLiteral("Arial"), 10),
              readData(QStringLiteral("merged-reports.rtf")));
}

TEST(Rtf, RunsTheBoxWouldRefuseOrRunsOutOfOrderAreLeftToTheBox)
{
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
        const char* name;
        const char* font = "Arial";
        float size = 10;
    };
    const std::vector<std::vector<Report>> rows = {
        {{"sample-report"}, {"same-format-side-by-side"}, {"sample-report"}},
        {{"no-line-break"}, {"no-line-break"}, {"sample-report"}}, // the text of the next page joins the open paragraph
        {{"empty"}, {"lone-line-ends"}, {"empty"}},
        {{"sample-report", "Times", 12}, {"limits", "Courier", 9.5f}},
        {},
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        JoinedRtfWriter joined(QStringLiteral("Arial"), 10);
        QStringList documents;
        for (const Report& r : rows[row]) {
            RichTextBox box;
            box.setDefaultFont(QString::fromLatin1(r.font), r.size);
            const QString report = fill(box, QString::fromLatin1(r.name));
            documents << box.TextRTF();
            ASSERT_TRUE(joined.add({report, runLists(), box.defaultFontName(), r.size, ReportTabs})) << "row " << row;
        }
        joined.finish();
        EXPECT_EQ(joined.head() + joined.body(), mergeRtfDocuments(documents, QStringLiteral("Arial"), 10).toLatin1())
            << "row " << row;
    }
}
