// SPDX-License-Identifier: MIT
#pragma once
// How RTF is written here, shared by the box's writer and the joined document: the text of a
// document under construction (7-bit ASCII, control words delimited as RTF wants them), the
// font and colour tables, and the body writer, which writes each character state only where
// it changes.

#include "RichTextBox.h"
#include "CharAttributes.h"

#include <QHash>
#include <QStringView>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace vxRecInfo::rtfwriting {

// Text of an RTF document under construction, with the delimiter rule of control words. RTF
// as written here is 7-bit ASCII, so the text is built as bytes.
class RtfText
{
public:
    explicit RtfText(std::string* out, bool needsDelimiter = false) : m_out(out), m_needsDelimiter(needsDelimiter) {}
    void setOutput(std::string* out) { m_out = out; }

    void control(std::string_view word)
    {
        m_out->append(word);
        m_needsDelimiter = true;
    }
    void control(std::string_view word, long long number)
    {
        m_out->append(word);
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        m_out->append(digits, std::size_t(end - digits));
        m_needsDelimiter = true;
    }
    void raw(std::string_view text)
    {
        m_out->append(text);
        m_needsDelimiter = false;
    }
    void text(QStringView text)
    {
        const auto plain = [](char16_t u) { return u >= 0x20 && u < 0x7F && u != u'\\' && u != u'{' && u != u'}'; };
        const char16_t* p = text.utf16();
        const char16_t* const end = p + text.size();
        while (p < end) {
            // A run of characters that stand for themselves, copied at once.
            const char16_t* const run = p;
            while (p < end && plain(*p))
                ++p;
            if (p > run) {
                if (m_needsDelimiter) {
                    m_out->push_back(' ');
                    m_needsDelimiter = false;
                }
                const std::size_t at = m_out->size();
                m_out->resize(at + std::size_t(p - run));
                std::copy(run, p, m_out->begin() + std::ptrdiff_t(at));
            }
            if (p < end)
                character(*p++);
        }
    }
    // A font name ends at a plain ";" and loses plain blanks at either end.
    void fontName(QStringView name)
    {
        for (qsizetype i = 0; i < name.size(); ++i) {
            const bool end = i == 0 || i + 1 == name.size();
            if (name[i] == QLatin1Char(';') || (end && name[i] == QLatin1Char(' ')))
                hex(name[i].unicode());
            else
                character(name[i].unicode());
        }
    }
    // A byte of the document's code page; below 0x20 the character itself.
    void hex(char16_t byte)
    {
        static const char digits[] = "0123456789abcdef";
        const char escaped[] = {'\\', '\'', digits[(byte >> 4) & 0xF], digits[byte & 0xF]};
        raw(std::string_view(escaped, sizeof escaped));
    }

private:
    void character(char16_t u)
    {
        if (u == u'\\' || u == u'{' || u == u'}') {
            plain('\\');
            m_out->push_back(char(u));
        } else if (u == u'\t') {
            control("\\tab");
        } else if (u == 0x0C) {
            control("\\page"); // a form feed starts a new page
        } else if (u < 0x20 || u == 0x7F) {
            hex(u); // every other control character: raw, readers drop them (CR and LF are layout)
        } else if (u < 0x80) {
            plain(char(u));
        } else {
            // Signed 16-bit, as RTF readers expect; "?" for readers without Unicode,
            // written as \'3f: some readers take a plain "?" for the word's delimiter.
            control("\\u", std::int16_t(u));
            raw("\\'3f");
        }
    }

    void plain(char c)
    {
        if (m_needsDelimiter)
            m_out->push_back(' ');
        m_out->push_back(c);
        m_needsDelimiter = false;
    }

    std::string* m_out;
    bool m_needsDelimiter;
};

// Values kept in order of first use, with their index; few as a rule, so looked up by scanning
// until there are many.
template <class T>
class IndexedList
{
public:
    const std::vector<T>& values() const { return m_values; }
    int indexOf(const T& value)
    {
        if (m_values.size() <= Scanned) {
            for (std::size_t i = 0; i < m_values.size(); ++i)
                if (m_values[i] == value)
                    return int(i);
        } else if (const auto found = m_index.constFind(value); found != m_index.cend()) {
            return *found;
        }
        m_values.push_back(value);
        if (m_values.size() == Scanned + 1)
            for (std::size_t i = 0; i < m_values.size(); ++i)
                m_index.insert(m_values[i], int(i));
        else if (m_values.size() > Scanned + 1)
            m_index.insert(value, int(m_values.size() - 1));
        return int(m_values.size() - 1);
    }

private:
    static constexpr std::size_t Scanned = 16;
    std::vector<T> m_values;
    QHash<T, int> m_index;
};

