// SPDX-License-Identifier: MIT
#pragma once
// Lays a rich-text box out for a device at a line width, paragraph by paragraph, one
// QTextLayout each: for the view on screen and for the printer. Lines break and stand where a
// QTextDocument holding the box (one block per paragraph, character formats as they are,
// alignment and tab stops from twips) would put them on that device, without the document:
// paragraphs are laid out only as far as they are needed, and the layouts of paragraphs that
// come again with the same text and formats are reused (reports repeat their headings and
// labels from one to the next).

#include "RichTextBox.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <unordered_map>
#include <vector>

class QPaintDevice;

namespace vxRecInfo {

class BoxLayout
{
public:
    BoxLayout();
    ~BoxLayout();
    BoxLayout(const BoxLayout&) = delete;
    BoxLayout& operator=(const BoxLayout&) = delete;

    // Starts over on box (none: nothing to lay out), for device at a line width in device
    // pixels. The box must not change until the next reset; the device must outlive the
    // layouts made until then. What was laid out before is kept for reuse while the device's
    // resolution, the box's default font and the width stay.
    void reset(const RichTextBox* box, const QPaintDevice* device, qreal width);
    // Forgets the box and the device; what was laid out stays for reuse by the next reset.
    void release();
    // Drops every layout, those kept for reuse too.
    void clear();

    // Lays out the next paragraph; false when every one is.
    bool layOutNext();
    // Lays out paragraphs until they reach down to bottom (device pixels).
    void layOutTo(qreal bottom);

    int paragraphCount() const { return int(m_paragraphs.size()); }
    int laidOut() const { return int(m_layouts.size()); }
    // Paragraph n (below laidOut()); its position is its top left corner.
    const QTextLayout& paragraph(int n) const { return *m_layouts[std::size_t(n)]; }
    // The box position of paragraph n's first character.
    qsizetype paragraphStart(int n) const { return m_paragraphs[n].start; }
    // The height of the paragraphs laid out, in device pixels.
    qreal height() const { return qreal(m_height) / 64; }

private:
    std::unique_ptr<QTextLayout> reusable(const QString& text, const QFont& font,
                                          const QList<QTextLayout::FormatRange>& formats, const QTextOption& option);

    const RichTextBox* m_box = nullptr;
    const QPaintDevice* m_device = nullptr;
    QList<Paragraph> m_paragraphs;
    std::vector<std::unique_ptr<QTextLayout>> m_layouts;
    std::unordered_multimap<QString, std::unique_ptr<QTextLayout>> m_reusable;
    // Kept as a document keeps them, in 64ths of a pixel.
    qint64 m_height = 0;
    int m_width = 0;
    int m_dpi = 0;
    QFont m_font; // the box's default font on the device
    // The format of the text laid out last: an empty paragraph is as high as that text, as a
    // document's empty block keeps the format its cursor had.
    CharFormat m_lastFormat;
};

} // namespace vxRecInfo
