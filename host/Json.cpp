// SPDX-License-Identifier: MIT
#include "Json.h"

#include "automation/RuntimeError.h"

#include <algorithm>
#include <iterator>
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
struct TooDeep {};

// Bytes of a device a buffer at a time, as an input iterator for nlohmann's reader; offset()
// says how many it has handed out, so the reader's events can be placed in the file.
class DeviceBytes
{
public:
    explicit DeviceBytes(QIODevice& device) : m_device(device), m_buffer(std::size_t(1) << 16) { fill(); }

    bool atEnd() const { return m_at == m_end; }
    char current() const { return *m_at; }
    void advance()
    {
        ++m_at;
        ++m_offset;
        if (m_at == m_end)
            fill();
    }
    qint64 offset() const { return m_offset; }
    bool failed() const { return m_failed; }

    class Iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char*;
        using reference = char;

        explicit Iterator(DeviceBytes* bytes) : m_bytes(bytes) {}
        char operator*() const { return m_bytes->current(); }
        Iterator& operator++()
        {
            m_bytes->advance();
            return *this;
        }
        // Only ever compared with the end, which a null iterator stands for.
        bool operator==(const Iterator& other) const { return atEnd() == other.atEnd(); }

    private:
        bool atEnd() const { return !m_bytes || m_bytes->atEnd(); }
        DeviceBytes* m_bytes;
    };

private:
    void fill()
    {
        const qint64 n = m_device.read(m_buffer.data(), qint64(m_buffer.size()));
        m_failed = m_failed || n < 0;
        m_at = m_buffer.data();
        m_end = m_at + std::max<qint64>(n, 0);
    }

    QIODevice& m_device;
    std::vector<char> m_buffer;
    const char* m_at = nullptr;
    const char* m_end = nullptr;
    qint64 m_offset = 0;
    bool m_failed = false;
};

// Builds the document from the reader's events, as nlohmann's own reader would, but leaves the
// objects of the top-level "datasets" list where they lie and notes their places. Keys given
// twice are refused anywhere, also inside those objects.
class LeavingDataSets
{
public:
    LeavingDataSets(const DeviceBytes& bytes, Json& root, std::vector<DataSetPlace>& places,
                    const std::vector<std::string_view>& watched)
        : m_bytes(bytes), m_root(root), m_places(places), m_watched(watched)
    {
    }

    bool null() { return value(nullptr); }
    bool boolean(bool v) { return value(v); }
    bool number_integer(Json::number_integer_t v) { return value(v); }
    bool number_unsigned(Json::number_unsigned_t v) { return value(v); }
    bool number_float(Json::number_float_t v, const std::string&) { return value(v); }
    bool string(std::string& v) { return value(std::move(v)); }
    bool binary(Json::binary_t&) { return false; }

