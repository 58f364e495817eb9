// SPDX-License-Identifier: MIT
#include "BoxExcerpt.h"

#include "RtfWriter.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vxRecInfo {

namespace {

// The part of the box in a box of its own: its characters' formats, its paragraphs' formats.
void copyInto(RichTextBox& part, const RichTextBox& box, qsizetype start, qsizetype length)
{
    std::vector<CharFormat> formats;
    formats.reserve(std::size_t(length));
    for (qsizetype i = start; i < start + length; ++i)
        formats.push_back(box.formatAt(i));
    QList<ParagraphFormat> paragraphs;
    for (const Paragraph& p : box.paragraphs())
        if (p.start + p.length > start && p.start < start + length)
            paragraphs.append(p.format);
    part.setDefaultFont(box.defaultFontName(), box.defaultFontSize());
    part.setContent(box.Text().mid(start, length), formats, paragraphs);
}

} // namespace

void fillTextDocument(const RichTextBox& box, QTextDocument& document)
{
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const Paragraph& p : box.paragraphs()) {
        QTextBlockFormat block;
        block.setAlignment(p.format.alignment == Alignment::Center  ? Qt::AlignHCenter
                           : p.format.alignment == Alignment::Right ? Qt::AlignRight
                                                                    : Qt::AlignLeft);
        QList<QTextOption::Tab> tabs;
        for (const std::int32_t twips : p.format.tabs)
            tabs.append(QTextOption::Tab(twips / 15.0, QTextOption::LeftTab)); // pixels at 96 dpi
        block.setTabPositions(tabs);
        if (p.start == 0)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        const QString text = box.Text().mid(p.start, p.length).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        for (const FormatRange& r : box.formatRanges(p.start, text.size())) {
            QTextCharFormat format;
            format.setFontFamilies({r.format.font.isEmpty() ? box.defaultFontName() : r.format.font});
            format.setFontPointSize(r.format.size == 0 ? box.defaultFontSize() : r.format.size);
            format.setFontWeight(r.format.bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(r.format.italic);
            format.setFontUnderline(r.format.underline);
            format.setFontStrikeOut(r.format.strike);
            const std::int32_t c = r.format.color;
            if (c != -1)
                format.setForeground(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
            cursor.insertText(text.mid(r.start - p.start, r.length), format);
        }
    }
    cursor.endEditBlock();
}

BoxExcerpt excerptOf(const RichTextBox& box, qsizetype start, qsizetype length)
{
    start = std::clamp<qsizetype>(start, 0, box.Text().size());
    length = std::clamp<qsizetype>(length, 0, box.Text().size() - start);
    RichTextBox part;
    copyInto(part, box, start, length);
    BoxExcerpt excerpt;
    excerpt.plain = part.Text();
    excerpt.plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    excerpt.plain.replace(u'\r', u'\n');
    excerpt.rtf = RtfWriter::write(part).toLatin1();
    QTextDocument document;
    fillTextDocument(part, document);
    excerpt.html = document.toHtml();
    return excerpt;
}

} // namespace vxRecInfo
