// SPDX-License-Identifier: MIT
#include "RTBFormat.h"

#include "RichTextBox.h"

#include "automation/RuntimeError.h"
#include "component/ModuleState.h"
#include "automation/Variant.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace vxRecInfo::RTBFormat {

namespace {

RunLists& lists()
{
    return ModuleState::current().part<RunLists>();
}

std::int16_t toInteger(qsizetype value)
{
    if (value > std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    return std::int16_t(value);
}

// ReDim Preserve list(UBound + 1): the upper bound is a 16-bit number too.
template <class Run>
void append(std::vector<Run>& list, Run run)
{
    toInteger(qsizetype(list.size()));
    list.push_back(std::move(run));
}

// One line per run: token, tab, start, tab, length, tab, value, CR LF; the numbers and the
// line's ASCII put together first, so that the line is one append (two around a font name).
template <class Run, class Value>
void appendListing(QString& out, const std::vector<Run>& list, QLatin1StringView token, Value value)
{
    char line[64];
    for (std::size_t i = 1; i < list.size(); ++i) {
        const Run& run = list[i];
        char* p = std::copy(token.begin(), token.end(), line);
        *p++ = '\t';
        p = std::to_chars(p, line + sizeof line, run.Start).ptr;
        *p++ = '\t';
        p = std::to_chars(p, line + sizeof line, run.Length).ptr;
        *p++ = '\t';
        value(out, line, p, run);
    }
}

template <class Run, class Value>
QString listing(const std::vector<Run>& list, QLatin1StringView token, Value value)
{
    QString out;
    appendListing(out, list, token, value);
    return out;
}

// The rest of a line begun in line[0, p): the value and CR LF.
void appendFont(QString& out, const char* line, char* p, const RTBFontRun& r)
{
    out.append(QLatin1StringView(line, p - line));
    out.append(r.FontName);
    out.append(QLatin1StringView("\r\n"));
}
void appendNumberLine(QString& out, const char* line, char* p, std::int32_t value)
{
    char* const end = std::to_chars(p, p + 12, value).ptr;
    end[0] = '\r';
    end[1] = '\n';
    out.append(QLatin1StringView(line, end + 2 - line));
}
void appendColor(QString& out, const char* line, char* p, const RTBColorRun& r)
{
    appendNumberLine(out, line, p, r.Color);
}
void appendSize(QString& out, const char* line, char* p, const RTBSizeRun& r)
{
    appendNumberLine(out, line, p, r.Size);
}
void appendStyle(QString& out, const char* line, char* p, const RTBFStyleRun& r)
{
    appendNumberLine(out, line, p, r.Style);
}
void appendAlignment(QString& out, const char* line, char* p, const RTBFAlignRun& r)
{
    appendNumberLine(out, line, p, r.Alignment);
}

const QLatin1StringView FontToken("{RTBFont}");
const QLatin1StringView ColorToken("{RTBColor}");
const QLatin1StringView SizeToken("{RTBSize}");
const QLatin1StringView StyleToken("{RTBFStyle}");
const QLatin1StringView AlignToken("{RTBFAlign}");

template <class Run, class Apply>
void applyRuns(RichTextBox& box, const std::vector<Run>& list, Apply apply)
{
    for (std::size_t i = 1; i < list.size(); ++i) {
        box.setSelStart(list[i].Start);
        box.setSelLength(list[i].Length);
        apply(list[i]);
    }
}

} // namespace

const RunLists& runLists()
{
    return lists();
}

void RestoreRTBFormat(RunLists runs)
{
    lists() = std::move(runs);
}

void ClearRTBFormat()
{
    // Element 0 holds no run and stays; the lists keep their room for the next report.
    RunLists& l = lists();
    l.RTBFontRuns.resize(1);
    l.RTBColorRuns.resize(1);
    l.RTBSizeRuns.resize(1);
    l.RTBFStyleRuns.resize(1);
    l.RTBFAlignRuns.resize(1);
}

void raiseWrapped(const char* procedure)
{
    const QString source = QStringLiteral("RTBFormat.") + QString::fromLatin1(procedure);
    const ErrorInfo caught = currentExceptionInfo();
    throw RuntimeError(hresultFrom(0x80040000u), source + QStringLiteral("\r\n") + caught.description, source);
}

namespace detail {

std::int16_t runInteger(qsizetype value)
{
    return toInteger(value);
}

void addRuns(std::int16_t start, std::int16_t length, const QString& fontName, std::int32_t color,
             std::int16_t size, std::int16_t style, std::int32_t alignment)
{
    RunLists& l = lists();
    if (!fontName.isEmpty())
        append(l.RTBFontRuns, RTBFontRun{start, length, fontName});
    if (color != -1)
        append(l.RTBColorRuns, RTBColorRun{start, length, color});
    if (size > 0)
        append(l.RTBSizeRuns, RTBSizeRun{start, length, size});
    if (style > 0)
        append(l.RTBFStyleRuns, RTBFStyleRun{start, length, style});
    if (alignment > 0)
        append(l.RTBFAlignRuns, RTBFAlignRun{start, length, toInteger(alignment)});
}

} // namespace detail

void AddRTBFormatInfo(QString& report, const QString& piece, const QString& fontName, std::int32_t color,
                      std::int16_t size, std::int16_t style, std::int32_t alignment)
{
    detail::appendWithRuns(report, piece, fontName, color, size, style, alignment);
}

void FinishRTBFormat(RichTextBox& box, const QString& report)
{
    try {
        box.setTextRTF(QStringLiteral("l"));
        box.setText(report);
        const RunLists& l = lists();
        applyRuns(box, l.RTBFontRuns, [&](const RTBFontRun& r) { box.setSelFontName(r.FontName); });
        applyRuns(box, l.RTBColorRuns, [&](const RTBColorRun& r) { box.setSelColor(r.Color); });
        applyRuns(box, l.RTBSizeRuns, [&](const RTBSizeRun& r) { box.setSelFontSize(r.Size); });
        applyRuns(box, l.RTBFStyleRuns, [&](const RTBFStyleRun& r) {
            if (r.Style & FontStyle::Bold)
                box.setSelBold(true);
            if (r.Style & FontStyle::Italic)
                box.setSelItalic(true);
            if (r.Style & FontStyle::StrikeThru)
                box.setSelStrikeThru(true);
            if (r.Style & FontStyle::Underline)
                box.setSelUnderline(true);
        });
        applyRuns(box, l.RTBFAlignRuns, [&](const RTBFAlignRun& r) { box.setSelAlignment(r.Alignment); });
        box.setSelStart(0);
    } catch (...) {
        raiseWrapped("FinishRTBFormat");
    }
}

bool BoxAccepts(const RunLists& runs)
{
    const auto all = [](const auto& list, auto valid) {
        for (std::size_t i = 1; i < list.size(); ++i)
            if (list[i].Start < 0 || list[i].Length < 0 || !valid(list[i]))
                return false;
        return true;
    };
    const auto any = [](const auto&) { return true; };
    return all(runs.RTBFontRuns,
               [](const RTBFontRun& r) { return r.FontName.size() <= RichTextBox::MaxFontNameLength; })
        && all(runs.RTBColorRuns, any)
        && all(runs.RTBSizeRuns, [](const RTBSizeRun& r) { return r.Size > 0 && r.Size <= RichTextBox::MaxFontSize; })
        && all(runs.RTBFStyleRuns, any)
        && all(runs.RTBFAlignRuns, [](const RTBFAlignRun& r) {
               return r.Alignment >= Alignment::Left && r.Alignment <= Alignment::Center;
           });
}

QString GetRTBFontList()
{
    return listing(lists().RTBFontRuns, FontToken, appendFont);
}

QString GetRTBColorList()
{
    return listing(lists().RTBColorRuns, ColorToken, appendColor);
}

QString GetRTBSizeList()
{
    return listing(lists().RTBSizeRuns, SizeToken, appendSize);
}

QString GetRTBFStyleList()
{
    return listing(lists().RTBFStyleRuns, StyleToken, appendStyle);
}

QString GetRTBFAlignList()
{
    return listing(lists().RTBFAlignRuns, AlignToken, appendAlignment);
}

void AppendRTBLists(QString& out, QStringView after)
{
    const RunLists& l = lists();
    appendListing(out, l.RTBFontRuns, FontToken, appendFont);
    out.append(after);
    appendListing(out, l.RTBColorRuns, ColorToken, appendColor);
    out.append(after);
    appendListing(out, l.RTBSizeRuns, SizeToken, appendSize);
    out.append(after);
    appendListing(out, l.RTBFStyleRuns, StyleToken, appendStyle);
    out.append(after);
    appendListing(out, l.RTBFAlignRuns, AlignToken, appendAlignment);
    out.append(after);
}

} // namespace vxRecInfo::RTBFormat
