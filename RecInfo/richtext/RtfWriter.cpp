#include "RtfWriter.h"

#include "RichTextBox.h"

#include <cmath>

namespace vxRecInfo {

namespace {

// Text of an RTF document under construction, with the delimiter rule of control words.
class RtfText
{
public:
    void control(const QString& word)
    {
        m_out += word;
        m_needsDelimiter = true;
    }
    void raw(const QString& text)
    {
        m_out += text;
        m_needsDelimiter = false;
    }
    void text(QStringView text)
    {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                plain(QString(QLatin1Char('\\')) + c);
            } else if (u == u'\t') {
                control(QStringLiteral("\\tab"));
            } else if (u == 0x0C) {
                control(QStringLiteral("\\page")); // a form feed starts a new page
            } else if (u >= 0x20 && u < 0x80) {
                plain(QString(c));
            } else if (u >= 0x80) {
                // Signed 16-bit, as RTF readers expect; "?" for readers without Unicode,
                // written as \'3f: some readers take a plain "?" for the word's delimiter.
                control(QStringLiteral("\\u%1").arg(std::int16_t(u)));
                raw(QStringLiteral("\\'3f"));
            }
        }
    }
    const QString& result() const { return m_out; }

private:
    void plain(const QString& s)
    {
        if (m_needsDelimiter)
            m_out += QLatin1Char(' ');
        m_out += s;
        m_needsDelimiter = false;
    }

    QString m_out;
    bool m_needsDelimiter = false;
};

struct Tables {
    QStringList fonts;          // index 0 is the box's default font
    QList<std::int32_t> colors; // colour table entries 1..n

    int fontIndex(const QString& name) const { return int(fonts.indexOf(name)); }
    int colorIndex(std::int32_t color) const { return color == -1 ? 0 : int(colors.indexOf(color)) + 1; }
};

Tables collectTables(const RichTextBox& box, const QList<FormatRange>& ranges)
{
    Tables t;
    t.fonts.append(box.defaultFontName());
    for (const FormatRange& r : ranges) {
        if (!r.format.fontName.isEmpty() && !t.fonts.contains(r.format.fontName))
            t.fonts.append(r.format.fontName);
        if (r.format.color != -1 && !t.colors.contains(r.format.color))
            t.colors.append(r.format.color);
    }
    return t;
}

void writeTables(RtfText& out, const Tables& t)
{
    out.raw(QStringLiteral("{\\fonttbl"));
    for (qsizetype i = 0; i < t.fonts.size(); ++i) {
        out.raw(QStringLiteral("{"));
        out.control(QStringLiteral("\\f%1\\fnil\\fcharset0").arg(i));
        out.text(t.fonts[i]);
        out.raw(QStringLiteral(";}"));
    }
    out.raw(QStringLiteral("}\r\n{\\colortbl ;"));
    for (const std::int32_t c : t.colors)
        out.raw(QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF));
    out.raw(QStringLiteral("}\r\n"));
}

// The character state written so far, to write only changes.
struct State {
    int font = 0;
    int halfPoints = 0;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool underline = false;
};

void switchTo(RtfText& out, State& state, const CharFormat& f, const RichTextBox& box, const Tables& t)
{
    const int font = f.fontName.isEmpty() ? 0 : t.fontIndex(f.fontName);
    const int halfPoints = int(std::lround((f.fontSize == 0 ? box.defaultFontSize() : f.fontSize) * 2));
    const int color = t.colorIndex(f.color);
    if (font != state.font)
        out.control(QStringLiteral("\\f%1").arg(font));
    if (halfPoints != state.halfPoints)
        out.control(QStringLiteral("\\fs%1").arg(halfPoints));
    if (color != state.color)
        out.control(QStringLiteral("\\cf%1").arg(color));
    if (f.bold != state.bold)
        out.control(f.bold ? QStringLiteral("\\b") : QStringLiteral("\\b0"));
    if (f.italic != state.italic)
        out.control(f.italic ? QStringLiteral("\\i") : QStringLiteral("\\i0"));
    if (f.strikeThru != state.strike)
        out.control(f.strikeThru ? QStringLiteral("\\strike") : QStringLiteral("\\strike0"));
    if (f.underline != state.underline)
        out.control(f.underline ? QStringLiteral("\\ul") : QStringLiteral("\\ulnone"));
    state = State{font, halfPoints, color, f.bold, f.italic, f.strikeThru, f.underline};
}

void writeParagraphFormat(RtfText& out, const ParagraphFormat& p)
{
    out.control(QStringLiteral("\\pard"));
    if (p.alignment == Alignment::Right)
        out.control(QStringLiteral("\\qr"));
    else if (p.alignment == Alignment::Center)
        out.control(QStringLiteral("\\qc"));
    for (const std::int32_t tab : p.tabs)
        out.control(QStringLiteral("\\tx%1").arg(tab));
}

// Length of the paragraph end (CR LF, CR or LF) at the end of a paragraph, 0 for the last.
qsizetype endLength(const QString& text, const Paragraph& p)
{
    const qsizetype end = p.start + p.length;
    if (p.length >= 2 && text[end - 2] == QLatin1Char('\r') && text[end - 1] == QLatin1Char('\n'))
        return 2;
    if (p.length >= 1 && (text[end - 1] == QLatin1Char('\r') || text[end - 1] == QLatin1Char('\n')))
        return 1;
    return 0;
}

} // namespace

QString RtfWriter::write(const RichTextBox& box)
{
    const QString& text = box.Text();
    const QList<FormatRange> all = box.formatRanges(0, text.size());
    const Tables tables = collectTables(box, all);

    RtfText out;
    out.raw(QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"));
    writeTables(out, tables);
    out.control(QStringLiteral("\\viewkind4"));

    // Font and size are not yet written: the first text writes them whatever they are.
    State state{-1, -1, 0, false, false, false, false};
    const QList<Paragraph> paragraphs = box.paragraphs();
    for (qsizetype n = 0; n < paragraphs.size(); ++n) {
        const Paragraph& p = paragraphs[n];
        if (n == 0 || !(p.format == paragraphs[n - 1].format))
            writeParagraphFormat(out, p.format);
        const qsizetype ending = endLength(text, p);
        for (const FormatRange& r : box.formatRanges(p.start, p.length - ending)) {
            switchTo(out, state, r.format, box, tables);
            out.text(QStringView(text).mid(r.start, r.length));
        }
        if (ending > 0) {
            // The paragraph mark takes the format of the characters that end the paragraph.
            switchTo(out, state, box.formatAt(p.start + p.length - 1), box, tables);
            out.control(QStringLiteral("\\par"));
            out.raw(QStringLiteral("\r\n"));
        }
    }
    out.raw(QStringLiteral("}"));
    return out.result();
}

} // namespace vxRecInfo