    bool start_object(std::size_t)
    {
        if (!deeper())
            return false; // parseJson says where
        m_keys.emplace_back();
        if (m_skipped == 0 && inDataSets()) {
            // The reader has just taken the opening brace.
            m_places.push_back({m_bytes.offset() - 1, 0});
            m_skipped = 1;
            return true;
        }
        return open(Json::object());
    }
    bool key(std::string& k)
    {
        if (!m_keys.back().insert(k).second)
            return false; // parseJson says where
        if (m_skipped == 0)
            m_key = std::move(k);
        else if (m_skipped == 1)
            m_places.back().watched |= watchedBits(k);
        return true;
    }
    bool end_object()
    {
        m_keys.pop_back();
        return close();
    }
    bool start_array(std::size_t) { return deeper() && open(Json::array()); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

private:
    // Keys match as property names do: lower case, which for a few letters outside ASCII is
    // an ASCII one (the Kelvin sign is a k).
    std::uint32_t watchedBits(const std::string& k) const
    {
        const bool ascii = std::all_of(k.begin(), k.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const QString lower = ascii ? QString() : QString::fromStdString(k).toLower();
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < m_watched.size(); ++i) {
            const std::string_view w = m_watched[i];
            const bool same = ascii ? w.size() == k.size()
                    && std::equal(w.begin(), w.end(), k.begin(), [](char a, char b) { return asciiLower(a) == asciiLower(b); })
                                    : lower == QString::fromLatin1(w.data(), qsizetype(w.size())).toLower();
            if (same)
                bits |= std::uint32_t(1) << i;
        }
        return bits;
    }
    static char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

    // Counts the datasets left in the file too: they are parsed again later.
    bool deeper() { return ++m_depth <= MaxJsonDepth; }

    // In the top-level object's "datasets" list, outside any of its elements.
    bool inDataSets() const
    {
        return m_open.size() == 2 && m_open[1]->is_array() && m_openKey == "datasets";
    }

    template <class T>
    bool value(T&& v)
    {
        if (m_skipped > 0)
            return true;
        if (inDataSets())
            m_places.push_back({0, 0}); // an element that is no object stays in the document
        place(Json(std::forward<T>(v)));
        return true;
    }

    Json* place(Json&& v)
    {
        if (m_open.empty()) {
            m_root = std::move(v);
            return &m_root;
        }
        Json& container = *m_open.back();
        if (container.is_array()) {
            container.push_back(std::move(v));
            return &container.back();
        }
        Json& slot = container[m_key];
        slot = std::move(v);
        return &slot;
    }

    bool open(Json&& container)
    {
        if (m_skipped > 0) {
            ++m_skipped;
            return true;
        }
        if (inDataSets())
            m_places.push_back({0, 0});
        if (m_open.size() == 1)
            m_openKey = m_key; // the top-level member being read
        m_open.push_back(place(std::move(container)));
        return true;
    }

    bool close()
    {
        --m_depth;
        if (m_skipped > 0) {
            if (--m_skipped == 0)
                m_places.back().length = m_bytes.offset() - m_places.back().offset;
            return true;
        }
        m_open.pop_back();
        return true;
    }

    const DeviceBytes& m_bytes;
    Json& m_root;
    std::vector<DataSetPlace>& m_places;
    const std::vector<std::string_view>& m_watched;
    std::vector<Json*> m_open;                           // containers being built, outermost first
    std::vector<std::unordered_set<std::string>> m_keys; // of every open object
    std::string m_key;                                   // of the member being read
    std::string m_openKey;                               // of the top-level member open
    int m_skipped = 0;                                   // depth inside a dataset left in the file
    int m_depth = 0;                                     // of lists and objects open
};

// Builds the value nlohmann's own reader builds (a key given twice keeps its first place and
// its last value), but each object once its members are all read: nlohmann's reader grows an
// ordered object a member at a time, and every growth copies the members read so far, deeply.
class WholeObjects
{
public:
    // depth: of the value read in its own document, for the nesting limit.
    WholeObjects(Json& root, std::size_t depth) : m_root(root), m_baseDepth(depth) {}

