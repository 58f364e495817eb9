// SPDX-License-Identifier: MIT
#include "component/RecordFixture.h"

#include "PdfReader.h"

#include "printing/PRINTR.h"
#include "printing/PdfRecord.h"
#include "printing/Printer.h"
#include "richtext/PrintEngine.h"
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTimer>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class PrintEngine : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        ASSERT_TRUE(m_pdfDir.isValid());
        qputenv("VXRECINFO_PDF_DIR", m_pdfDir.path().toLocal8Bit());
        ASSERT_TRUE(setCurrentPrinter(Printer::PdfPrinterName));
        box.setDefaultFont(QStringLiteral("Liberation Sans"), 10);
    }
    void TearDown() override
    {
        currentPrinter().EndDoc();
        qunsetenv("VXRECINFO_PDF_DIR");
        RecordFixture::TearDown();
    }

    // Lines "Line 001" to "Line nnn" with a bold heading, as a report puts into the box.
    void fillLines(int count)
    {
        RTBFormat::ClearRTBFormat();
        QString report;
        RTBFormat::AddRTBFormatInfo(report, QStringLiteral("Heading\r\n"), {}, 0x800005, 12, 9, 2);
        for (int i = 1; i <= count; ++i)
            report += QStringLiteral("\tLine %1\tvalue\r\n").arg(i, 3, 10, QLatin1Char('0'));
        RTBFormat::FinishRTBFormat(box, report);
    }

    void print(const QString& serial, bool keepOpen = false, double top = 1440)
    {
        RTBFormat::WYSIWYG_RTF(box, 1440, 1440);
        RTBFormat::PrintRTF(box, 1440, top, 1440, 1440, keepOpen, serial);
    }

    // The edge ("xMin", "yMin") of every occurrence of word on the last job's pages, in points.
    static QList<double> positions(const char* edge, const QString& word)
    {
        QList<double> found;
        const QRegularExpression re(QStringLiteral("%1=\"([\\d.]+)\"[^>]*>%2<").arg(QLatin1String(edge), word));
        for (const QRegularExpressionMatch& m : re.globalMatch(pdfWordBoxes(currentPrinter().lastOutputFile())))
            found.append(m.captured(1).toDouble());
        return found;
    }

    QTemporaryDir m_pdfDir;
    RichTextBox box;
};

// "001 002 ...": the numbers of the lines "Line nnn" of text, in their order.
std::string lineNumbersIn(const QString& text)
{
    QStringList numbers;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("Line (\\d{3})")).globalMatch(text))
        numbers << m.captured(1);
    return numbers.join(QLatin1Char(' ')).toStdString();
}

} // namespace

TEST_F(PrintEngine, PagesCarryTheSerialNumberOnlyForOneAndEveryLineOnce)
{
    struct Case { int lines; QString serial; int pages; };
    for (const Case& c : {Case{-1, QStringLiteral("A123"), 1}, Case{3, QString(), 1}, // -1: the box left empty
                          Case{150, QStringLiteral("A1029384"), 3}}) { // 150 lines of 10 points fill 3 Letter pages
        if (c.lines >= 0)
            fillLines(c.lines);
        print(c.serial);
        const QString pdf = currentPrinter().lastOutputFile();
        ASSERT_EQ(pdfPageCount(pdf), c.pages) << c.lines << " lines";
        const QString serialLine = c.serial.isEmpty() ? QStringLiteral("SN:") : QStringLiteral("SN: ") + c.serial;
        QString all;
        for (int page = 1; page <= c.pages; ++page) {
            const QString text = pdfText(pdf, page);
            EXPECT_EQ(text.contains(serialLine), !c.serial.isEmpty()) << c.lines << " lines, page " << page;
            all += text;
        }
        EXPECT_EQ(lineNumbersIn(all), lineNumbersIn(box.Text())) << "a line was lost or printed twice at a page break";
    }
}

TEST_F(PrintEngine, APrintStartedBetweenPagesLeavesTheOneGoingOnWhole)
{
    fillLines(150);
    RichTextBox other;
    other.setText(QStringLiteral("Other report\r\n"));
    // Messages run between pages; one of them prints another box into the same job.
    QTimer::singleShot(0, [&] {
        RTBFormat::WYSIWYG_RTF(other, 1440, 1440);
        RTBFormat::PrintRTF(other, 1440, 1440, 1440, 1440, true, QString());
    });
    print(QString());
    const QString text = pdfText(currentPrinter().lastOutputFile());
    EXPECT_EQ(text.count(QStringLiteral("Other report")), 1);
    EXPECT_EQ(lineNumbersIn(text), lineNumbersIn(box.Text())) << "lines lost or printed twice";
}

TEST_F(PrintEngine, AReportRepeatingTheTextBeforeItPrintsItsOwnFormats)
{
    fillLines(2); // the heading bold, 12 points, centred
    print(QString(), true);
    const QString text = box.Text();
    RTBFormat::ClearRTBFormat();
    RTBFormat::FinishRTBFormat(box, text); // the same text without formats
    print(QString());
    const QList<double> left = positions("xMin", QStringLiteral("Heading"));
    ASSERT_EQ(left.size(), 2);
    EXPECT_GT(left[0], 200.0) << "the first heading is centred";
    EXPECT_NEAR(left[1], 72.0, 2.0) << "the second report's heading must not take the lines of the first one's";
}

