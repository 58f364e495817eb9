#include "RtfReader.h"

#include <QHash>

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

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1; // -1: the document's default font
    int halfPoints = 0;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool underline = false;
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
        m_paragraphs.append(m_paragraph);
        document->text = m_text;
        document->formats = m_formats;
        document->paragraphs = m_paragraphs;
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
                character(state, c);
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
        const QString word = m_in.mid(start, m_pos - start);
        std::optional<int> parameter;
        const qsizetype numberStart = m_pos;
        if (m_pos < m_in.size() && m_in[m_pos] == QLatin1Char('-'))
            ++m_pos;
        while (m_pos < m_in.size() && m_in[m_pos].isDigit() && m_in[m_pos].unicode() < 128)
            ++m_pos;
        if (m_pos > numberStart)
            parameter = m_in.mid(numberStart, m_pos - numberStart).toInt();
        if (m_pos < m_in.size() && m_in[m_pos] == QLatin1Char(' '))
            ++m_pos;
        controlWord(state, word, parameter);
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
            bool ok = false;
            const int byte = m_in.mid(m_pos, 2).toInt(&ok, 16);
            if (!ok)
                fail(QStringLiteral("\\' needs two hexadecimal digits"));
            m_pos += 2;
            character(state, fromCp1252(byte));
            break;
        }
        case '\r':
        case '\n': paragraphEnd(state); break;
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
            {QStringLiteral("page"), 34},
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
                m_pendingSkip = 0;
                character(s, QChar(char16_t(*p < 0 ? *p + 65536 : *p)));
                m_pendingSkip = s.unicodeSkip; // the fallback that follows
            }
            break;
        case 7: s.unicodeSkip = p.value_or(1); break;
        case 8:
            if (s.destination == Destination::FontTable)
                m_fontIndex = p.value_or(0);
            else
                s.font = p.value_or(m_defaultFontIndex);
            break;
        case 9: s.halfPoints = p.value_or(24); break;
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
        case 21: if (p) m_paragraph.tabs.append(*p); break;
        case 22: m_color.red = p.value_or(0); m_colorSeen = true; break;
        case 23: m_color.green = p.value_or(0); m_colorSeen = true; break;
        case 24: m_color.blue = p.value_or(0); m_colorSeen = true; break;
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
        default: break;
        }
    }

    void character(const GroupState& s, QChar c)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip; // the fallback of a \uN
            return;
        }
        switch (s.destination) {
        case Destination::Skip: return;
        case Destination::ColorTable:
            if (c == QLatin1Char(';')) {
                m_colors.append(m_colorSeen ? (m_color.red | m_color.green << 8 | m_color.blue << 16) : -1);
                m_color = {};
                m_colorSeen = false;
            }
            return;
        case Destination::FontTable:
            if (c == QLatin1Char(';'))
                finishFontName();
            else
                m_fontName += c;
            return;
        case Destination::Text: break;
        }
        m_text += c;
        m_formats.push_back(formatOf(s));
    }

    void paragraphEnd(const GroupState& s)
    {
        m_text += QStringLiteral("\r\n");
        const CharFormat f = formatOf(s);
        m_formats.push_back(f);
        m_formats.push_back(f);
        m_paragraphs.append(m_paragraph);
        m_pendingSkip = 0;
    }

    void finishFontName()
    {
        m_fonts.insert(m_fontIndex, m_fontName.trimmed());
        m_fontName.clear();
    }

    CharFormat formatOf(const GroupState& s) const
    {
        CharFormat f;
        const int fontIndex = s.font < 0 ? m_defaultFontIndex : s.font;
        const QString font = m_fonts.value(fontIndex);
        f.fontName = font == m_defaultFont ? QString() : font;
        const float size = s.halfPoints / 2.0f;
        f.fontSize = s.halfPoints == 0 || size == m_defaultSize ? 0 : size;
        f.color = s.color >= 0 && s.color < m_colors.size() ? m_colors[s.color] : -1;
        f.bold = s.bold;
        f.italic = s.italic;
        f.strikeThru = s.strike;
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
    QList<ParagraphFormat> m_paragraphs;
    ParagraphFormat m_paragraph;

    QHash<int, QString> m_fonts;
    int m_fontIndex = 0;
    QString m_fontName;
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
