// SPDX-License-Identifier: MIT
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "windows/RichTextView.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QTextLayout>

#include <gtest/gtest.h>

Q_GUI_EXPORT int qt_defaultDpiX();

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;
using namespace Qt::Literals::StringLiterals;

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

TEST(RichTextView, ShowsTheBoxWithItsFormatsOnlyOnceShownAndFollowsIt)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Liberation Sans"), 9);
    RichTextView view;
    view.setModel(&box);
    buildReport(box);
    QApplication::processEvents();
    EXPECT_EQ(view.laidOutParagraphs(), 0) << "a view nobody sees must not lay the report out";

    view.show();
    ASSERT_EQ(view.laidOutParagraphs(), 3) << "a view shown must show the report at once";
    const QTextLayout* heading = view.paragraphLayout(0);
    EXPECT_EQ(heading->text(), QStringLiteral("Heading"));
    EXPECT_EQ(heading->textOption().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    ASSERT_EQ(heading->formats().size(), 1);
    const QTextCharFormat headingFormat = heading->formats()[0].format;
    EXPECT_EQ(headingFormat.fontWeight(), QFont::Bold);
    EXPECT_EQ(headingFormat.foreground().color(), QColor(5, 0, 128));
    EXPECT_DOUBLE_EQ(headingFormat.fontPointSize(), 12.0);
    const QTextLayout* row = view.paragraphLayout(1);
    EXPECT_EQ(row->text(), QStringLiteral("\tLabel:\tvalue"));
    ASSERT_EQ(row->textOption().tabs().size(), 2);
    EXPECT_NEAR(row->textOption().tabs()[1].position, 3000 / 1440.0 * qt_defaultDpiX(), 0.01)
        << "tab stops are given at Qt's resolution; the layout scales them to the screen's";
    EXPECT_TRUE(view.paragraphLayout(2)->formats().value(0).format.fontItalic());
    EXPECT_EQ(view.paragraphLayout(3), nullptr);

    box.setText(QStringLiteral("changed"));
    QApplication::processEvents();
    EXPECT_EQ(view.laidOutParagraphs(), 1) << "a shown view must lay out its box's change by itself";
    EXPECT_EQ(view.paragraphLayout(0)->text(), QStringLiteral("changed")) << "the view must follow its box";
    EXPECT_EQ(view.paragraphLayout(1), nullptr);
}

TEST(RichTextView, BoundToAPrinterTheViewWrapsAtThePrintersLineWidth)
{
    RichTextBox box;
    box.setText(QStringLiteral("a long line"));
    RichTextView view;
    view.setModel(&box);
    QImage printerStandIn(10, 10, QImage::Format_RGB32);
    box.setTargetDevice(&printerStandIn, 9360);
    const int width = int(9360 / 1440.0 * view.logicalDpiX());
    EXPECT_EQ(view.lineWrapWidth(), width) << "the screen must break lines where the printer will";
    EXPECT_EQ(view.paragraphLayout(0)->lineAt(0).width(), width);
}

namespace {

// The viewport point of a box position: its line's middle, at the character's left edge.
QPoint pointOf(RichTextView& view, int paragraph, int offset)
{
    const QTextLayout* layout = view.paragraphLayout(paragraph);
    const QTextLine line = layout->lineForTextPosition(offset);
    return QPointF(line.cursorToX(offset) + 1, layout->position().y() + line.y() + line.height() / 2).toPoint();
}

const QMimeData& clipboard()
{
    return *QGuiApplication::clipboard()->mimeData();
}

} // namespace

// Beyond tests/display/: a selection across paragraphs, Shift+click, a partial run's RTF, a screen reader.
TEST(RichTextView, TheUserSelectsAndCopiesAsInAnyViewer)
{
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Liberation Sans"), 9);
    RichTextView view;
    view.setModel(&box);
    buildReport(box);
    view.resize(500, 300);
    view.show();
    QWidget* port = view.viewport();
    const qsizetype label = box.Text().indexOf(u"Label");

    // Drag from the start of "Label" to the middle of "last"; Ctrl+C copies the selection.
    QTest::mousePress(port, Qt::LeftButton, {}, pointOf(view, 1, 1));
    QTest::mouseMove(port, pointOf(view, 2, 2));
    QTest::mouseRelease(port, Qt::LeftButton, {}, pointOf(view, 2, 2));
    EXPECT_EQ(view.selectionStart(), label);
    EXPECT_EQ(view.selectedText(), u"Label:\tvalue\nla"_s) << "tabs stay, paragraph ends become line feeds";
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard().text(), u"Label:\tvalue\nla"_s);
    const QByteArray rtf = clipboard().data(u"text/rtf"_s);
    EXPECT_TRUE(rtf.contains("\\i ") || rtf.contains("\\i\\")) << "the italic of \"last\" must reach the RTF";

    // Shift+click extends from the same anchor.
    QTest::mouseClick(port, Qt::LeftButton, Qt::ShiftModifier, pointOf(view, 1, 4));
    EXPECT_EQ(view.selectedText(), u"Lab"_s);
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.selectedText(), u"Heading\n\tLabel:\tvalue\nlast"_s);

    // A screen reader reads the same text, selection and caret, and can select.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    ASSERT_TRUE(accessible && accessible->textInterface());
    QAccessibleTextInterface& text = *accessible->textInterface();
    EXPECT_EQ(text.characterCount(), box.Text().size());
    EXPECT_EQ(text.text(0, 7), u"Heading"_s);
    int start = -1, end = -1;
    text.selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, int(box.Text().size())));
    text.setSelection(0, int(label), int(label) + 5);
    EXPECT_EQ(view.selectedText(), u"Label"_s);
    EXPECT_EQ(text.cursorPosition(), label + 5);
    EXPECT_TRUE(accessible->state().readOnly);
    // Each character's cell is where the reader finds it again; past the text there is none.
    for (int i : {0, 6, int(label), int(label) + 6, int(box.Text().size()) - 1}) {
        const QRect cell = text.characterRect(i);
        EXPECT_FALSE(cell.isEmpty()) << i;
        EXPECT_EQ(text.offsetAtPoint(QPoint(cell.left() + cell.width() / 4, cell.center().y())), i) << i;
    }
    EXPECT_TRUE(text.characterRect(int(box.Text().size())).isEmpty());
    // A new report starts with nothing selected.
    buildReport(box);
    QApplication::processEvents();
    EXPECT_EQ(view.selectionStart(), view.selectionEnd());
}
