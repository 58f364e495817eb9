#include "RichTextView.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vxRecInfo {

RichTextView::RichTextView(QWidget* parent) : QAbstractScrollArea(parent) {}

void RichTextView::setModel(RichTextBox* box)
{
    if (m_box)
        disconnect(m_box, nullptr, this, nullptr);
    m_box = box;
    if (m_box) {
        connect(m_box, &RichTextBox::changed, this, &RichTextView::boxChanged);
        connect(m_box, &QObject::destroyed, this, &RichTextView::boxChanged);
    }
    m_layout.clear();
    boxChanged();
}

int RichTextView::lineWrapWidth() const
{
    if (m_box && m_box->targetDevice() && m_box->targetLineWidth() > 0)
        return int(m_box->targetLineWidth() / 1440.0 * logicalDpiX());
    return viewport()->width();
}

void RichTextView::boxChanged()
{
    // A report applies thousands of runs: catch up once, after the last of them, and only
    // when the view is seen (showing it catches up too).
    m_stale = true;
    if (m_queued || !isVisible())
        return;
    m_queued = true;
    QMetaObject::invokeMethod(this, &RichTextView::catchUp, Qt::QueuedConnection);
}

void RichTextView::catchUp()
{
    m_queued = false;
    if (!m_stale)
        return;
    m_stale = false;
    m_layout.reset(m_box, viewport(), lineWrapWidth());
    // A new report is read from its top.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    layOutShown();
}

void RichTextView::layOutShown()
{
    m_layout.layOutTo(verticalScrollBar()->value() + viewport()->height());
    updateScrollBars();
    viewport()->update();
}

const QTextLayout* RichTextView::paragraphLayout(int n)
{
    if (m_stale)
        catchUp();
    while (m_layout.laidOut() <= n && m_layout.layOutNext()) {
    }
    return n >= 0 && n < m_layout.laidOut() ? &m_layout.paragraph(n) : nullptr;
}

void RichTextView::updateScrollBars()
{
    // Paragraphs not laid out yet count one line each until they are.
    const int rest = m_layout.paragraphCount() - m_layout.laidOut();
    qreal lineHeight = 1;
    if (m_box) {
        QFont font(m_box->defaultFontName());
        font.setPointSizeF(m_box->defaultFontSize());
        lineHeight = std::max<qreal>(1, QFontMetricsF(font, viewport()).height());
    }
    const int height = int(std::ceil(m_layout.height() + rest * lineHeight));
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(viewport()->height());
    vertical->setSingleStep(int(lineHeight));
    vertical->setRange(0, std::max(0, height - viewport()->height()));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(viewport()->width());
    horizontal->setRange(0, std::max(0, lineWrapWidth() - viewport()->width()));
}

void RichTextView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_stale)
        catchUp();
}

void RichTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!isVisible())
        m_stale = true; // laid out when shown
    if (m_stale)
        return;
    // Lines that keep their width are laid out again from those laid out now.
    m_layout.reset(m_box, viewport(), lineWrapWidth());
    layOutShown();
}

void RichTextView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (m_stale)
        return;
    const int before = m_layout.laidOut();
    m_layout.layOutTo(verticalScrollBar()->value() + viewport()->height());
    if (m_layout.laidOut() != before)
        updateScrollBars();
}

void RichTextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const QRectF clip = event->rect();
    for (int n = 0; n < m_layout.laidOut(); ++n) {
        const QTextLayout& paragraph = m_layout.paragraph(n);
        const qreal top = paragraph.position().y() + offset.y();
        if (top > clip.bottom())
            break;
        if (top + paragraph.boundingRect().height() >= clip.top())
            paragraph.draw(&painter, offset);
    }
}

} // namespace vxRecInfo
