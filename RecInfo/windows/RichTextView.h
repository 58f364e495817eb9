#pragma once
// The window's view of a rich-text box (txtInfo): read-only for the user, it shows the box's
// text with its formats, alignment and tab stops, and follows the box's changes. For printing
// it can be laid out for another device at a given line width.

#include <QPointer>
#include <QTextEdit>

class QPaintDevice;

namespace vxRecInfo {

class RichTextBox;

class RichTextView : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichTextView(QWidget* parent = nullptr);

    void setModel(RichTextBox* box);
    RichTextBox* model() const { return m_box; }

    // Lays the text out for device with lines of lineWidthTwips (0: the view's own width,
    // on the screen again when device is null).
    void setLayoutDevice(QPaintDevice* device, int lineWidthTwips);
    QPaintDevice* layoutDevice() const { return m_device; }

    // Rebuilds the shown document now instead of at the next turn of the event loop.
    void sync();

private:
    void scheduleSync();

    QPointer<RichTextBox> m_box;
    QPaintDevice* m_device = nullptr;
    int m_lineWidthTwips = 0;
    bool m_syncPending = false;
};

} // namespace vxRecInfo
