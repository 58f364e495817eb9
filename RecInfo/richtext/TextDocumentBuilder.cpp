// SPDX-License-Identifier: MIT
#include "TextDocumentBuilder.h"

#include <QColor>
#include <QPaintDevice>

#include <cmath>

Q_GUI_EXPORT int qt_defaultDpiX();

namespace vxRecInfo {

namespace {

// Only what differs from the box's default font, which is the layout's: text in that font
// shares the layout's font and its font engine instead of looking one up for every piece.
QTextCharFormat charFormat(const CharFormat& f)
{
    QTextCharFormat format;
    if (!f.font.isEmpty())
        format.setFontFamilies({f.font});
    if (f.size != 0)
        format.setFontPointSize(f.size);
    if (f.bold)
        format.setFontWeight(QFont::Bold);
    if (f.italic)
        format.setFontItalic(true);
    if (f.strike)
        format.setFontStrikeOut(true);
    if (f.underline)
        format.setFontUnderline(true);
    if (f.color != -1)
        format.setForeground(QColor(f.color & 0xFF, (f.color >> 8) & 0xFF, (f.color >> 16) & 0xFF));
    return format;
}

// The option a document gives a block: its alignment made absolute, its tab stops, wrapping at
// word boundaries or anywhere. Tab stops are given at Qt's default resolution; the layout
// scales them by its font's resolution, as a document scales them by its device's.
QTextOption paragraphOption(const QString& text, const ParagraphFormat& p)
{
    const Qt::LayoutDirection direction = text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    Qt::Alignment alignment = p.alignment == Alignment::Right    ? Qt::AlignRight
                              : p.alignment == Alignment::Center ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
    if (alignment & (Qt::AlignLeft | Qt::AlignRight)) {
        if (direction == Qt::RightToLeft)
            alignment ^= Qt::AlignLeft | Qt::AlignRight;
        alignment |= Qt::AlignAbsolute;
    }
    QTextOption option(alignment);
    option.setTextDirection(direction);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QList<QTextOption::Tab> tabs;
    for (const std::int32_t twips : p.tabs)
        tabs.append(QTextOption::Tab(twips / 1440.0 * qt_defaultDpiX(), QTextOption::LeftTab));
    option.setTabs(tabs);
    return option;
}

// Characters of a paragraph without its end (CR LF, CR or LF).
qsizetype contentLength(const QString& text, const Paragraph& p)
{
    qsizetype length = p.length;
    if (length > 0 && text[p.start + length - 1] == QLatin1Char('\n'))
        --length;
    if (length > 0 && text[p.start + length - 1] == QLatin1Char('\r'))
        --length;
    return length;
}

// A document measures in 64ths of a pixel, cutting off what is finer.
int fixed(qreal pixels)
{
    return int(pixels * 64);
}

} // namespace

BoxLayout::BoxLayout() = default;

BoxLayout::~BoxLayout() = default;

void BoxLayout::clear()
{
    m_layouts.clear();
    m_reusable.clear();
    m_height = 0;
}

void BoxLayout::reset(const RichTextBox* box, const QPaintDevice* device, qreal width)
{
    QFont font;
    if (box) {
        font = QFont(box->defaultFontName());
        font.setPointSizeF(box->defaultFontSize());
    }
    if (device)
        font = QFont(font, device);
    const int dpi = device ? device->logicalDpiY() : 0;
    if (font != m_font || dpi != m_dpi || fixed(width) != m_width)
        clear();
    m_font = font;
    m_dpi = dpi;
    m_width = fixed(width);
    release();
    m_box = box;
    m_device = device;
    m_paragraphs = box ? box->paragraphs() : QList<Paragraph>();
    m_height = 0;
    m_lastFormat = CharFormat{};
}

void BoxLayout::release()
{
    // Only the last report's layouts are kept.
    if (!m_layouts.empty()) {
        m_reusable.clear();
        for (std::unique_ptr<QTextLayout>& layout : m_layouts) {
            const QString text = layout->text();
            m_reusable.emplace(text, std::move(layout));
        }
        m_layouts.clear();
    }
    m_box = nullptr;
    m_device = nullptr;
    m_paragraphs.clear();
    m_height = 0;
}

std::unique_ptr<QTextLayout> BoxLayout::reusable(const QString& text, const QFont& font,
                                                 const QList<QTextLayout::FormatRange>& formats,
                                                 const QTextOption& option)
{
    auto [it, end] = m_reusable.equal_range(text);
    for (; it != end; ++it) {
        const QTextLayout& candidate = *it->second;
        const QTextOption& kept = candidate.textOption();
        if (candidate.font() == font && candidate.formats() == formats && kept.alignment() == option.alignment()
            && kept.textDirection() == option.textDirection() && kept.tabs() == option.tabs()) {
            std::unique_ptr<QTextLayout> layout = std::move(it->second);
            m_reusable.erase(it);
            return layout;
        }
    }
    return nullptr;
}

bool BoxLayout::layOutNext()
{
    const int n = laidOut();
    if (!m_box || n >= paragraphCount())
        return false;
    const Paragraph& p = m_paragraphs[n];
    const qsizetype length = contentLength(m_box->Text(), p);
    const QString text = m_box->Text().mid(p.start, length);
    QFont font = m_font;
    if (text.isEmpty() && m_lastFormat != CharFormat{})
        font = QFont(charFormat(m_lastFormat).font().resolve(m_font), m_device);
    QList<QTextLayout::FormatRange> formats;
    for (const FormatRange& r : m_box->formatRanges(p.start, length)) {
        if (r.format != CharFormat{})
            formats.append({int(r.start - p.start), int(r.length), charFormat(r.format)});
        m_lastFormat = r.format;
    }
    QTextOption option = paragraphOption(text, p.format);

    std::unique_ptr<QTextLayout> layout = reusable(text, font, formats, option);
    if (!layout) {
        layout = std::make_unique<QTextLayout>(text, font, m_device);
        layout->setTextOption(option);
        layout->setFormats(formats);
        layout->setCacheEnabled(true); // drawn after: keep the glyphs
        const bool wordOrAnywhere = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
        const qreal width = qreal(m_width) / 64;
        qint64 y = 0;
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            if (fixed(line.naturalTextWidth()) > m_width) {
                // Wider than the line: it gets what it needs, broken anywhere, and the rest of
                // the paragraph breaks at words only.
                line.setLineWidth(width);
                if (fixed(line.naturalTextWidth()) > m_width) {
                    if (wordOrAnywhere) {
                        option.setWrapMode(QTextOption::WrapAnywhere);
                        layout->setTextOption(option);
                    }
                    line.setLineWidth(std::max(line.naturalTextWidth(), width));
                    if (wordOrAnywhere) {
                        option.setWrapMode(QTextOption::WordWrap);
                        layout->setTextOption(option);
                    }
                }
            }
            line.setPosition(QPointF(0, qreal(y) / 64));
            y += fixed(line.height());
        }
        layout->endLayout();
    }
    layout->setPosition(QPointF(0, height()));
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    if (last.isValid())
        m_height += std::llround(last.y() * 64) + fixed(last.height());
    m_layouts.push_back(std::move(layout));
    return true;
}

void BoxLayout::layOutTo(qreal bottom)
{
    while (height() < bottom && layOutNext()) {
    }
}

} // namespace vxRecInfo
