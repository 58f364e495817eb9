// SPDX-License-Identifier: MIT
#include "RtfWriter.h"
#include "RtfBodyWriter.h"

#include "automation/RuntimeError.h"
#include "component/ModuleState.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace vxRecInfo {

using rtfwriting::BodyWriter;

namespace {

// Length of the paragraph end (CR LF, CR or LF) at the end of text[start, end), 0 for none.
qsizetype endLength(QStringView text, qsizetype start, qsizetype end)
{
    if (end - start >= 2 && text[end - 2] == QLatin1Char('\r') && text[end - 1] == QLatin1Char('\n'))
        return 2;
    if (end - start >= 1 && (text[end - 1] == QLatin1Char('\r') || text[end - 1] == QLatin1Char('\n')))
        return 1;
    return 0;
}

// What FinishRTBFormat and the tab stops make of a text and its runs, as the writer reads a
// box: its formats once each, where each format starts, its paragraphs and their formats.
class RunLayout
{
public:
    std::vector<CharFormat> formats;                          // element 0 is the default format
    std::vector<std::pair<qsizetype, std::uint16_t>> changes; // from this position on, this format
    std::vector<qsizetype> paragraphStarts;
    std::vector<ParagraphFormat> paragraphFormats;

    // False where the box would refuse a run, or where runs of one list are out of order or
    // overlap (the box applies them one after the other; the layout takes them side by side).
    bool build(const RunText& r)
    {
        const RunLists& l = r.runs;
        m_size = r.text.size();
        if (!RTBFormat::BoxAccepts(l) || !inOrder(l.RTBFontRuns) || !inOrder(l.RTBColorRuns) || !inOrder(l.RTBSizeRuns)
            || !inOrder(l.RTBFStyleRuns) || r.tabs.size() > RichTextBox::MaxTabs
            || std::any_of(r.tabs.begin(), r.tabs.end(), [](std::int32_t tab) { return tab < 0; }))
            return false;
        splitParagraphs(r.text);
        layFormats(r);
        layParagraphs(r);
        return true;
    }

    // The format at position, moving cursor (an index into changes) forward to it.
    std::uint16_t formatAt(qsizetype position, std::size_t& cursor) const
    {
        while (cursor + 1 < changes.size() && changes[cursor + 1].first <= position)
            ++cursor;
        return changes[cursor].second;
    }
    // Where the format at cursor ends.
    qsizetype formatEnd(std::size_t cursor) const
    {
        return cursor + 1 < changes.size() ? changes[cursor + 1].first : m_size;
    }
    qsizetype paragraphEnd(std::size_t p) const
    {
        return p + 1 < paragraphStarts.size() ? paragraphStarts[p + 1] : m_size;
    }

private:
    // Start and end of a run as the box's selection takes it: clamped to the text.
    std::pair<qsizetype, qsizetype> span(std::int16_t start, std::int16_t length) const
    {
        const qsizetype s = std::min<qsizetype>(start, m_size);
        return {s, s + std::min<qsizetype>(length, m_size - s)};
    }

    template <class Run>
    bool inOrder(const std::vector<Run>& list) const
    {
        qsizetype end = 0;
        for (std::size_t i = 1; i < list.size(); ++i) {
            const auto [s, e] = span(list[i].Start, list[i].Length);
            if (s == e)
                continue; // formats nothing
            if (s < end)
                return false;
            end = e;
        }
        return true;
    }

    void splitParagraphs(QStringView text)
    {
        // One pass for both ends of a line: report lines are short, and a search per kind of
        // line end costs more in calls than it saves in scanning.
        paragraphStarts.assign(1, 0);
        const char16_t* const begin = text.utf16();
        const char16_t* const end = begin + text.size();
        for (const char16_t* p = begin; p < end; ++p) {
            if (*p > u'\r' || (*p != u'\r' && *p != u'\n'))
                continue;
            if (*p == u'\r' && p + 1 < end && p[1] == u'\n')
                ++p;
            paragraphStarts.push_back(p + 1 - begin);
        }
    }

    int paragraphOf(qsizetype position) const
    {
        const auto after = std::upper_bound(paragraphStarts.begin(), paragraphStarts.end(), position);
        return int(after - paragraphStarts.begin()) - 1;
    }

