// SPDX-License-Identifier: MIT
#include "RichTextBox.h"

#include "RtfReader.h"
#include "RtfWriter.h"

#include <algorithm>

namespace vxRecInfo {

namespace {

[[noreturn]] void invalidValue(const char* what)
{
    throw RuntimeError(Err::InvalidPropertyValue,
                       QStringLiteral("Invalid property value: %1").arg(QString::fromLatin1(what)));
}

} // namespace

std::size_t qHash(const CharFormat& f, std::size_t seed) noexcept
{
    return qHashMulti(seed, f.font, f.size, f.color, f.bold, f.italic, f.strike, f.underline);
}

RichTextBox::RichTextBox(QObject* parent) : QObject(parent)
{
    clearFormats();
    splitParagraphs();
}

void RichTextBox::setText(const QString& text)
{
    m_text = text;
    clearFormats();
    m_formatOf.assign(std::size_t(text.size()), 0);
    splitParagraphs();
    m_paragraphFormats.fill(ParagraphFormat{});
    m_selStart = 0;
    m_selLength = 0;
    Q_EMIT changed();
}

QString RichTextBox::TextRTF() const
{
    return RtfWriter::write(*this);
}

void RichTextBox::setTextRTF(const QString& rtf)
{
    if (!rtf.startsWith(QLatin1String("{\\rtf"))) {
        setText(rtf);
        return;
    }
    RtfDocument document;
    QString error;
    if (!RtfReader::read(rtf, m_defaultFontName, m_defaultFontSize, &document, &error))
        throw RuntimeError(Err::InvalidPropertyValue, QStringLiteral("Invalid property value: ") + error);
    setContent(document.text, document.formats, document.paragraphs);
}

void RichTextBox::setContent(const QString& text, const std::vector<CharFormat>& formats,
                             const QList<ParagraphFormat>& paragraphFormats)
{
    std::vector<CharFormat> keptFormats = std::move(m_formats);
    QHash<CharFormat, std::uint16_t> keptIndex = std::move(m_formatIndex);
    clearFormats();
    std::vector<std::uint16_t> formatOf(std::size_t(text.size()), 0);
    try {
        for (std::size_t i = 0; i < formatOf.size() && i < formats.size(); ++i)
            formatOf[i] = i > 0 && formats[i] == formats[i - 1] ? formatOf[i - 1] : intern(formats[i]);
    } catch (...) {
        m_formats = std::move(keptFormats);
        m_formatIndex = std::move(keptIndex);
        throw;
    }
    m_text = text;
    m_formatOf = std::move(formatOf);
    splitParagraphs();
    for (qsizetype p = 0; p < m_paragraphFormats.size(); ++p)
        m_paragraphFormats[p] = p < paragraphFormats.size() ? paragraphFormats[p] : ParagraphFormat{};
    m_selStart = 0;
    m_selLength = 0;
    Q_EMIT changed();
}

void RichTextBox::setSelStart(std::int32_t start)
{
    if (start < 0)
        invalidValue("SelStart");
    m_selStart = std::min<qsizetype>(start, m_text.size());
    m_selLength = 0;
}

void RichTextBox::setSelLength(std::int32_t length)
{
    if (length < 0)
        invalidValue("SelLength");
    m_selLength = std::min<qsizetype>(length, m_text.size() - m_selStart);
}

void RichTextBox::clearFormats()
{
    m_formats.assign(1, CharFormat{});
    m_formatIndex.clear();
    m_formatIndex.insert(CharFormat{}, 0);
}

std::uint16_t RichTextBox::intern(const CharFormat& format)
{
    // A report uses a handful of formats: comparing them is cheaper than hashing.
    if (m_formats.size() <= 8) {
        for (std::size_t i = 0; i < m_formats.size(); ++i)
            if (m_formats[i] == format)
                return std::uint16_t(i);
    } else if (const auto found = m_formatIndex.constFind(format); found != m_formatIndex.cend()) {
        return *found;
    }
    if (m_formats.size() >= MaxFormats)
        throw RuntimeError(Err::OutOfMemory, QStringLiteral("Too many different character formats"));
    const auto index = std::uint16_t(m_formats.size());
    m_formats.push_back(format);
    m_formatIndex.insert(format, index);
    return index;
}

template <class Change>
void RichTextBox::formatSelection(Change change)
{
    if (m_selLength == 0)
        return;
    // Neighbouring characters mostly share a format: remember the last translation.
    std::uint16_t lastFrom = 0xFFFF;
    std::uint16_t lastTo = 0;
    for (qsizetype i = m_selStart; i < m_selStart + m_selLength; ++i) {
        std::uint16_t& index = m_formatOf[std::size_t(i)];
        if (index != lastFrom) {
            lastFrom = index;
            CharFormat format = m_formats[index];
            change(format);
            lastTo = intern(format);
        }
        index = lastTo;
    }
    Q_EMIT changed();
}

template <class Get>
Variant RichTextBox::uniform(Get get) const
{
    const qsizetype from = m_selStart;
    // An empty selection answers for the character before the caret, as the caret types on.
    const qsizetype begin = m_selLength == 0 ? std::max<qsizetype>(from - 1, 0) : from;
    const qsizetype end = m_selLength == 0 ? std::min<qsizetype>(begin + 1, m_text.size()) : from + m_selLength;
    if (begin >= end)
        return get(m_formats[0]);
    const Variant first = get(m_formats[m_formatOf[std::size_t(begin)]]);
    for (qsizetype i = begin + 1; i < end; ++i)
        if (!(get(m_formats[m_formatOf[std::size_t(i)]]) == first))
            return Variant::null();
    return first;
}

Variant RichTextBox::SelFontName() const
{
    return uniform([this](const CharFormat& f) {
        return Variant(f.font.isEmpty() ? m_defaultFontName : f.font);
    });
}

void RichTextBox::setSelFontName(const QString& name)
{
    if (name.size() > MaxFontNameLength)
        invalidValue("SelFontName");
    formatSelection([&](CharFormat& f) { f.font = name == m_defaultFontName ? QString() : name; });
}

Variant RichTextBox::SelColor() const
{
    return uniform([](const CharFormat& f) { return Variant(f.color == -1 ? 0 : f.color); });
}

void RichTextBox::setSelColor(std::int32_t color)
{
    formatSelection([&](CharFormat& f) { f.color = color; });
}

Variant RichTextBox::SelFontSize() const
{
    return uniform([this](const CharFormat& f) { return Variant(f.size == 0 ? m_defaultFontSize : f.size); });
}

void RichTextBox::setSelFontSize(float points)
{
    if (!(points > 0 && points <= MaxFontSize))
        invalidValue("SelFontSize");
    formatSelection([&](CharFormat& f) { f.size = points; });
}

Variant RichTextBox::SelBold() const
{
    return uniform([](const CharFormat& f) { return Variant(f.bold); });
}

void RichTextBox::setSelBold(bool on)
{
    formatSelection([&](CharFormat& f) { f.bold = on; });
}

Variant RichTextBox::SelItalic() const
{
    return uniform([](const CharFormat& f) { return Variant(f.italic); });
}

void RichTextBox::setSelItalic(bool on)
{
    formatSelection([&](CharFormat& f) { f.italic = on; });
}

Variant RichTextBox::SelStrikeThru() const
{
    return uniform([](const CharFormat& f) { return Variant(f.strike); });
}

void RichTextBox::setSelStrikeThru(bool on)
{
    formatSelection([&](CharFormat& f) { f.strike = on; });
}

Variant RichTextBox::SelUnderline() const
{
    return uniform([](const CharFormat& f) { return Variant(f.underline); });
}

void RichTextBox::setSelUnderline(bool on)
{
    formatSelection([&](CharFormat& f) { f.underline = on; });
}

int RichTextBox::paragraphOf(qsizetype position) const
{
    const auto it = std::upper_bound(m_paragraphStarts.begin(), m_paragraphStarts.end(), position);
    return int(it - m_paragraphStarts.begin()) - 1;
}

std::pair<int, int> RichTextBox::selectedParagraphs() const
{
    const int first = paragraphOf(m_selStart);
    const int last = m_selLength == 0 ? first : paragraphOf(m_selStart + m_selLength - 1);
    return {first, last};
}

Variant RichTextBox::SelAlignment() const
{
    const auto [first, last] = selectedParagraphs();
    const std::int16_t alignment = m_paragraphFormats[first].alignment;
    for (int p = first + 1; p <= last; ++p)
        if (m_paragraphFormats[p].alignment != alignment)
            return Variant::null();
    return alignment;
}

void RichTextBox::setSelAlignment(std::int16_t alignment)
{
    if (alignment < Alignment::Left || alignment > Alignment::Center)
        invalidValue("SelAlignment");
    const auto [first, last] = selectedParagraphs();
    for (int p = first; p <= last; ++p)
        m_paragraphFormats[p].alignment = alignment;
    Q_EMIT changed();
}

std::int16_t RichTextBox::SelTabCount() const
{
    return std::int16_t(m_paragraphFormats[selectedParagraphs().first].tabs.size());
}

void RichTextBox::setSelTabCount(std::int16_t count)
{
    if (count < 0 || count > MaxTabs)
        invalidValue("SelTabCount");
    const auto [first, last] = selectedParagraphs();
    for (int p = first; p <= last; ++p)
        m_paragraphFormats[p].tabs.resize(count);
    Q_EMIT changed();
}

std::int32_t RichTextBox::SelTabs(std::int16_t index) const
{
    const QList<std::int32_t>& tabs = m_paragraphFormats[selectedParagraphs().first].tabs;
    if (index < 0 || index >= tabs.size())
        invalidValue("SelTabs");
    return tabs[index];
}

void RichTextBox::setSelTabs(std::int16_t index, std::int32_t twips)
{
    if (twips < 0)
        invalidValue("SelTabs");
    const auto [first, last] = selectedParagraphs();
    for (int p = first; p <= last; ++p) {
        if (index < 0 || index >= m_paragraphFormats[p].tabs.size())
            invalidValue("SelTabs");
        m_paragraphFormats[p].tabs[index] = twips;
    }
    Q_EMIT changed();
}

void RichTextBox::setDefaultFont(const QString& name, float points)
{
    if (name.isEmpty() || name.size() > MaxFontNameLength || !(points > 0 && points <= MaxFontSize))
        invalidValue("Font");
    m_defaultFontName = name;
    m_defaultFontSize = points;
    Q_EMIT changed();
}

void RichTextBox::setTargetDevice(QPaintDevice* device, std::int32_t lineWidthTwips)
{
    m_targetDevice = device;
    m_targetLineWidth = lineWidthTwips;
    Q_EMIT changed();
}

const CharFormat& RichTextBox::formatAt(qsizetype position) const
{
    return m_formats[m_formatOf.at(std::size_t(position))];
}

QList<FormatRange> RichTextBox::formatRanges(qsizetype start, qsizetype length) const
{
    QList<FormatRange> ranges;
    const qsizetype end = std::min(start + length, m_text.size());
    qsizetype i = start;
    while (i < end) {
        const std::uint16_t index = m_formatOf[std::size_t(i)];
        qsizetype j = i + 1;
        while (j < end && m_formatOf[std::size_t(j)] == index)
            ++j;
        ranges.append({i, j - i, m_formats[index]});
        i = j;
    }
    return ranges;
}

QList<Paragraph> RichTextBox::paragraphs() const
{
    QList<Paragraph> list;
    for (std::size_t p = 0; p < m_paragraphStarts.size(); ++p) {
        const qsizetype start = m_paragraphStarts[p];
        const qsizetype end = p + 1 < m_paragraphStarts.size() ? m_paragraphStarts[p + 1] : m_text.size();
        list.append({start, end - start, m_paragraphFormats[qsizetype(p)]});
    }
    return list;
}

void RichTextBox::splitParagraphs()
{
    m_paragraphStarts.assign(1, 0);
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c == QLatin1Char('\r') && i + 1 < m_text.size() && m_text[i + 1] == QLatin1Char('\n'))
            ++i;
        else if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        m_paragraphStarts.push_back(i + 1);
    }
    m_paragraphFormats.resize(qsizetype(m_paragraphStarts.size()));
}

} // namespace vxRecInfo