// The body of a document: paragraph formats, text in its character formats, paragraph ends.
// Font and colour tables fill in the order the text first uses them, so the head, written
// last, lists them as a pass over the whole text would.
class BodyWriter
{
public:
    BodyWriter(const QString& defaultFont, float defaultSize, const std::vector<CharFormat>& formats)
        : m_defaultSize(defaultSize), m_formats(formats)
    {
        m_fonts.indexOf(defaultFont);
    }

    void setOutput(std::string* out) { m_out.setOutput(out); }

    void paragraph(const ParagraphFormat& p)
    {
        if (!m_firstParagraph && p == m_paragraph)
            return;
        m_firstParagraph = false;
        m_paragraph = p;
        m_out.control("\\pard");
        if (p.alignment == Alignment::Right)
            m_out.control("\\qr");
        else if (p.alignment == Alignment::Center)
            m_out.control("\\qc");
        for (const std::int32_t tab : p.tabs)
            m_out.control("\\tx", tab);
    }

    void text(QStringView text, std::uint16_t format)
    {
        switchTo(format);
        m_out.text(text);
    }

    // A paragraph end of the box (CR LF, a lone CR or a lone LF) in the formats of its
    // characters. CR LF in one format is a paragraph mark; a lone LF is a line break and a lone
    // CR the character itself, so that the box splits the text read back where it splits it now
    // and each end keeps its own format.
    void end(QStringView chars, const std::uint16_t* formats)
    {
        if (chars.size() == 2 && formats[0] == formats[1]) {
            switchTo(formats[1]);
            m_out.control("\\par");
            m_out.raw("\r\n");
            return;
        }
        for (qsizetype i = 0; i < chars.size(); ++i) {
            switchTo(formats[i]);
            if (chars[i] == QLatin1Char('\n'))
                m_out.control("\\line");
            else
                m_out.hex(u'\r');
        }
    }

    // The document up to its body: header, font and colour tables.
    void writeHead(std::string& out) const
    {
        RtfText head(&out);
        head.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
        const std::vector<QString>& fonts = m_fonts.values();
        for (std::size_t i = 0; i < fonts.size(); ++i) {
            head.raw("{");
            head.control("\\f", static_cast<long long>(i));
            head.control("\\fnil\\fcharset0");
            head.fontName(fonts[i]);
            head.raw(";}");
        }
        head.raw("}\r\n{\\colortbl ;");
        for (const std::int32_t c : m_colors.values()) {
            head.control("\\red", c & 0xFF);
            head.control("\\green", (c >> 8) & 0xFF);
            head.control("\\blue", (c >> 16) & 0xFF);
            head.raw(";");
        }
        head.raw("}\r\n");
        head.control("\\viewkind4");
    }

private:
    // The character state written so far, to write only changes.
    struct State : RtfCharState {
        bool known = false;
    };

    const State& resolved(std::uint16_t format)
    {
        if (format >= m_resolved.size())
            m_resolved.resize(m_formats.size());
        State& r = m_resolved[format];
        if (!r.known) {
            const CharFormat& f = m_formats[format];
            r.font = f.font.isEmpty() ? 0 : m_fonts.indexOf(f.font);
            r.size = int(std::lround((f.size == 0 ? m_defaultSize : f.size) * 2));
            r.color = f.color == -1 ? 0 : m_colors.indexOf(f.color) + 1;
            r.bold = f.bold;
            r.italic = f.italic;
            r.strike = f.strike;
            r.underline = f.underline;
            r.known = true;
        }
        return r;
    }

    void switchTo(std::uint16_t format)
    {
        if (format == m_current)
            return;
        const State& f = resolved(format);
        if (f.font != m_state.font)
            m_out.control("\\f", f.font);
        if (f.size != m_state.size)
            m_out.control("\\fs", f.size);
        if (f.color != m_state.color)
            m_out.control("\\cf", f.color);
        if (f.bold != m_state.bold)
            m_out.control(f.bold ? "\\b" : "\\b0");
        if (f.italic != m_state.italic)
            m_out.control(f.italic ? "\\i" : "\\i0");
        if (f.strike != m_state.strike)
            m_out.control(f.strike ? "\\strike" : "\\strike0");
        if (f.underline != m_state.underline)
            m_out.control(f.underline ? "\\ul" : "\\ulnone");
        m_state = f;
        m_current = format;
    }

    const float m_defaultSize;
    const std::vector<CharFormat>& m_formats;
    std::vector<State> m_resolved;
    IndexedList<QString> m_fonts; // index 0 is the default font
    IndexedList<std::int32_t> m_colors; // colour table entries 1..n
    // \viewkind4 ends the head: the body starts after a control word.
    RtfText m_out{nullptr, true};
    // Font and size are not yet written: the first text writes them whatever they are.
    State m_state{{-1, -1, 0, false, false, false, false}, true};
    std::uint32_t m_current = 0xFFFFFFFF;
    bool m_firstParagraph = true;
    ParagraphFormat m_paragraph;
};

} // namespace vxRecInfo::rtfwriting
