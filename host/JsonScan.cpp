// SPDX-License-Identifier: MIT
// The quick first reading of a recordings file: where each dataset lies, found at the level of
// strings and brackets, and the rest of the document read as usual.

#include "Json.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace recinfo {

namespace {

// The bytes of a document walked through at the level of strings and brackets.
class QuickScan
{
public:
    QuickScan(QByteArrayView bytes, std::vector<DataSetPlace>& places, const std::vector<std::string_view>& watched)
        : m_at(bytes.data()), m_begin(bytes.data()), m_end(bytes.data() + bytes.size()), m_places(places),
          m_watched(watched)
    {
    }

    // The offsets of the "datasets" list's brackets, or false.
    bool run(qint64* open, qint64* close)
    {
        *open = *close = -1;
        int depth = 0;
        bool keyNext = false; // in an object, where a key may come
        while (m_at < m_end) {
            if (!toStructural())
                break;
            const char c = *m_at;
            if (c == '"') {
                const char* start = m_at;
                if (!skipString())
                    return false;
                if (depth == 1 && keyNext && std::string_view(start + 1, std::size_t(m_at - start - 2)) == "datasets") {
                    if (*open >= 0)
                        return false; // twice: parseJson says so
                    if (!datasetsList(open, close))
                        return false;
                }
                keyNext = false;
                continue;
            }
            if (c == '{' || c == '[') {
                if (++depth > MaxJsonDepth)
                    return false;
                keyNext = c == '{';
            } else if (c == '}' || c == ']') {
                --depth;
                keyNext = false;
            } else if (c == ',') {
                keyNext = true; // inside an array it never meets a string key at depth 1
            }
            ++m_at;
        }
        return depth == 0;
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    void skipSpace()
    {
        while (m_at < m_end && isSpace(*m_at))
            ++m_at;
    }

    // From the opening quote to past the closing one: the next quote not escaped by an odd run
    // of backslashes.
    bool skipString()
    {
        const char* from = m_at + 1;
        while (from < m_end) {
            const auto* quote = static_cast<const char*>(std::memchr(from, '"', std::size_t(m_end - from)));
            if (!quote)
                return false;
            const char* run = quote;
            while (run > m_at + 1 && run[-1] == '\\')
                --run;
            from = quote + 1;
            if ((quote - run) % 2 == 0) {
                m_at = from;
                return true;
            }
        }
        return false;
    }

    // To the next byte that starts or ends anything (every other byte is skipped at once); false
    // at the end.
    bool toStructural()
    {
        while (m_at < m_end && !structural(*m_at))
            ++m_at;
        return m_at < m_end;
    }

    static bool structural(char c)
    {
        static constexpr auto table = [] {
            std::array<bool, 256> t{};
            for (const unsigned char c : {'"', '{', '[', '}', ']', ','})
                t[c] = true;
            return t;
        }();
        return table[static_cast<unsigned char>(c)];
    }

    // After the key "datasets": its colon and list, every element an object.
    bool datasetsList(qint64* open, qint64* close)
    {
        skipSpace();
        if (m_at == m_end || *m_at != ':')
            return false;
        ++m_at;
        skipSpace();
        if (m_at == m_end || *m_at != '[')
            return false;
        *open = m_at - m_begin;
        ++m_at;
        skipSpace();
        if (m_at < m_end && *m_at == ']') {
            *close = m_at - m_begin;
            ++m_at;
            return true;
        }
        while (m_at < m_end) {
            if (*m_at != '{' || !dataset())
                return false;
            skipSpace();
            if (m_at < m_end && *m_at == ']') {
                *close = m_at - m_begin;
                ++m_at;
                return true;
            }
            if (m_at == m_end || *m_at != ',')
                return false;
            ++m_at;
            skipSpace();
        }
        return false;
    }

    // One element, from its opening brace to past its closing one: depth 3 in the document.
    bool dataset()
    {
        DataSetPlace place{m_at - m_begin, 0, 0};
        int depth = 0;
        bool keyNext = false;
        while (m_at < m_end) {
            if (!toStructural())
                break;
            const char c = *m_at;
            if (c == '"') {
                const char* start = m_at;
                if (!skipString())
                    return false;
                if (depth == 1 && keyNext && !noteKey(std::string_view(start + 1, std::size_t(m_at - start - 2)), place))
                    return false;
                keyNext = false;
                continue;
            }
            ++m_at;
            if (c == '{' || c == '[') {
                if (++depth + 2 > MaxJsonDepth)
                    return false;
                keyNext = c == '{';
            } else if (c == '}' || c == ']') {
                if (--depth == 0) {
                    place.length = m_at - m_begin - place.offset;
                    m_places.push_back(place);
                    return true;
                }
                keyNext = false;
            } else if (c == ',') {
                keyNext = depth == 1;
            }
        }
        return false;
    }

    // A key of the dataset itself: plain ASCII, or the usual reading decides.
    bool noteKey(std::string_view key, DataSetPlace& place) const
    {
        for (const char c : key)
            if (c == '\\' || static_cast<unsigned char>(c) >= 0x80)
                return false;
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        for (std::size_t i = 0; i < m_watched.size(); ++i) {
            const std::string_view w = m_watched[i];
            if (w.size() == key.size()
                && std::equal(w.begin(), w.end(), key.begin(), [&](char a, char b) { return lower(a) == lower(b); }))
                place.watched |= std::uint32_t(1) << i;
        }
        return true;
    }

    const char* m_at;
    const char* m_begin;
    const char* m_end;
    std::vector<DataSetPlace>& m_places;
    const std::vector<std::string_view>& m_watched;
};

} // namespace

bool scanDataSets(QByteArrayView bytes, Json* value, std::vector<DataSetPlace>* places,
                  const std::vector<std::string_view>& watched)
{
    places->clear();
    qint64 open = -1;
    qint64 close = -1;
    if (!QuickScan(bytes, *places, watched).run(&open, &close))
        return false;
    // The rest of the document, its "datasets" an empty list.
    QByteArray rest;
    if (open >= 0)
        rest = bytes.first(open + 1).toByteArray() + bytes.sliced(close).toByteArray();
    else
        rest = bytes.toByteArray();
    QString error;
    if (!parseJson(rest, value, &error))
        return false;
    // "datasets" spelled with escapes is a list the scan did not see.
    const Json* datasets = value->is_object() && value->contains("datasets") ? &(*value)["datasets"] : nullptr;
    return open >= 0 ? datasets && datasets->is_array() && datasets->empty() : !datasets;
}

} // namespace recinfo
