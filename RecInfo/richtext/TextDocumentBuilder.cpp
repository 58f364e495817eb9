#include "TextDocumentBuilder.h"

#include "RichTextBox.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vxRecInfo {

namespace {

QTextCharFormat charFormat(const CharFormat& f, const RichTextBox& box)
{
    QTextCharFormat format;
    format.setFontFamilies({f.fontName.isEmpty() ? box.defaultFontName() : f.fontName});
    format.setFontPointSize(f.fontSize == 0 ? box.defaultFontSize() : f.fontSize);
    format.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.italic);
    format.setFontStrikeOut(f.strikeThru);
    format.setFontUnderline(f.underline);
    if (f.color != -1)
        format.setForeground(QColor(f.color & 0xFF, (f.color >> 8) & 0xFF, (f.color >> 16) & 0xFF));
    return format;
}

QTextBlockFormat blockFormat(const ParagraphFormat& p, qreal dpi)
{
    QTextBlockFormat format;
    switch (p.alignment) {
    case Alignment::Right: format.setAlignment(Qt::AlignRight); break;
    case Alignment::Center: format.setAlignment(Qt::AlignHCenter); break;
    default: format.setAlignment(Qt::AlignLeft); break;
    }
    QList<QTextOption::Tab> tabs;
    for (const std::int32_t twips : p.tabs)
        tabs.append(QTextOption::Tab(twips / 1440.0 * dpi, QTextOption::LeftTab));
    format.setTabPositions(tabs);
    return format;
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

} // namespace

void buildTextDocument(const RichTextBox& box, QTextDocument& document, qreal dpi)
{
    document.clear();
    QFont font(box.defaultFontName());
    font.setPointSizeF(box.defaultFontSize());
    document.setDefaultFont(font);
    document.setDocumentMargin(0);

    QTextCursor cursor(&document);
    const QString& text = box.Text();
    const QList<Paragraph> paragraphs = box.paragraphs();
    for (qsizetype n = 0; n < paragraphs.size(); ++n) {
        const Paragraph& p = paragraphs[n];
        if (n == 0)
            cursor.setBlockFormat(blockFormat(p.format, dpi));
        else
            cursor.insertBlock(blockFormat(p.format, dpi));
        for (const FormatRange& r : box.formatRanges(p.start, contentLength(text, p)))
            cursor.insertText(text.mid(r.start, r.length), charFormat(r.format, box));
    }
}

int documentPosition(const RichTextBox& box, qsizetype boxPosition)
{
    const QList<Paragraph> paragraphs = box.paragraphs();
    int position = 0;
    for (qsizetype n = 0; n < paragraphs.size(); ++n) {
        const Paragraph& p = paragraphs[n];
        const qsizetype content = contentLength(box.Text(), p);
        if (boxPosition < p.start + p.length || n + 1 == paragraphs.size())
            return position + int(std::clamp<qsizetype>(boxPosition - p.start, 0, content));
        position += int(content) + 1;
    }
    return position;
}

qsizetype boxPosition(const RichTextBox& box, int documentPosition)
{
    int position = 0;
    const QList<Paragraph> paragraphs = box.paragraphs();
    for (const Paragraph& p : paragraphs) {
        const qsizetype content = contentLength(box.Text(), p);
        if (documentPosition <= position + content)
            return p.start + (documentPosition - position);
        position += int(content) + 1;
    }
    return box.Text().size();
}

} // namespace vxRecInfo