    // The run of list covering position, moving index forward (runs of a list are in order).
    template <class Run>
    const Run* covering(const std::vector<Run>& list, std::size_t& index, qsizetype position) const
    {
        for (; index < list.size(); ++index) {
            const auto [s, e] = span(list[index].Start, list[index].Length);
            if (s < e && e > position)
                return s <= position ? &list[index] : nullptr;
        }
        return nullptr;
    }

    std::uint16_t intern(const CharFormat& format)
    {
        for (std::size_t i = 0; i < formats.size(); ++i)
            if (formats[i] == format)
                return std::uint16_t(i);
        formats.push_back(format);
        return std::uint16_t(formats.size() - 1);
    }

    void layFormats(const RunText& r)
    {
        const RunLists& l = r.runs;
        m_bounds.clear();
        m_bounds.push_back(0);
        const auto bound = [&](const auto& list) {
            for (std::size_t i = 1; i < list.size(); ++i) {
                const auto [s, e] = span(list[i].Start, list[i].Length);
                if (s < e) {
                    m_bounds.push_back(s);
                    m_bounds.push_back(e);
                }
            }
        };
        bound(l.RTBFontRuns);
        bound(l.RTBColorRuns);
        bound(l.RTBSizeRuns);
        bound(l.RTBFStyleRuns);
        std::sort(m_bounds.begin(), m_bounds.end());
        m_bounds.erase(std::unique(m_bounds.begin(), m_bounds.end()), m_bounds.end());

        formats.assign(1, CharFormat{});
        changes.clear();
        std::size_t font = 1, color = 1, size = 1, style = 1;
        for (const qsizetype at : m_bounds) {
            if (at >= m_size)
                break;
            CharFormat f;
            if (const RTBFontRun* run = covering(l.RTBFontRuns, font, at))
                f.font = run->FontName == r.defaultFont ? QString() : run->FontName;
            if (const RTBColorRun* run = covering(l.RTBColorRuns, color, at))
                f.color = run->Color;
            if (const RTBSizeRun* run = covering(l.RTBSizeRuns, size, at))
                f.size = run->Size;
            if (const RTBFStyleRun* run = covering(l.RTBFStyleRuns, style, at)) {
                f.bold = run->Style & FontStyle::Bold;
                f.italic = run->Style & FontStyle::Italic;
                f.strike = run->Style & FontStyle::StrikeThru;
                f.underline = run->Style & FontStyle::Underline;
            }
            const std::uint16_t index = intern(f);
            if (changes.empty() || changes.back().second != index)
                changes.emplace_back(at, index);
        }
    }

    void layParagraphs(const RunText& r)
    {
        // The formats of the report before are reused: a tab list that is already the one to
        // set is left alone (no copy, no count to change).
        paragraphFormats.resize(paragraphStarts.size());
        for (ParagraphFormat& f : paragraphFormats)
            f.alignment = ParagraphFormat{}.alignment;
        const std::vector<RTBFAlignRun>& align = r.runs.RTBFAlignRuns;
        for (std::size_t i = 1; i < align.size(); ++i) {
            const auto [s, e] = span(align[i].Start, align[i].Length);
            const int first = paragraphOf(s);
            const int last = s == e ? first : paragraphOf(e - 1);
            for (int p = first; p <= last; ++p)
                paragraphFormats[std::size_t(p)].alignment = align[i].Alignment;
        }
        // The whole text selected: the empty paragraph after a last line break is not.
        const int last = r.tabs.isEmpty() ? -1 : m_size == 0 ? 0 : paragraphOf(m_size - 1);
        for (std::size_t p = 0; p < paragraphFormats.size(); ++p) {
            QList<std::int32_t>& tabs = paragraphFormats[p].tabs;
            if (int(p) <= last) {
                if (tabs != r.tabs)
                    tabs = r.tabs;
            } else if (!tabs.isEmpty()) {
                tabs = QList<std::int32_t>();
            }
        }
    }

