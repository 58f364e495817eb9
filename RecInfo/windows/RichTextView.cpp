#include "RichTextView.h"

#include "richtext/RichTextBox.h"
#include "richtext/TextDocumentBuilder.h"

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
    // The view draws at the screen's resolution; bound to a printer it wraps its lines at the
    // printer's line width, so with scalable fonts the lines break where the printer's do.
    const qreal dpi = logicalDpiX();
    buildTextDocument(*m_box, *doc, dpi);
    if (m_box->targetDevice() && m_box->targetLineWidth() > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(int(m_box->targetLineWidth() / 1440.0 * dpi));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}

} // namespace vxRecInfo
