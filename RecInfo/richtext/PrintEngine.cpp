#include "PrintEngine.h"

#include "RTBFormat.h"
#include "RichTextBox.h"
#include "TextDocumentBuilder.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "printing/Printer.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

Q_GUI_EXPORT int qt_defaultDpiX();

namespace vxRecInfo {

namespace {

constexpr double TwipsPerInch = 1440.0;

// The text layout hands part of its work to timers, and timers need the thread's event
// dispatcher: a thread the host started itself, not a QThread, gets one here.
void ensureEventDispatcher()
{
    if (!QAbstractEventDispatcher::instance()) {
        const QEventLoop loop;
        Q_UNUSED(loop);
    }
}

} // namespace

PageRenderer::PageRenderer(const RichTextBox& box, Printer& printer, const QRectF& rect)
    : m_box(box), m_printer(printer)
{
    ensureEventDispatcher();
    const double sx = printer.dpiX() / TwipsPerInch;
    const double sy = printer.dpiY() / TwipsPerInch;
    m_rectPixels = QRectF(rect.left() * sx, rect.top() * sy, rect.width() * sx, rect.height() * sy);
    // Laid out on the printer itself: its resolution, not the screen's, decides the lines.
    m_document.documentLayout()->setPaintDevice(printer.device());
    // Tab stops of a document laid out on a device are scaled by the device's resolution over
    // Qt's default one, so they are given at the default resolution.
    buildTextDocument(box, m_document, qt_defaultDpiX());
    m_document.setTextWidth(m_rectPixels.width());
}

qsizetype PageRenderer::render(qsizetype first)
{
    const int startPosition = documentPosition(m_box, first);
    QAbstractTextDocumentLayout* layout = m_document.documentLayout();
    QTextBlock block = m_document.findBlock(startPosition);
    if (!block.isValid())
        return m_box.Text().size();

    double top = -1;
    double bottom = 0;
    int next = -1; // document position of the first line that does not fit
    bool firstBlock = true;
    for (; block.isValid() && next < 0; block = block.next(), firstBlock = false) {
        const QTextLayout* lines = block.layout();
        const double blockTop = layout->blockBoundingRect(block).top();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            if (firstBlock && line.textStart() + line.textLength() <= startPosition - block.position()
                && i + 1 < lines->lineCount())
                continue; // lines before the start position
            const double lineTop = blockTop + line.y();
            const double lineBottom = lineTop + line.height();
            if (top < 0)
                top = lineTop;
            if (lineBottom - top > m_rectPixels.height()) {
                next = block.position() + line.textStart();
                break;
            }
            bottom = lineBottom;
        }
    }

    if (bottom > top) {
        // Draw line by line, and only the lines that fit: a clip alone would still put the
        // text of a cut line into the page (readers of the file would see it twice).
        QPainter& painter = m_printer.painter();
        painter.save();
        painter.translate(m_rectPixels.left(), m_rectPixels.top() - top);
        painter.setPen(Qt::black);
        const QRectF fitting(0, top + 0.5, m_rectPixels.width(), bottom - top - 1.0);
        for (QTextBlock b = m_document.findBlock(startPosition); b.isValid(); b = b.next()) {
            const QRectF blockRect = layout->blockBoundingRect(b);
            if (blockRect.top() > bottom)
                break;
            // A block's layout already stands at the block's place in the document.
            b.layout()->draw(&painter, QPointF(0, 0), {}, fitting);
        }
        painter.restore();
    }
    if (next < 0)
        return m_box.Text().size();
    return boxPosition(m_box, next);
}

namespace RTBFormat {

std::int32_t WYSIWYG_RTF(RichTextBox& box, std::int32_t leftMargin, std::int32_t rightMargin)
{
    try {
        Printer& printer = currentPrinter();
        printer.Print(QStringLiteral(" "));
        const auto offset = std::int32_t(std::lround(printer.physicalOffsetX()));
        const std::int32_t left = leftMargin - offset;
        const std::int32_t right = std::int32_t(std::lround(printer.paperWidth())) - rightMargin - offset;
        const std::int32_t lineWidth = right - left;
        box.setTargetDevice(printer.layoutDevice(), lineWidth);
        return lineWidth;
    } catch (...) {
        raiseWrapped("WYSIWYG_RTF");
    }
}

void PrintRTF(RichTextBox& box, std::int32_t leftMargin, double topMargin, double rightMargin, double bottomMargin,
              bool keepJobOpen, const QString& serialNumber)
{
    try {
        Printer& printer = currentPrinter();
        printer.Print(QStringLiteral(" "));
        IDispatch* settings = hostSettings();
        const float hostRight = lateGet(settings, QStringLiteral("RightMargin")).toSingle();
        const float hostTop = lateGet(settings, QStringLiteral("TopMargin")).toSingle();

        const double offsetX = std::round(printer.physicalOffsetX());
        const double offsetY = std::round(printer.physicalOffsetY());
        const QRectF rect(QPointF(leftMargin - offsetX, topMargin - offsetY),
                          QPointF(printer.paperWidth() - rightMargin - offsetX,
                                  printer.paperHeight() - bottomMargin - offsetY));
        PageRenderer range(box, printer, rect);
        const qsizetype length = box.Text().size();

        qsizetype first = 0;
        for (;;) {
            if (!serialNumber.isEmpty()) {
                // Top right of the page, in single precision as the layout was drawn up.
                printer.CurrentY = float(printer.TextHeight(QStringLiteral("Dummy8"))) + hostTop * 1440.0f / 2.0f;
                printer.CurrentX = 0.96f * float(printer.paperWidth()) - 1.1f * float(printer.TextWidth(serialNumber))
                    - hostRight * 1440.0f;
                printer.Print(QStringLiteral("SN: ") + serialNumber);
            }
            const qsizetype next = range.render(first);
            if (next >= length)
                break;
            if (next <= first)
                throw RuntimeError(Err::PrinterError,
                                   QStringLiteral("Printer error: a line does not fit on the page"));
            first = next;
            printer.NewPage();
            printer.Print(QStringLiteral(" "));
            QCoreApplication::processEvents();
        }
        if (keepJobOpen)
            printer.NewPage();
        else
            printer.EndDoc();
    } catch (...) {
        raiseWrapped("PrintRTF");
    }
}

} // namespace RTBFormat

} // namespace vxRecInfo
