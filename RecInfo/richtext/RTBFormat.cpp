#include "RTBFormat.h"

#include "RichTextBox.h"

#include "automation/RuntimeError.h"
#include "automation/Variant.h"

#include <limits>

namespace vxRecInfo::RTBFormat {

namespace {

RunLists& lists()
{
    thread_local RunLists state;
    return state;
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

template <class Run, class Value>
QString listing(const std::vector<Run>& list, const char* token, Value value)
{
    QString out;
    for (std::size_t i = 1; i < list.size(); ++i) {
        const Run& run = list[i];
        out += QLatin1String(token) + QLatin1Char('\t') + QString::number(run.Start) + QLatin1Char('\t')
            + QString::number(run.Length) + QLatin1Char('\t') + value(run) + QStringLiteral("\r\n");
    }
    return out;
}

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

void ClearRTBFormat()
{
    lists() = RunLists{};
}

void raiseWrapped(const char* procedure)
{
    const QString source = QStringLiteral("RTBFormat.") + QString::fromLatin1(procedure);
    const ErrorInfo caught = currentExceptionInfo();
    throw RuntimeError(hresultFrom(0x80040000u), source + QStringLiteral("\r\n") + caught.description, source);
}

void AddRTBFormatInfo(QString& report, const QString& piece, const QString& fontName, std::int32_t color,
                      std::int16_t size, std::int16_t style, std::int32_t alignment)
{
    try {
        const std::int16_t start = toInteger(report.size());
        const std::int16_t length = toInteger(piece.size());
        report += piece;
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
    } catch (...) {
        raiseWrapped("AddRTBFormatInfo");
    }
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

QString GetRTBFontList()
{
    return listing(lists().RTBFontRuns, "{RTBFont}", [](const RTBFontRun& r) { return r.FontName; });
}

QString GetRTBColorList()
{
    return listing(lists().RTBColorRuns, "{RTBColor}", [](const RTBColorRun& r) { return QString::number(r.Color); });
}

QString GetRTBSizeList()
{
    return listing(lists().RTBSizeRuns, "{RTBSize}", [](const RTBSizeRun& r) { return QString::number(r.Size); });
}

QString GetRTBFStyleList()
{
    return listing(lists().RTBFStyleRuns, "{RTBFStyle}", [](const RTBFStyleRun& r) { return QString::number(r.Style); });
}

QString GetRTBFAlignList()
{
    return listing(lists().RTBFAlignRuns, "{RTBFAlign}",
                   [](const RTBFAlignRun& r) { return QString::number(r.Alignment); });
}

} // namespace vxRecInfo::RTBFormat
