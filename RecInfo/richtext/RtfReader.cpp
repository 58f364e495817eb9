// SPDX-License-Identifier: MIT
#include "RtfReader.h"
#include "CharAttributes.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <optional>

namespace vxRecInfo {

namespace {

// Characters 0x80 to 0x9F of code page 1252; the rest of the upper half is Latin-1.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar fromCp1252(int byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(Cp1252High[byte - 0x80]);
    return QChar(char16_t(byte));
}

// Limits of what a document may hold; beyond them it is refused, not worked through. Tables
// may declare no more fonts or colours than the box has formats.
constexpr int MaxGroupDepth = 256;
constexpr qsizetype MaxControlWordLength = 32;
constexpr qsizetype MaxParameterDigits = 10;
constexpr qsizetype MaxTableEntries = qsizetype(RichTextBox::MaxFormats);

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState : RtfCharState {
    GroupState() { font = -1; } // the document's default font
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

class Parser
{
public:
    Parser(const QString& rtf, const QString& defaultFont, float defaultSize)
        : m_in(rtf), m_defaultFont(defaultFont), m_defaultSize(defaultSize)
    {
    }

    bool run(RtfDocument* document, QString* error)
    {
        try {
            parse();
        } catch (const QString& message) {
            *error = message;
            return false;
        }
        document->text = m_text;
        document->formats = m_formats;
        document->paragraphs = paragraphFormats();
        return true;
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw QStringLiteral("%1 at character %2").arg(what).arg(m_pos);
    }

    void parse()
    {
        if (!m_in.startsWith(QLatin1String("{\\rtf")))
            fail(QStringLiteral("no RTF document"));
        std::vector<GroupState> stack;
        GroupState state;
        int depth = 0;
        while (m_pos < m_in.size()) {
            const QChar c = m_in[m_pos];
            if (c == QLatin1Char('{')) {
                if (depth == MaxGroupDepth)
                    fail(QStringLiteral("groups nested deeper than %1").arg(MaxGroupDepth));
                stack.push_back(state);
                ++depth;
                ++m_pos;
            } else if (c == QLatin1Char('}')) {
                if (stack.empty())
                    fail(QStringLiteral("a group closes that was never opened"));
                if (state.destination == Destination::FontTable && !m_fontName.isEmpty())
                    finishFontName();
                state = stack.back();
                stack.pop_back();
                --depth;
                ++m_pos;
                if (depth == 0)
                    break;
            } else if (c == QLatin1Char('\\')) {
                controlSequence(state);
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                ++m_pos;
            } else {
                character(state, c, true);
                ++m_pos;
            }
        }
        if (depth != 0)
            fail(QStringLiteral("the document ends inside a group"));
    }

    void controlSequence(GroupState& state)
    {
        ++m_pos;
        if (m_pos >= m_in.size())
            fail(QStringLiteral("a backslash at the end"));
        const QChar c = m_in[m_pos];
        if (!c.isLetter() || c.unicode() > 127) {
            ++m_pos;
            symbol(state, c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && m_in[m_pos].unicode() < 128 && m_in[m_pos].isLetter())
            ++m_pos;
        if (m_pos - start > MaxControlWordLength)
            fail(QStringLiteral("a control word longer than %1 letters").arg(MaxControlWordLength));
        const QString word = m_in.mid(start, m_pos - start);
        std::optional<int> parameter;
        const bool negative = isDigitAt(m_pos + 1) && m_in[m_pos] == QLatin1Char('-');
        if (negative)
            ++m_pos;
        if (isDigitAt(m_pos)) {
            const qsizetype digits = m_pos;
            qint64 value = 0;
            for (; isDigitAt(m_pos); ++m_pos) {
                if (m_pos - digits == MaxParameterDigits)
                    fail(QStringLiteral("a number of more than %1 digits").arg(MaxParameterDigits));
                value = value * 10 + (m_in[m_pos].unicode() - '0');
            }
            value = negative ? -value : value;
            if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
                fail(QStringLiteral("a number out of range"));
            parameter = int(value);
        }
        if (m_pos < m_in.size() && m_in[m_pos] == QLatin1Char(' '))
            ++m_pos;
        controlWord(state, word, parameter);
    }

    bool isDigitAt(qsizetype at) const
    {
        return at < m_in.size() && m_in[at] >= QLatin1Char('0') && m_in[at] <= QLatin1Char('9');
    }

    int hexDigitAt(qsizetype at) const
    {
        if (at >= m_in.size())
            return -1;
        const char16_t c = m_in[at].unicode();
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return -1;
    }

    void symbol(GroupState& state, QChar c)
    {
        switch (c.unicode()) {
        case '\\':
        case '{':
        case '}': character(state, c); break;
        case '~': character(state, QChar(0x00A0)); break;
        case '_': character(state, QChar(0x2011)); break;
        case '*': state.destination = Destination::Skip; break;
        case '\'': {
            const int high = hexDigitAt(m_pos);
            const int low = hexDigitAt(m_pos + 1);
            if (high < 0 || low < 0)
                fail(QStringLiteral("\\' needs two hexadecimal digits"));
            m_pos += 2;
            character(state, fromCp1252(high * 16 + low));
            break;
        }
        case '\r':
        case '\n':
            if (state.destination == Destination::Text)
                paragraphEnd(state);
            break;
        default: break; // \- and other optional symbols
        }
    }

    void controlWord(GroupState& s, const QString& word, std::optional<int> p)
    {
        static const QHash<QString, int> words{
            {QStringLiteral("fonttbl"), 1},  {QStringLiteral("colortbl"), 2}, {QStringLiteral("par"), 3},
            {QStringLiteral("line"), 4},     {QStringLiteral("tab"), 5},      {QStringLiteral("u"), 6},
            {QStringLiteral("uc"), 7},       {QStringLiteral("f"), 8},        {QStringLiteral("fs"), 9},
            {QStringLiteral("cf"), 10},      {QStringLiteral("b"), 11},       {QStringLiteral("i"), 12},
            {QStringLiteral("strike"), 13},  {QStringLiteral("ul"), 14},      {QStringLiteral("ulnone"), 15},
            {QStringLiteral("plain"), 16},   {QStringLiteral("pard"), 17},    {QStringLiteral("ql"), 18},
            {QStringLiteral("qr"), 19},      {QStringLiteral("qc"), 20},      {QStringLiteral("qj"), 18},
            {QStringLiteral("tx"), 21},      {QStringLiteral("red"), 22},     {QStringLiteral("green"), 23},
            {QStringLiteral("blue"), 24},    {QStringLiteral("deff"), 25},    {QStringLiteral("emdash"), 26},
            {QStringLiteral("endash"), 27},  {QStringLiteral("bullet"), 28},  {QStringLiteral("lquote"), 29},
            {QStringLiteral("rquote"), 30},  {QStringLiteral("ldblquote"), 31}, {QStringLiteral("rdblquote"), 32},
            {QStringLiteral("stylesheet"), 33}, {QStringLiteral("info"), 33}, {QStringLiteral("pict"), 33},
            {QStringLiteral("header"), 33},  {QStringLiteral("footer"), 33},  {QStringLiteral("object"), 33},
            {QStringLiteral("page"), 34},    {QStringLiteral("bin"), 35},
        };
        const bool on = !p || *p != 0;
        switch (words.value(word, 0)) {
        case 1: s.destination = Destination::FontTable; break;
        case 2:
            s.destination = Destination::ColorTable;
            m_colors.clear();
            m_color = {};
            m_colorSeen = false;
            break;
        case 3: if (s.destination == Destination::Text) paragraphEnd(s); break;
        case 4: character(s, QLatin1Char('\n')); break;
        case 5: character(s, QLatin1Char('\t')); break;
        case 6:
            if (p) {
                // Signed 16-bit as writers write it, or the code unit itself.
                if (*p < -32768 || *p > 65535)
                    fail(QStringLiteral("\\u%1 is no UTF-16 code unit").arg(*p));
                m_pendingSkip = 0;
                character(s, QChar(char16_t(*p < 0 ? *p + 65536 : *p)));
                m_pendingSkip = s.unicodeSkip; // the fallback that follows
            }
            break;
        case 7: s.unicodeSkip = std::max(p.value_or(1), 0); break;
        case 8:
            if (s.destination == Destination::FontTable)
                m_fontIndex = p.value_or(0);
            else
                s.font = p.value_or(m_defaultFontIndex);
            break;
        case 9: {
            // A size the box cannot show leaves the size as it was.
            const int halfPoints = p.value_or(24);
            if (halfPoints >= 1 && halfPoints <= int(RichTextBox::MaxFontSize * 2))
                s.size = halfPoints;
            break;
        }
        case 10: s.color = p.value_or(0); break;
        case 11: s.bold = on; break;
        case 12: s.italic = on; break;
        case 13: s.strike = on; break;
        case 14: s.underline = on; break;
        case 15: s.underline = false; break;
        case 16: {
            const Destination d = s.destination;
            const int skip = s.unicodeSkip;
            s = GroupState{};
            s.destination = d;
            s.unicodeSkip = skip;
            break;
        }
        case 17: m_paragraph = ParagraphFormat{}; break;
        case 18: m_paragraph.alignment = Alignment::Left; break;
        case 19: m_paragraph.alignment = Alignment::Right; break;
        case 20: m_paragraph.alignment = Alignment::Center; break;
        case 21:
            // Tab stops the box cannot hold are left out.
            if (p && *p >= 0 && m_paragraph.tabs.size() < RichTextBox::MaxTabs)
                m_paragraph.tabs.append(*p);
            break;
        case 22: m_color.red = colorComponent(p); break;
        case 23: m_color.green = colorComponent(p); break;
        case 24: m_color.blue = colorComponent(p); break;
        case 25: m_defaultFontIndex = p.value_or(0); break;
        case 26: character(s, QChar(0x2014)); break;
        case 27: character(s, QChar(0x2013)); break;
        case 28: character(s, QChar(0x2022)); break;
        case 29: character(s, QChar(0x2018)); break;
        case 30: character(s, QChar(0x2019)); break;
        case 31: character(s, QChar(0x201C)); break;
        case 32: character(s, QChar(0x201D)); break;
        case 33: s.destination = Destination::Skip; break;
        case 34: character(s, QChar(0x0C)); break;
        case 35:
            // Binary data of the given length, never text.
            if (p) {
                if (*p < 0 || *p > m_in.size() - m_pos)
                    fail(QStringLiteral("\\bin%1 runs past the end").arg(*p));
                m_pos += *p;
            }
            break;
        default: break;
        }
    }

    int colorComponent(std::optional<int> p)
    {
        if (p.value_or(0) < 0 || p.value_or(0) > 255)
            fail(QStringLiteral("a colour component out of range"));
        m_colorSeen = true;
        return p.value_or(0);
    }

    // literal: the character stands in the document as itself, not written as a control
    // symbol or word (only a literal ";" ends a font name, only literal blanks are trimmed).
    void character(const GroupState& s, QChar c, bool literal = false)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip; // the fallback of a \uN
            return;
        }
        switch (s.destination) {
        case Destination::Skip: return;
        case Destination::ColorTable:
            if (c == QLatin1Char(';')) {
                if (m_colors.size() == MaxTableEntries)
                    fail(QStringLiteral("more than %1 colours").arg(MaxTableEntries));
                m_colors.append(m_colorSeen ? (m_color.red | m_color.green << 8 | m_color.blue << 16) : -1);
                m_color = {};
                m_colorSeen = false;
            }
            return;
        case Destination::FontTable:
            if (literal && c == QLatin1Char(';')) {
                finishFontName();
            } else {
                if (!literal) {
                    m_fontNameKeptLast = m_fontName.size();
                    m_fontNameKeptFirst = std::min(m_fontNameKeptFirst, m_fontNameKeptLast);
                }
                m_fontName += c;
            }
            return;
        case Destination::Text: break;
        }
        append(c, formatOf(s));
    }

    void paragraphEnd(const GroupState& s)
    {
        const CharFormat f = formatOf(s);
        append(QLatin1Char('\r'), f);
        append(QLatin1Char('\n'), f);
        m_pendingSkip = 0;
    }

    // Every CR and LF ends a paragraph of the box (CR LF together one); each keeps the
    // paragraph format in effect when it was read.
    void append(QChar c, const CharFormat& f)
    {
        m_text += c;
        m_formats.push_back(f);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            m_endFormats.push_back(m_paragraph);
    }

    QList<ParagraphFormat> paragraphFormats() const
    {
        QList<ParagraphFormat> list;
        std::size_t end = 0;
        for (qsizetype i = 0; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            if (c == QLatin1Char('\r') && i + 1 < m_text.size() && m_text[i + 1] == QLatin1Char('\n')) {
                ++i;
                ++end;
            } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
                continue;
            }
            list.append(m_endFormats[end++]);
        }
        list.append(m_paragraph);
        return list;
    }

