#include "Json.h"

namespace recinfo {

namespace {

class Parser
{
public:
    explicit Parser(const QString& text) : m_text(text) {}

    bool parseDocument(JsonValue* value, QString* error)
    {
        try {
            skipBlanks();
            *value = parseValue(0);
            skipBlanks();
            if (m_pos < m_text.size())
                fail(QStringLiteral("unexpected text after the document"));
            return true;
        } catch (const QString& message) {
            *error = message;
            return false;
        }
    }

private:
    static constexpr int MaxDepth = 200;

    [[noreturn]] void fail(const QString& what) const
    {
        int line = 1;
        int column = 1;
        for (qsizetype i = 0; i < m_pos && i < m_text.size(); ++i) {
            if (m_text[i] == QLatin1Char('\n')) {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(what);
    }

    QChar peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }
    bool atEnd() const { return m_pos >= m_text.size(); }

    void skipBlanks()
    {
        while (!atEnd()) {
            const QChar c = peek();
            if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
                break;
            ++m_pos;
        }
    }

    void expect(QChar c)
    {
        if (peek() != c)
            fail(atEnd() ? QStringLiteral("the document ends too early, '%1' expected").arg(c)
                         : QStringLiteral("'%1' expected").arg(c));
        ++m_pos;
    }

    bool literal(const char* word)
    {
        const QString w = QString::fromLatin1(word);
        if (QStringView(m_text).mid(m_pos, w.size()) != w)
            return false;
        m_pos += w.size();
        return true;
    }

    JsonValue parseValue(int depth)
    {
        if (depth > MaxDepth)
            fail(QStringLiteral("nested too deeply"));
        JsonValue v;
        const QChar c = peek();
        if (atEnd())
            fail(QStringLiteral("the document ends too early, a value expected"));
        if (c == QLatin1Char('{')) {
            v.kind = JsonValue::Kind::Object;
            parseObject(v, depth);
        } else if (c == QLatin1Char('[')) {
            v.kind = JsonValue::Kind::Array;
            parseArray(v, depth);
        } else if (c == QLatin1Char('"')) {
            v.kind = JsonValue::Kind::String;
            v.string = parseString();
        } else if (literal("true")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
        } else if (literal("false")) {
            v.kind = JsonValue::Kind::Bool;
        } else if (literal("null")) {
            v.kind = JsonValue::Kind::Null;
        } else if (c == QLatin1Char('-') || c.isDigit()) {
            v.kind = JsonValue::Kind::Number;
            v.number = parseNumber();
        } else {
            fail(QStringLiteral("a value expected"));
        }
        return v;
    }

    void parseObject(JsonValue& v, int depth)
    {
        expect(QLatin1Char('{'));
        skipBlanks();
        if (peek() == QLatin1Char('}')) {
            ++m_pos;
            return;
        }
        for (;;) {
            skipBlanks();
            if (peek() != QLatin1Char('"'))
                fail(QStringLiteral("a key in double quotes expected"));
            QString key = parseString();
            skipBlanks();
            expect(QLatin1Char(':'));
            skipBlanks();
            v.object.emplace_back(std::move(key), parseValue(depth + 1));
            skipBlanks();
            if (peek() == QLatin1Char(',')) {
                ++m_pos;
                continue;
            }
            expect(QLatin1Char('}'));
            return;
        }
    }

    void parseArray(JsonValue& v, int depth)
    {
        expect(QLatin1Char('['));
        skipBlanks();
        if (peek() == QLatin1Char(']')) {
            ++m_pos;
            return;
        }
        for (;;) {
            skipBlanks();
            v.array.push_back(parseValue(depth + 1));
            skipBlanks();
            if (peek() == QLatin1Char(',')) {
                ++m_pos;
                continue;
            }
            expect(QLatin1Char(']'));
            return;
        }
    }

    QString parseString()
    {
        expect(QLatin1Char('"'));
        QString out;
        for (;;) {
            if (atEnd())
                fail(QStringLiteral("a string is not closed"));
            const QChar c = m_text[m_pos++];
            if (c == QLatin1Char('"'))
                return out;
            if (c.unicode() < 0x20)
                fail(QStringLiteral("a control character inside a string"));
            if (c != QLatin1Char('\\')) {
                out += c;
                continue;
            }
            if (atEnd())
                fail(QStringLiteral("a string is not closed"));
            const QChar e = m_text[m_pos++];
            switch (e.unicode()) {
            case '"': out += QLatin1Char('"'); break;
            case '\\': out += QLatin1Char('\\'); break;
            case '/': out += QLatin1Char('/'); break;
            case 'b': out += QLatin1Char('\b'); break;
            case 'f': out += QLatin1Char('\f'); break;
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            case 'u': {
                bool ok = false;
                const ushort code = QStringView(m_text).mid(m_pos, 4).toUShort(&ok, 16);
                if (!ok || m_pos + 4 > m_text.size())
                    fail(QStringLiteral("\\u needs four hexadecimal digits"));
                m_pos += 4;
                out += QChar(code);
                break;
            }
            default: fail(QStringLiteral("unknown escape \\%1").arg(e));
            }
        }
    }

    double parseNumber()
    {
        const qsizetype start = m_pos;
        auto digits = [&] {
            const qsizetype from = m_pos;
            while (!atEnd() && peek().isDigit() && peek().unicode() < 128)
                ++m_pos;
            return m_pos > from;
        };
        if (peek() == QLatin1Char('-'))
            ++m_pos;
        if (!digits())
            fail(QStringLiteral("a digit expected"));
        if (peek() == QLatin1Char('.')) {
            ++m_pos;
            if (!digits())
                fail(QStringLiteral("a digit expected after the decimal point"));
        }
        if (peek() == QLatin1Char('e') || peek() == QLatin1Char('E')) {
            ++m_pos;
            if (peek() == QLatin1Char('+') || peek() == QLatin1Char('-'))
                ++m_pos;
            if (!digits())
                fail(QStringLiteral("a digit expected in the exponent"));
        }
        bool ok = false;
        const double value = QStringView(m_text).mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("a number out of range"));
        return value;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

const JsonValue* JsonValue::member(const QString& key) const
{
    for (const auto& [name, value] : object)
        if (name == key)
            return &value;
    return nullptr;
}

QString JsonValue::kindName() const
{
    switch (kind) {
    case Kind::Null: return QStringLiteral("null");
    case Kind::Bool: return QStringLiteral("boolean");
    case Kind::Number: return QStringLiteral("number");
    case Kind::String: return QStringLiteral("string");
    case Kind::Array: return QStringLiteral("list");
    case Kind::Object: return QStringLiteral("object");
    }
    return {};
}

bool parseJson(const QString& text, JsonValue* value, QString* error)
{
    return Parser(text).parseDocument(value, error);
}

QString jsonQuoted(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

void JsonWriter::newline()
{
    m_text += QLatin1Char('\n');
    m_text += QString(qsizetype(m_first.size()) * 2, QLatin1Char(' '));
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        const bool first = m_first.back();
        m_first.back() = false;
        if (m_inline.back()) {
            if (!first)
                m_text += QStringLiteral(", ");
            return;
        }
        if (!first)
            m_text += QLatin1Char(',');
        newline();
    }
}

void JsonWriter::beginObject()
{
    beforeValue();
    m_text += QLatin1Char('{');
    m_first.push_back(true);
    m_inline.push_back(false);
}

void JsonWriter::endObject()
{
    const bool empty = m_first.back();
    m_first.pop_back();
    m_inline.pop_back();
    if (!empty)
        newline();
    m_text += QLatin1Char('}');
}

void JsonWriter::beginArray(bool inlineArray)
{
    beforeValue();
    m_text += QLatin1Char('[');
    m_first.push_back(true);
    m_inline.push_back(inlineArray || (!m_inline.empty() && m_inline.back()));
}

void JsonWriter::endArray()
{
    const bool empty = m_first.back();
    const bool wasInline = m_inline.back();
    m_first.pop_back();
    m_inline.pop_back();
    if (!empty && !wasInline)
        newline();
    m_text += QLatin1Char(']');
}

void JsonWriter::key(const QString& name)
{
    beforeValue();
    m_text += jsonQuoted(name) + QStringLiteral(": ");
    m_afterKey = true;
}

void JsonWriter::value(const QString& text)
{
    beforeValue();
    m_text += jsonQuoted(text);
}

void JsonWriter::value(bool flag)
{
    beforeValue();
    m_text += flag ? QStringLiteral("true") : QStringLiteral("false");
}

void JsonWriter::valueNull()
{
    beforeValue();
    m_text += QStringLiteral("null");
}

void JsonWriter::rawNumber(const QString& text)
{
    beforeValue();
    m_text += text;
}

} // namespace recinfo
