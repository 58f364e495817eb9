#include "Json.h"

#include <sstream>
#include <unordered_set>

namespace recinfo {

namespace {

// Line and column of the byte at offset; a column counts characters, not bytes.
QString placeOf(const std::string& text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    int column = 1;
    for (std::size_t i = lineStart; i < offset; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) // not a UTF-8 continuation byte
            ++column;
    return QStringLiteral("line %1, column %2: ").arg(line).arg(column);
}

// The reader's message without its exception id and its own place (which counts bytes).
QString descriptionOf(const Json::exception& e)
{
    std::string what = e.what();
    what.erase(0, what.find("] ") + 2);
    if (what.rfind("parse error", 0) == 0)
        what.erase(0, what.find(": ") + 2);
    return QString::fromStdString(what);
}

struct DuplicateKey {
    std::string key;
};

} // namespace

bool parseJson(const QByteArray& bytes, Json* value, QString* error)
{
    const std::string text = bytes.toStdString();
    // A stream rather than the bytes themselves: its read position says where a key ended.
    std::istringstream stream(text);
    const auto readPosition = [&stream] {
        const std::streamoff at = stream.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
        return at < 0 ? std::string::npos : std::size_t(at);
    };
    std::vector<std::unordered_set<std::string>> keys; // of every open object
    const auto refuseDuplicates = [&keys](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start)
            keys.emplace_back();
        else if (event == Json::parse_event_t::object_end)
            keys.pop_back();
        else if (event == Json::parse_event_t::key && !keys.back().insert(parsed.get<std::string>()).second)
            throw DuplicateKey{parsed.get<std::string>()};
        return true;
    };
    try {
        *value = Json::parse(stream, refuseDuplicates);
        return true;
    } catch (const Json::parse_error& e) {
        *error = placeOf(text, e.byte == 0 ? 0 : e.byte - 1) + descriptionOf(e);
    } catch (const Json::exception& e) {
        // A number too large for a double: the reader has just passed it.
        *error = placeOf(text, readPosition() - 1) + descriptionOf(e);
    } catch (const DuplicateKey& d) {
        // The reader stands right after the key's closing quote; back to its opening one, the
        // first quote not escaped by an odd run of backslashes.
        const auto escaped = [&text](std::size_t at) {
            std::size_t run = 0;
            while (run < at && text[at - 1 - run] == '\\')
                ++run;
            return run % 2 == 1;
        };
        std::size_t open = std::min(readPosition(), text.size()) - 2; // a key takes at least three bytes
        while (open > 0 && (text[open] != '"' || escaped(open)))
            --open;
        *error = placeOf(text, open)
                 + QStringLiteral("\"%1\" is given twice in the same object").arg(QString::fromStdString(d.key));
    }
    return false;
}

const Json* member(const Json& value, const char* key)
{
    if (!value.is_object())
        return nullptr;
    const auto it = value.find(key);
    return it == value.end() ? nullptr : &*it;
}

QString kindName(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null: return QStringLiteral("null");
    case Json::value_t::boolean: return QStringLiteral("a boolean");
    case Json::value_t::string: return QStringLiteral("a string");
    case Json::value_t::array: return QStringLiteral("a list");
    case Json::value_t::object: return QStringLiteral("an object");
    default: return QStringLiteral("a number");
    }
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