    void finishFontName()
    {
        // Blanks around the name are the writer's layout, unless written as control symbols.
        qsizetype begin = 0;
        qsizetype end = m_fontName.size();
        while (begin < end && begin < m_fontNameKeptFirst && m_fontName[begin].isSpace())
            ++begin;
        while (end > begin && end - 1 > m_fontNameKeptLast && m_fontName[end - 1].isSpace())
            --end;
        if (end - begin > RichTextBox::MaxFontNameLength)
            fail(QStringLiteral("a font name longer than %1 characters").arg(RichTextBox::MaxFontNameLength));
        if (!m_fonts.contains(m_fontIndex) && m_fonts.size() == MaxTableEntries)
            fail(QStringLiteral("more than %1 fonts").arg(MaxTableEntries));
        m_fonts.insert(m_fontIndex, m_fontName.mid(begin, end - begin));
        m_fontName.clear();
        m_fontNameKeptFirst = std::numeric_limits<qsizetype>::max();
        m_fontNameKeptLast = -1;
    }

    CharFormat formatOf(const GroupState& s) const
    {
        CharFormat f;
        const int fontIndex = s.font < 0 ? m_defaultFontIndex : s.font;
        const QString font = m_fonts.value(fontIndex);
        f.font = font == m_defaultFont ? QString() : font;
        const float size = s.size / 2.0f;
        f.size = s.size == 0 || size == m_defaultSize ? 0 : size;
        f.color = s.color >= 0 && s.color < m_colors.size() ? m_colors[s.color] : -1;
        f.bold = s.bold;
        f.italic = s.italic;
        f.strike = s.strike;
        f.underline = s.underline;
        return f;
    }

