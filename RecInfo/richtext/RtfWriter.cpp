#include "RtfWriter.h"

#include "RichTextBox.h"

#include <QHash>

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
        for (const QChar c : text)
            character(c);
    }
    // A font name ends at a plain ";" and loses plain blanks at either end.
    void fontName(QStringView name)
    {
        for (qsizetype i = 0; i < name.size(); ++i) {
            const bool end = i == 0 || i + 1 == name.size();
            if (name[i] == QLatin1Char(';') || (end && name[i] == QLatin1Char(' ')))
                hex(name[i].unicode());
            else
                character(name[i]);
        }
    }
    // A byte of the document's code page; below 0x20 the character itself.
    void hex(char16_t byte)
    {
        raw(QStringLiteral("\\'%1").arg(unsigned(byte), 2, 16, QLatin1Char('0')));
    }
    const QString& result() const { return m_out; }

private:
    void character(QChar c)
    {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            plain(QString(QLatin1Char('\\')) + c);
        } else if (u == u'\t') {
            control(QStringLiteral("\\tab"));
        } else if (u == 0x0C) {
            control(QStringLiteral("\\page")); // a form feed starts a new page
        } else if (u < 0x20 || u == 0x7F) {
            hex(u); // every other control character: raw, readers drop them (CR and LF are layout)
        } else if (u < 0x80) {
            plain(QString(c));
        } else {
            // Signed 16-bit, as RTF readers expect; "?" for readers without Unicode,
            // written as \'3f: some readers take a plain "?" for the word's delimiter.
            control(QStringLiteral("\\u%1").arg(std::int16_t(u)));
            raw(QStringLiteral("\\'3f"));
        }
    }

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
    QHash<QString, int> fontIndexes;
    QHash<std::int32_t, int> colorIndexes;

    int fontIndex(const QString& name) const { return fontIndexes.value(name); }
    int colorIndex(std::int32_t color) const { return color == -1 ? 0 : colorIndexes.value(color); }
    void addFont(const QString& name)
    {
        if (!fontIndexes.contains(name)) {
            fontIndexes.insert(name, int(fonts.size()));
            fonts.append(name);
        }
    }
    void addColor(std::int32_t color)
    {
        if (color != -1 && !colorIndexes.contains(color)) {
            colors.append(color);
            colorIndexes.insert(color, int(colors.size()));
        }
    }
};

Tables collectTables(const RichTextBox& box, const QList<FormatRange>& ranges)
{
    Tables t;
    t.addFont(box.defaultFontName());
    for (const FormatRange& r : ranges) {
        if (!r.format.fontName.isEmpty())
            t.addFont(r.format.fontName);
        t.addColor(r.format.color);
    }
    return t;
}

void writeTables(RtfText& out, const Tables& t)
{
    out.raw(QStringLiteral("{\\fonttbl"));
    for (qsizetype i = 0; i < t.fonts.size(); ++i) {
        out.raw(QStringLiteral("{"));
        out.control(QStringLiteral("\\f%1\\fnil\\fcharset0").arg(i));
        out.fontName(t.fonts[i]);
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

// A paragraph end of the box. CR LF in one format is a paragraph mark; a lone LF is a line
// break and a lone CR the character itself, so that the box splits the text read back where
// it splits it now and each end keeps its own format.
void writeEnd(RtfText& out, State& state, const RichTextBox& box, const Tables& t, qsizetype at, qsizetype length)
{
    const CharFormat& last = box.formatAt(at + length - 1);
    if (length == 2 && box.formatAt(at) == last) {
        switchTo(out, state, last, box, t);
        out.control(QStringLiteral("\\par"));
        out.raw(QStringLiteral("\r\n"));
        return;
    }
    for (qsizetype i = at; i < at + length; ++i) {
        switchTo(out, state, box.formatAt(i), box, t);
        if (box.Text()[i] == QLatin1Char('\n'))
            out.control(QStringLiteral("\\line"));
        else
            out.hex(u'\r');
    }
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
        if (ending > 0)
            writeEnd(out, state, box, tables, p.start + p.length - ending, ending);
    }
    out.raw(QStringLiteral("}"));
    return out.result();
}

} // namespace vxRecInfo
