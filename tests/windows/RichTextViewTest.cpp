#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "richtext/TextDocumentBuilder.h"
#include "windows/RichTextView.h"

#include <QApplication>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;

namespace {

void buildReport(RichTextBox& box)
{
    ClearRTBFormat();
    QString report;
    AddRTBFormatInfo(report, QStringLiteral("Heading\r\n"), {}, 0x800005, 12, FontStyle::Bold, 2);
    AddRTBFormatInfo(report, QStringLiteral("\tLabel:\tvalue\r\n"), {}, -1, 0, 0, 0);
    AddRTBFormatInfo(report, QStringLiteral("last"), {}, -1, 0, FontStyle::Italic, 0);
    FinishRTBFormat(box, report);
    box.setSelStart(0);
    box.setSelLength(std::int32_t(report.size()));
    box.setSelTabCount(2);
    box.setSelTabs(0, 144);
    box.setSelTabs(1, 3000);
}

} // namespace

TEST(RichTextView, ShowsTheBoxWithItsFormatsAndFollowsIt)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Liberation Sans"), 9);
    RichTextView view;
    view.setModel(&box);
    EXPECT_TRUE(view.isReadOnly()) << "the user must not edit the report";

    buildReport(box);
    QApplication::processEvents();
    QTextDocument* doc = view.document();
    ASSERT_EQ(doc->blockCount(), 3);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("Heading\n\tLabel:\tvalue\nlast"));
    const QTextBlock heading = doc->firstBlock();
    EXPECT_EQ(heading.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat headingFormat = heading.begin().fragment().charFormat();
    EXPECT_EQ(headingFormat.fontWeight(), QFont::Bold);
    EXPECT_EQ(headingFormat.foreground().color(), QColor(5, 0, 128));
    EXPECT_DOUBLE_EQ(headingFormat.fontPointSize(), 12.0);
    const QTextBlock row = heading.next();
    ASSERT_EQ(row.blockFormat().tabPositions().size(), 2);
    EXPECT_NEAR(row.blockFormat().tabPositions()[1].position, 3000 / 1440.0 * view.logicalDpiX(), 0.01);
    EXPECT_TRUE(row.next().begin().fragment().charFormat().fontItalic());

    box.setText(QStringLiteral("changed"));
    QApplication::processEvents();
    EXPECT_EQ(view.document()->toPlainText(), QStringLiteral("changed")) << "the view must follow its box";
}

TEST(RichTextView, BoundToAPrinterTheViewWrapsAtThePrintersLineWidth)
{
    RichTextBox box;
    box.setText(QStringLiteral("a long line"));
    RichTextView view;
    view.setModel(&box);
    QImage printerStandIn(10, 10, QImage::Format_RGB32);
    box.setTargetDevice(&printerStandIn, 9360);
    QApplication::processEvents();
    EXPECT_EQ(view.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(view.lineWrapColumnOrWidth(), int(9360 / 1440.0 * view.logicalDpiX()))
        << "the screen must break lines where the printer will";
}

TEST(RichTextView, PositionsMapBetweenBoxAndDocument)
{
    RichTextBox box;
    box.setText(QStringLiteral("ab\r\ncd\r\n"));
    // Box: a0 b1 CR2 LF3 c4 d5 CR6 LF7 | document: a0 b1 sep2 c3 d4 sep5
    EXPECT_EQ(documentPosition(box, 0), 0);
    EXPECT_EQ(documentPosition(box, 4), 3);
    EXPECT_EQ(documentPosition(box, 5), 4);
    EXPECT_EQ(documentPosition(box, 8), 6);
    EXPECT_EQ(boxPosition(box, 3), 4);
    EXPECT_EQ(boxPosition(box, 6), 8);
    for (qsizetype p : {0, 1, 4, 5, 8})
        EXPECT_EQ(boxPosition(box, documentPosition(box, p)), p);
}