    struct Rgb {
        int red = 0;
        int green = 0;
        int blue = 0;
    };

    const QString& m_in;
    const QString m_defaultFont;
    const float m_defaultSize;
    qsizetype m_pos = 0;

    QString m_text;
    std::vector<CharFormat> m_formats;
    std::vector<ParagraphFormat> m_endFormats; // one per CR and per LF of m_text
    ParagraphFormat m_paragraph;

    QHash<int, QString> m_fonts;
    int m_fontIndex = 0;
    QString m_fontName;
    qsizetype m_fontNameKeptFirst = std::numeric_limits<qsizetype>::max(); // first and last
    qsizetype m_fontNameKeptLast = -1;                                     // character not literal
    int m_defaultFontIndex = 0;
    QList<std::int32_t> m_colors; // colour table entries; -1 for the automatic one
    Rgb m_color;
    bool m_colorSeen = false;
    int m_pendingSkip = 0;
};

} // namespace

QString mergeRtfDocuments(const QStringList& documents, const QString& defaultFont, float defaultSize)
{
    RtfDocument merged;
    for (const QString& rtf : documents) {
        RtfDocument document;
        QString error;
        if (!RtfReader::read(rtf, defaultFont, defaultSize, &document, &error))
            throw RuntimeError(Err::InvalidPropertyValue, QStringLiteral("Invalid property value: ") + error);
        if (!merged.text.isEmpty() || !merged.paragraphs.isEmpty()) {
            // The next report starts on a new page, in what was the empty last paragraph.
            merged.paragraphs.removeLast();
            merged.text += QChar(0x0C);
            merged.formats.push_back(CharFormat{});
        }
        merged.text += document.text;
        merged.formats.insert(merged.formats.end(), document.formats.begin(), document.formats.end());
        merged.paragraphs += document.paragraphs;
    }
    RichTextBox box;
    box.setDefaultFont(defaultFont, defaultSize);
    box.setContent(merged.text, merged.formats, merged.paragraphs);
    return box.TextRTF();
}

bool RtfReader::read(const QString& rtf, const QString& defaultFont, float defaultSize, RtfDocument* document,
                     QString* error)
{
    return Parser(rtf, defaultFont, defaultSize).run(document, error);
}

} // namespace vxRecInfo