    bool null() { return value(Json(nullptr)); }
    bool boolean(bool v) { return value(Json(v)); }
    bool number_integer(Json::number_integer_t v) { return value(Json(v)); }
    bool number_unsigned(Json::number_unsigned_t v) { return value(Json(v)); }
    bool number_float(Json::number_float_t v, const std::string&) { return value(Json(v)); }
    bool string(std::string& v) { return value(Json(std::move(v))); }
    bool binary(Json::binary_t&) { return false; }
    bool start_object(std::size_t)
    {
        if (tooDeep())
            return false;
        open().object = true;
        return true;
    }
    bool key(std::string& k)
    {
        m_open[m_depth - 1].key = std::move(k);
        return true;
    }
    bool end_object()
    {
        Open& done = m_open[--m_depth];
        Json object(Json::value_t::object);
        Json::object_t& members = object.get_ref<Json::object_t&>();
        members.reserve(done.members.size());
        for (auto& [k, v] : done.members)
            members[std::move(k)] = std::move(v);
        // A key given twice made one member of two.
        const bool once = members.size() == done.members.size();
        done.members.clear();
        return once && value(std::move(object));
    }
    bool start_array(std::size_t)
    {
        if (tooDeep())
            return false;
        open().object = false;
        return true;
    }
    bool end_array()
    {
        Json array(Json::value_t::array);
        array.get_ref<Json::array_t&>() = std::move(m_open[--m_depth].elements);
        return value(std::move(array));
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

private:
    // A list or object being read; kept with its room for the next one at its depth.
    struct Open {
        bool object = false;
        std::string key;
        std::vector<std::pair<std::string, Json>> members;
        Json::array_t elements;
    };

    bool tooDeep() const { return m_baseDepth + m_depth >= std::size_t(MaxJsonDepth); }

    Open& open()
    {
        if (m_depth == m_open.size())
            m_open.emplace_back();
        Open& o = m_open[m_depth++];
        o.elements.clear();
        return o;
    }

    bool value(Json&& v)
    {
        if (m_depth == 0) {
            m_root = std::move(v);
        } else if (Open& o = m_open[m_depth - 1]; o.object) {
            o.members.emplace_back(std::move(o.key), std::move(v));
        } else {
            o.elements.push_back(std::move(v));
        }
        return true;
    }

    Json& m_root;
    std::size_t m_baseDepth;
    std::vector<Open> m_open;
    std::size_t m_depth = 0;
};

} // namespace

bool parseJsonLeavingDataSets(QIODevice& device, Json* value, std::vector<DataSetPlace>* places,
                              const std::vector<std::string_view>& watched)
{
    places->clear();
    *value = Json();
    DeviceBytes bytes(device);
    LeavingDataSets events(bytes, *value, *places, watched);
    const bool read = Json::sax_parse(DeviceBytes::Iterator(&bytes), DeviceBytes::Iterator(nullptr), &events);
    return read && !bytes.failed();
}

bool parseJsonQuietly(const QByteArray& bytes, Json* value, int depth)
{
    *value = Json();
    WholeObjects events(*value, std::size_t(std::max(depth, 0)));
    if (Json::sax_parse(bytes.cbegin(), bytes.cend(), &events))
        return true;
    *value = Json(Json::value_t::discarded);
    return false;
}

bool parseJson(const QByteArray& bytes, Json* value, QString* error, int* number)
{
    if (number)
        *number = 0;
    const std::string text = bytes.toStdString();
    // A stream rather than the bytes themselves: its read position says where a key ended.
    std::istringstream stream(text);
    const auto readPosition = [&stream] {
        const std::streamoff at = stream.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
        return at < 0 ? std::string::npos : std::size_t(at);
    };
    std::vector<std::unordered_set<std::string>> keys; // of every open object
    // The reader copies what it has built when an object grows, a recursion per level: it stops
    // before the value gets too deep.
    const auto refuse = [&keys](int depth, Json::parse_event_t event, Json& parsed) {
        if ((event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start)
            && depth >= MaxJsonDepth)
            throw TooDeep{};
        if (event == Json::parse_event_t::object_start)
            keys.emplace_back();
        else if (event == Json::parse_event_t::object_end)
            keys.pop_back();
        else if (event == Json::parse_event_t::key && !keys.back().insert(parsed.get<std::string>()).second)
            throw DuplicateKey{parsed.get<std::string>()};
        return true;
    };
    try {
        *value = Json::parse(stream, refuse);
        return true;
    } catch (const Json::parse_error& e) {
        *error = placeOf(text, e.byte == 0 ? 0 : e.byte - 1) + descriptionOf(e);
    } catch (const Json::exception& e) {
        // A number too large for a double: the reader has just passed it.
        *error = placeOf(text, readPosition() - 1) + descriptionOf(e);
    } catch (const TooDeep&) {
        // The reader has just taken the opening bracket.
        *error = placeOf(text, readPosition() - 1)
                 + QStringLiteral("lists and objects are nested deeper than %1 levels").arg(MaxJsonDepth);
        if (number)
            *number = vxRecInfo::Err::OutOfStackSpace;
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

void JsonWriter::moveTo(QTextStream& out)
{
    out << m_text;
    m_text.resize(0); // keeps its room for the next piece
}

} // namespace recinfo
