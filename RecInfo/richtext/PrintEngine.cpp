// SPDX-License-Identifier: MIT
#include "PrintEngine.h"

#include "RTBFormat.h"
#include "RichTextBox.h"
#include "TextDocumentBuilder.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "printing/Printer.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace vxRecInfo {

namespace {

constexpr double TwipsPerInch = 1440.0;

// The thread's print layout, kept from report to report: they share their fonts and many of
// their lines (headings, labels). A print started while another one lets messages run between
// its pages gets a layout of its own.
struct PrintLayoutPart {
    BoxLayout layout;
    bool inUse = false;
};

BoxLayout& sharedOrOwn(std::unique_ptr<BoxLayout>& own)
{
    PrintLayoutPart& part = ModuleState::current().part<PrintLayoutPart>();
    if (!part.inUse) {
        part.inUse = true;
        return part.layout;
    }
    own = std::make_unique<BoxLayout>();
    return *own;
}

} // namespace

PageRenderer::PageRenderer(const RichTextBox& box, Printer& printer, const QRectF& rect)
    : m_box(box), m_printer(printer), m_layout(sharedOrOwn(m_ownLayout))
{
    const double sx = printer.dpiX() / TwipsPerInch;
    const double sy = printer.dpiY() / TwipsPerInch;
    m_rectPixels = QRectF(rect.left() * sx, rect.top() * sy, rect.width() * sx, rect.height() * sy);
    try {
        // Laid out on the printer itself: its resolution, not the screen's, decides the lines.
        // All at once: the box may change while messages run between pages.
        m_layout.reset(&box, printer.device(), m_rectPixels.width());
        while (m_layout.layOutNext()) {
        }
    } catch (...) {
        releaseLayout();
        throw;
    }
}

PageRenderer::~PageRenderer()
{
    releaseLayout();
}

void PageRenderer::releaseLayout()
{
    // The layouts stay for the next report; the box and the job's device may not.
    m_layout.release();
    if (!m_ownLayout)
        ModuleState::current().part<PrintLayoutPart>().inUse = false;
}

qsizetype PageRenderer::render(qsizetype first)
{
    // The paragraph of the start position, and the start's place in it.
    int paragraph = 0;
    while (paragraph + 1 < m_layout.laidOut() && m_layout.paragraphStart(paragraph + 1) <= first)
        ++paragraph;
    if (paragraph >= m_layout.laidOut())
        return m_box.Text().size();
    const qsizetype offset = first - m_layout.paragraphStart(paragraph);

    double top = -1;
    double bottom = 0;
    qsizetype next = -1; // box position of the first line that does not fit
    for (int n = paragraph; next < 0 && n < m_layout.laidOut(); ++n) {
        const QTextLayout& lines = m_layout.paragraph(n);
        for (int i = 0; i < lines.lineCount(); ++i) {
            const QTextLine line = lines.lineAt(i);
            if (n == paragraph && line.textStart() + line.textLength() <= offset && i + 1 < lines.lineCount())
                continue; // lines before the start position
            const double lineTop = lines.position().y() + line.y();
            const double lineBottom = lineTop + line.height();
            if (top < 0)
                top = lineTop;
            if (lineBottom - top > m_rectPixels.height()) {
                next = m_layout.paragraphStart(n) + line.textStart();
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
        for (int n = paragraph; n < m_layout.laidOut(); ++n) {
            const QTextLayout& lines = m_layout.paragraph(n);
            if (lines.position().y() > bottom)
                break;
            // A paragraph's layout already stands at its place.
            lines.draw(&painter, QPointF(0, 0), {}, fitting);
        }
        painter.restore();
    }
    if (next < 0)
        return m_box.Text().size();
    return next;
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
        IProgressObserver* const progress = ModuleState::current().progressObserver();

        qsizetype first = 0;
        for (int page = 1;; ++page) {
            if (!serialNumber.isEmpty()) {
                // Top right of the page, in single precision as the layout was drawn up.
                printer.CurrentY = float(printer.TextHeight(QStringLiteral("Dummy8"))) + hostTop * 1440.0f / 2.0f;
                printer.CurrentX = 0.96f * float(printer.paperWidth()) - 1.1f * float(printer.TextWidth(serialNumber))
                    - hostRight * 1440.0f;
                printer.Print(QStringLiteral("SN: ") + serialNumber);
            }
            const qsizetype next = range.render(first);
            if (progress)
                progress->pageDone(page);
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
