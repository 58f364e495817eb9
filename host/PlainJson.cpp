// SPDX-License-Identifier: MIT
#include "PlainJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace recinfo {

namespace {

class PlainReader
{
public:
    PlainReader(QByteArrayView bytes, int depth)
        : m_at(bytes.data()), m_end(bytes.data() + bytes.size()), m_depth(depth)
    {
    }

    bool document(Json& out)
    {
        space();
        if (!value(out))
            return false;
        space();
        return m_at == m_end;
    }

private:
    void space()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    bool take(char c)
    {
        if (m_at < m_end && *m_at == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    bool value(Json& out)
    {
        if (m_at == m_end)
            return false;
        switch (*m_at) {
        case '{': return object(out);
        case '[': return array(out);
        case '"': {
            std::string text;
            if (!string(text))
                return false;
            out = Json(std::move(text));
            return true;
        }
        case 't': return word("true", Json(true), out);
        case 'f': return word("false", Json(false), out);
        case 'n': return word("null", Json(nullptr), out);
        default: return number(out);
        }
    }

    bool word(std::string_view text, Json&& literal, Json& out)
    {
        if (std::size_t(m_end - m_at) < text.size() || std::string_view(m_at, text.size()) != text)
            return false;
        m_at += text.size();
        out = std::move(literal);
        return true;
    }

    // A list's elements or an object's members up to close, each read by item; a level deeper.
    template <class Item>
    bool items(char close, Item item)
    {
        if (++m_depth >= MaxJsonDepth)
            return false;
        ++m_at;
        space();
        if (!take(close)) {
            do {
                space();
                if (!item())
                    return false;
                space();
            } while (take(','));
            if (!take(close))
                return false;
        }
        --m_depth;
        return true;
    }

    bool object(Json& out)
    {
        out = Json(Json::value_t::object);
        Json::object_t& members = out.get_ref<Json::object_t&>();
        // A dataset has some sixty members, the typed values in it two: room made once.
        members.reserve(m_outermost ? 64 : 2);
        m_outermost = false;
        return items('}', [&] {
            std::string key;
            if (m_at == m_end || *m_at != '"' || !string(key))
                return false;
            space();
            if (!take(':'))
                return false;
            space();
            for (const auto& member : members)
                if (member.first == key)
                    return false; // nlohmann keeps its first place and last value; parseJson refuses it
            Json item;
            if (!value(item))
                return false;
            members.emplace_back(std::move(key), std::move(item));
            return true;
        });
    }

    bool array(Json& out)
    {
        out = Json(Json::value_t::array);
        Json::array_t& elements = out.get_ref<Json::array_t&>();
        return items(']', [&] { return value(elements.emplace_back()); });
    }

    // The bytes of one UTF-8 sequence after its lead byte, as RFC 3629 allows them.
    bool continuation(unsigned char lead)
    {
        const auto in = [this](std::ptrdiff_t i, unsigned char low, unsigned char high) {
            return m_at + i < m_end && static_cast<unsigned char>(m_at[i]) >= low
                && static_cast<unsigned char>(m_at[i]) <= high;
        };
        int length = 0;
        bool valid = false;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            valid = in(1, 0x80, 0xBF);
        } else if (lead == 0xE0) {
            length = 3;
            valid = in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF);
        } else if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) {
            length = 3;
            valid = in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF);
        } else if (lead == 0xED) {
            length = 3;
            valid = in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF);
        } else if (lead == 0xF0) {
            length = 4;
            valid = in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF);
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            length = 4;
            valid = in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF);
        } else if (lead == 0xF4) {
            length = 4;
            valid = in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF);
        }
        if (valid)
            m_at += length;
        return valid;
    }

    // From the opening quote past the closing one; false for an escape or a control character.
    bool string(std::string& out)
    {
        const char* start = ++m_at;
        while (m_at < m_end) {
            const auto c = static_cast<unsigned char>(*m_at);
            if (c == '"') {
                out.assign(start, std::size_t(m_at - start));
                ++m_at;
                return true;
            }
            if (c == '\\' || c < 0x20)
                return false;
            if (c < 0x80)
                ++m_at;
            else if (!continuation(c))
                return false;
        }
        return false;
    }

    static bool digit(char c) { return c >= '0' && c <= '9'; }

    // JSON's grammar; integers as nlohmann keeps them (unsigned without a sign, signed with
    // one, a double when they do not fit), every other number a double.
    bool number(Json& out)
    {
        const char* start = m_at;
        const bool negative = take('-');
        if (take('0')) {
        } else if (m_at < m_end && digit(*m_at) && *m_at != '0') {
            while (m_at < m_end && digit(*m_at))
                ++m_at;
        } else {
            return false;
        }
        bool integer = true;
        if (take('.')) {
            integer = false;
            if (m_at == m_end || !digit(*m_at))
                return false;
            while (m_at < m_end && digit(*m_at))
                ++m_at;
        }
        if (take('e') || take('E')) {
            integer = false;
            if (!take('+'))
                take('-');
            if (m_at == m_end || !digit(*m_at))
                return false;
            while (m_at < m_end && digit(*m_at))
                ++m_at;
        }
        if (integer) {
            if (negative) {
                std::int64_t v = 0;
                if (const auto r = std::from_chars(start, m_at, v); r.ec == std::errc() && r.ptr == m_at) {
                    out = Json(Json::number_integer_t(v));
                    return true;
                }
            } else {
                std::uint64_t v = 0;
                if (const auto r = std::from_chars(start, m_at, v); r.ec == std::errc() && r.ptr == m_at) {
                    out = Json(Json::number_unsigned_t(v));
                    return true;
                }
            }
        }
        double v = 0;
        const auto r = std::from_chars(start, m_at, v);
        if (r.ec != std::errc() || r.ptr != m_at || !std::isfinite(v))
            return false; // too large, or too small for a normal double: nlohmann's reader judges
        out = Json(Json::number_float_t(v));
        return true;
    }

    const char* m_at;
    const char* m_end;
    int m_depth;
    bool m_outermost = true;
};

} // namespace

bool readPlainJson(QByteArrayView bytes, Json* value, int depth)
{
    // Depth counts the levels above the value; its own container is one more.
    return PlainReader(bytes, depth - 1).document(*value);
}

} // namespace recinfo
