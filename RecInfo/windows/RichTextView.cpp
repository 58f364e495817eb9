#include "RichTextView.h"

#include "richtext/RichTextBox.h"
#include "richtext/TextDocumentBuilder.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTimer>

namespace vxRecInfo {

RichTextView::RichTextView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
}

void RichTextView::setModel(RichTextBox* box)
{
    if (m_box)
        disconnect(m_box, nullptr, this, nullptr);
    m_box = box;
    if (m_box)
        connect(m_box, &RichTextBox::changed, this, &RichTextView::scheduleSync);
    sync();
}

void RichTextView::setLayoutDevice(QPaintDevice* device, int lineWidthTwips)
{
    m_device = device;
    m_lineWidthTwips = lineWidthTwips;
    sync();
}

void RichTextView::scheduleSync()
{
    // A report applies thousands of runs: rebuild once, after the last of them.
    if (m_syncPending)
        return;
    m_syncPending = true;
    QTimer::singleShot(0, this, &RichTextView::sync);
}

void RichTextView::sync()
{
    m_syncPending = false;
    QTextDocument* doc = document();
    if (!m_box) {
        doc->clear();
        return;
    }
    const qreal dpi = m_device ? m_device->logicalDpiX() : logicalDpiX();
    doc->documentLayout()->setPaintDevice(m_device);
    buildTextDocument(*m_box, *doc, dpi);
    if (m_device && m_lineWidthTwips > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(int(m_lineWidthTwips / 1440.0 * dpi));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}

} // namespace vxRecInfo
