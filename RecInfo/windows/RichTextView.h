#pragma once
// The window's view of a rich-text box (txtInfo): read-only for the user, it shows the box's
// text with its formats, alignment and tab stops, and follows the box's changes, its binding to
// a printer included.

#include <QPointer>
#include <QTextEdit>

namespace vxRecInfo {

class RichTextBox;

class RichTextView : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichTextView(QWidget* parent = nullptr);

    void setModel(RichTextBox* box);
    RichTextBox* model() const { return m_box; }

    // Rebuilds the shown document now instead of at the next turn of the event loop.
    void sync();

private:
    void scheduleSync();

    QPointer<RichTextBox> m_box;
    bool m_syncPending = false;
};

} // namespace vxRecInfo