    qsizetype m_size = 0;
    std::vector<qsizetype> m_bounds;
};

// Writes text[from, to) of a layout in its formats, taken through map (the layout's format
// index to the writer's).
void writeText(BodyWriter& w, const RunLayout& l, QStringView text, qsizetype from, qsizetype to,
               const std::uint16_t* map, std::size_t& cursor)
{
    while (from < to) {
        const std::uint16_t format = l.formatAt(from, cursor);
        const qsizetype end = std::min(to, l.formatEnd(cursor));
        w.text(text.mid(from, end - from), map ? map[format] : format);
        from = end;
    }
}

void writeEnd(BodyWriter& w, const RunLayout& l, QStringView text, qsizetype at, qsizetype length,
              const std::uint16_t* map, std::size_t& cursor)
{
    std::uint16_t formats[2] = {0, 0};
    for (qsizetype i = 0; i < length; ++i) {
        const std::uint16_t format = l.formatAt(at + i, cursor);
        formats[i] = map ? map[format] : format;
    }
    w.end(text.mid(at, length), formats);
}

struct Scratch {
    RunLayout layout;
    std::string head;
    std::string body;
};

Scratch& scratch()
{
    return ModuleState::current().part<Scratch>();
}

} // namespace

QString RtfWriter::write(const RichTextBox& box)
{
    const QString& text = box.Text();
    std::string body;
    BodyWriter w(box.defaultFontName(), box.defaultFontSize(), box.formats());
    w.setOutput(&body);
    for (const Paragraph& p : box.paragraphs()) {
        w.paragraph(p.format);
        const qsizetype end = p.start + p.length;
        const qsizetype ending = endLength(text, p.start, end);
        for (qsizetype i = p.start; i < end - ending;) {
            const std::uint16_t format = box.formatIndexAt(i);
            qsizetype j = i + 1;
            while (j < end - ending && box.formatIndexAt(j) == format)
                ++j;
            w.text(QStringView(text).mid(i, j - i), format);
            i = j;
        }
        if (ending > 0) {
            const std::uint16_t formats[2] = {box.formatIndexAt(end - ending), box.formatIndexAt(end - 1)};
            w.end(QStringView(text).mid(end - ending, ending), formats);
        }
    }
    std::string document;
    w.writeHead(document);
    document += body;
    document += '}';
    return QString::fromLatin1(document.data(), qsizetype(document.size()));
}

bool RtfWriter::appendRunText(QString& out, const RunText& report)
{
    Scratch& s = scratch();
    RunLayout& l = s.layout;
    if (!l.build(report))
        return false;
    s.body.clear();
    BodyWriter w(report.defaultFont, report.defaultSize, l.formats);
    w.setOutput(&s.body);
    std::size_t cursor = 0;
    for (std::size_t p = 0; p < l.paragraphStarts.size(); ++p) {
        w.paragraph(l.paragraphFormats[p]);
        const qsizetype start = l.paragraphStarts[p];
        const qsizetype end = l.paragraphEnd(p);
        const qsizetype ending = endLength(report.text, start, end);
        writeText(w, l, report.text, start, end - ending, nullptr, cursor);
        if (ending > 0)
            writeEnd(w, l, report.text, end - ending, ending, nullptr, cursor);
    }
    s.head.clear();
    w.writeHead(s.head);
    out.append(QLatin1StringView(s.head.data(), qsizetype(s.head.size())));
    out.append(QLatin1StringView(s.body.data(), qsizetype(s.body.size())));
    out.append(QLatin1Char('}'));
    return true;
}

// The joined document is the box mergeRtfDocuments fills with what the reader makes of each
// report's RTF: the same text and paragraph formats, character formats as the RTF states them
// (the default font or size of the joined document stored as the default), a form feed in the
// default format before each report after the first, in what was the previous report's last
// paragraph and now takes the format of the next report's first.
struct JoinedRtfWriter::Private {
    Private(const QString& font, float size) : defaultFont(font), defaultSize(size), writer(font, size, formats)
    {
        writer.setOutput(&scratch);
    }

    // A report's format as its RTF reads back with the joined document's defaults.
    CharFormat asRead(const CharFormat& f, const RunText& r) const
    {
        CharFormat read = f;
        const QString& font = f.font.isEmpty() ? r.defaultFont : f.font;
        read.font = font == defaultFont ? QString() : font;
        const float size = float(std::lround((f.size == 0 ? r.defaultSize : f.size) * 2)) / 2;
        read.size = size == defaultSize ? 0 : size;
        read.color = f.color == -1 ? -1 : f.color & 0xFFFFFF;
        return read;
    }