TEST_F(PrintEngine, KeptJobPutsTheNextReportOnANewPageOfTheSameFileAndEndsWithoutABlankOne)
{
    fillLines(5);
    print(QString(), true);
    EXPECT_TRUE(currentPrinter().jobOpen());
    fillLines(7);
    print(QString(), false);
    const QString pdf = currentPrinter().lastOutputFile();
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(pdfText(pdf, 1).contains(QStringLiteral("Line 005")));
    EXPECT_FALSE(pdfText(pdf, 1).contains(QStringLiteral("Line 007")));
    EXPECT_TRUE(pdfText(pdf, 2).contains(QStringLiteral("Line 007")));
    EXPECT_EQ(QDir(m_pdfDir.path()).entryList({QStringLiteral("*.pdf")}).size(), 1) << "one job, one file";
    print(QString(), true);
    currentPrinter().EndDoc();
    EXPECT_EQ(pdfPageCount(currentPrinter().lastOutputFile()), 1)
        << "the page begun for a next report that never came must not be printed";
}

TEST_F(PrintEngine, BatchTopMarginStartsTheTextHigher)
{
    fillLines(1);
    auto firstLineY = [&](double top) {
        print(QString(), false, top);
        return positions("yMin", QStringLiteral("Heading")).value(0, -1);
    };
    const double normal = firstLineY(1440);
    const double batch = firstLineY(1440 - 2 * currentPrinter().TextHeight(QStringLiteral("Dummy8")));
    EXPECT_NEAR(normal, 72.0, 6.0) << "one inch is 72 points from the top";
    ASSERT_GT(batch, 0);
    EXPECT_LT(batch, normal) << "the batch report needs room above for its header lines";
}

TEST_F(PrintEngine, LinesAreThePaperLessTheMarginsAndTabStopsLandWhereTheTwipsSay)
{
    RTBFormat::ClearRTBFormat();
    RTBFormat::FinishRTBFormat(box, QStringLiteral("\tLabel:\tValue\r\n"));
    box.setSelStart(0);
    box.setSelLength(std::int32_t(box.Text().size()));
    box.setSelTabCount(2);
    box.setSelTabs(0, 144);
    box.setSelTabs(1, 3000);
    const std::int32_t width = RTBFormat::WYSIWYG_RTF(box, 1440, 1440);
    EXPECT_EQ(width, 12240 - 2 * 1440) << "Letter paper is 8.5 inches wide";
    EXPECT_EQ(box.targetLineWidth(), width) << "the box must lay its lines out for the printer";
    EXPECT_NE(box.targetDevice(), nullptr);
    print(QString());
    // One inch of margin and 3000 twips of tab stop: 72 + 150 points from the left edge.
    const QList<double> value = positions("xMin", QStringLiteral("Value"));
    ASSERT_EQ(value.size(), 1);
    EXPECT_NEAR(value[0], 222.0, 2.0) << "a value column off its tab stop breaks the report's columns";
}

TEST_F(PrintEngine, PageOnWhichNothingFitsEndsWithAnError)
{
    fillLines(3);
    RTBFormat::WYSIWYG_RTF(box, 1440, 1440);
    try {
        RTBFormat::PrintRTF(box, 1440, 7000, 1440, 8800, false, QString());
        FAIL() << "printing must stop instead of looping over empty pages";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("RTBFormat.PrintRTF"));
        EXPECT_EQ(e.number(), hresultFrom(0x80040000u));
    }
}

TEST_F(PrintEngine, RestorePrinterKeepsTheCurrentOneForAnUnknownName)
{
    setPrinterListSource([] { return QStringList{QStringLiteral("Alpha"), Printer::PdfPrinterName}; });
    PRINTR::SavedPrinterName() = QStringLiteral("No such printer");
    PRINTR::RestorePrinter();
    EXPECT_EQ(currentPrinter().DeviceName(), Printer::PdfPrinterName) << "not the first printer listed";
    setPrinterListSource({});
}

TEST_F(PrintEngine, JobFilesAreNewFilesInTheirFolder)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("elsewhere.pdf"));
    ASSERT_TRUE(QFile::link(target, m_pdfDir.filePath(QStringLiteral("job-0001.pdf")))); // dangling
    fillLines(1);
    print(QStringLiteral("A1"));
    EXPECT_EQ(currentPrinter().lastOutputFile(), m_pdfDir.filePath(QStringLiteral("job-0002.pdf")))
        << "a name that is taken, even by a dangling link, is skipped";
    EXPECT_FALSE(QFileInfo::exists(target)) << "the job must not be written through the link";
    EXPECT_EQ(pdfPageCount(currentPrinter().lastOutputFile()), 1);

    qputenv("VXRECINFO_PDF_DIR", "/proc"); // there, but nobody may create files in it
    try {
        RTBFormat::WYSIWYG_RTF(box, 1440, 1440);
        FAIL() << "a folder that takes no file must fail the job";
    } catch (const RuntimeError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("/proc"))) << "the message must name the folder: "
                                                                       << e.description().toStdString();
    }
}

// In the first milliseconds of a second Qt's clock names the new second while the C library's
// coarse one, which the PDF writer dates the update with, still names the old one.
TEST_F(PrintEngine, ARecordUpdateJustAfterASecondTurnsHasDatesThatAgree)
{
    QBuffer written;
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    {
        QPdfWriter writer(&written);
        QPainter painter(&writer);
        painter.drawText(100, 100, QStringLiteral("one page"));
    }
    for (int i = 0; i < 2; ++i) {
        const qint64 turn = (QDateTime::currentMSecsSinceEpoch() / 1000 + 1) * 1000;
        while (QDateTime::currentMSecsSinceEpoch() < turn) {
        }
        EXPECT_NO_THROW(pdfRecordUpdate(written.data(), {QStringLiteral("Job"), {}, {}}, {},
                                        QDateTime::currentDateTime(), QStringLiteral("Record")));
    }
}
