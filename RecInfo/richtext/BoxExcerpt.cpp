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

QTextCharFormat htmlFormat(const RichTextBox& box, const CharFormat& f)
{
    QTextCharFormat format;
    format.setFontFamilies({f.fontName.isEmpty() ? box.defaultFontName() : f.fontName});
    format.setFontPointSize(f.fontSize != 0 ? f.fontSize : box.defaultFontSize());
    format.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.italic);
    format.setFontStrikeOut(f.strikeThru);
    format.setFontUnderline(f.underline);
    if (f.color != -1)
        format.setForeground(QColor(f.color & 0xFF, (f.color >> 8) & 0xFF, (f.color >> 16) & 0xFF));
    return format;
}

QString htmlOf(const RichTextBox& part)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QString& text = part.Text();
    const QList<Paragraph> paragraphs = part.paragraphs();
    for (qsizetype n = 0; n < paragraphs.size(); ++n) {
        const Paragraph& p = paragraphs[n];
        if (n > 0)
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(p.format.alignment == Alignment::Right    ? Qt::AlignRight
                           : p.format.alignment == Alignment::Center ? Qt::AlignHCenter
                                                                     : Qt::AlignLeft);
        QList<QTextOption::Tab> tabs;
        for (const std::int32_t twips : p.format.tabs)
            tabs.append(QTextOption::Tab(twips / 20.0, QTextOption::LeftTab)); // points
        block.setTabPositions(tabs);
        cursor.setBlockFormat(block);
        qsizetype end = p.start + p.length;
        while (end > p.start && (text[end - 1] == u'\n' || text[end - 1] == u'\r'))
            --end;
        for (const FormatRange& r : part.formatRanges(p.start, end - p.start))
            cursor.insertText(text.mid(r.start, r.length), htmlFormat(part, r.format));
    }
    return document.toHtml();
}

} // namespace

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
    excerpt.html = htmlOf(part);
    return excerpt;
}

} // namespace vxRecInfo