    std::uint16_t intern(const CharFormat& f)
    {
        const auto found = index.constFind(f);
        if (found != index.cend())
            return *found;
        if (formats.size() >= RichTextBox::MaxFormats)
            throw RuntimeError(Err::OutOfMemory, QStringLiteral("Too many different character formats"));
        formats.push_back(f);
        index.insert(f, std::uint16_t(formats.size() - 1));
        return std::uint16_t(formats.size() - 1);
    }

    // The piece of the open paragraph, to write once its format is known.
    void keep(QStringView text, std::uint16_t format) { open.emplace_back(text.toString(), format); }

    void writeOpen()
    {
        for (const auto& [text, format] : open)
            writer.text(text, format);
        open.clear();
    }

    const QString defaultFont;
    const float defaultSize;
    std::vector<CharFormat> formats{CharFormat{}};
    QHash<CharFormat, std::uint16_t> index{{CharFormat{}, 0}};
    BodyWriter writer;
    RunLayout layout;
    std::vector<std::uint16_t> map;
    std::string scratch;
    QByteArray head;
    QByteArray body;
    bool first = true;
    bool finished = false;
    // The last paragraph so far: its text waits for the format of the paragraph it ends up in.
    std::vector<std::pair<QString, std::uint16_t>> open;
    ParagraphFormat openFormat;
};

JoinedRtfWriter::JoinedRtfWriter(const QString& defaultFont, float defaultSize)
    : d(std::make_unique<Private>(defaultFont, defaultSize))
{
}

JoinedRtfWriter::~JoinedRtfWriter() = default;

bool JoinedRtfWriter::add(const RunText& report)
{
    RunLayout& l = d->layout;
    if (d->finished || !l.build(report))
        return false;
    for (const CharFormat& f : l.formats)
        if (std::lround((f.size == 0 ? report.defaultSize : f.size) * 2) < 1)
            return false; // a size RTF cannot state
    d->map.clear();
    for (const CharFormat& f : l.formats)
        d->map.push_back(d->intern(d->asRead(f, report)));
    const std::uint16_t* map = d->map.data();

    d->scratch.clear();
    BodyWriter& w = d->writer;
    std::size_t cursor = 0;
    const std::size_t last = l.paragraphStarts.size() - 1;
    for (std::size_t p = 0; p <= last; ++p) {
        const qsizetype start = l.paragraphStarts[p];
        const qsizetype end = l.paragraphEnd(p);
        if (p == 0 && !d->first)
            d->open.emplace_back(QString(QChar(0x0C)), 0);
        if (p == last) {
            // No line break ends it: it stays open for the next report, or for the end.
            for (qsizetype i = start; i < end;) {
                const std::uint16_t format = l.formatAt(i, cursor);
                const qsizetype to = std::min(end, l.formatEnd(cursor));
                d->keep(report.text.mid(i, to - i), map[format]);
                i = to;
            }
            d->openFormat = l.paragraphFormats[p];
            break;
        }
        w.paragraph(l.paragraphFormats[p]);
        d->writeOpen();
        const qsizetype ending = endLength(report.text, start, end);
        writeText(w, l, report.text, start, end - ending, map, cursor);
        writeEnd(w, l, report.text, end - ending, ending, map, cursor);
    }
    d->first = false;
    d->body.append(d->scratch.data(), qsizetype(d->scratch.size()));
    return true;
}

void JoinedRtfWriter::finish()
{
    if (d->finished)
        return;
    d->finished = true;
    d->scratch.clear();
    d->writer.paragraph(d->openFormat);
    d->writeOpen();
    d->scratch += '}';
    d->body.append(d->scratch.data(), qsizetype(d->scratch.size()));
    std::string head;
    d->writer.writeHead(head);
    d->head = QByteArray(head.data(), qsizetype(head.size()));
}

const QByteArray& JoinedRtfWriter::head() const
{
    return d->head;
}

const QByteArray& JoinedRtfWriter::body() const
{
    return d->body;
}

qsizetype JoinedRtfWriter::size() const
{
    return d->body.size();
}

qsizetype JoinedRtfWriter::capacity() const
{
    return d->body.capacity();
}

void JoinedRtfWriter::reserve(qsizetype size)
{
    d->body.reserve(size);
}

} // namespace vxRecInfo
