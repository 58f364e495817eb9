// SPDX-License-Identifier: MIT
#pragma once
// Format runs: the report is built as one plain string; every styled piece is appended with
// AddRTBFormatInfo, which records beside it one run per attribute the piece sets. When the
// report is complete, FinishRTBFormat puts the text into a rich-text box and applies the runs
// through its selection. The runs can also be listed as print-document lines.
//
// The five run lists are module state of the calling thread, shared by every report built
// there; element 0 of each holds no run.

#include <QString>
#include <QStringBuilder>

#include <cstdint>
#include <vector>

namespace vxRecInfo {

class RichTextBox;

struct RTBFontRun {
    std::int16_t Start = 0;
    std::int16_t Length = 0;
    QString FontName;
};
struct RTBColorRun {
    std::int16_t Start = 0;
    std::int16_t Length = 0;
    std::int32_t Color = 0;
};
struct RTBSizeRun {
    std::int16_t Start = 0;
    std::int16_t Length = 0;
    std::int16_t Size = 0;
};
struct RTBFStyleRun {
    std::int16_t Start = 0;
    std::int16_t Length = 0;
    std::int16_t Style = 0;
};
struct RTBFAlignRun {
    std::int16_t Start = 0;
    std::int16_t Length = 0;
    std::int16_t Alignment = 0;
};

// Style bits.
namespace FontStyle {
inline constexpr std::int16_t Bold = 1;
inline constexpr std::int16_t Italic = 2;
inline constexpr std::int16_t StrikeThru = 4;
inline constexpr std::int16_t Underline = 8;
} // namespace FontStyle

struct RunLists {
    std::vector<RTBFontRun> RTBFontRuns{1};
    std::vector<RTBColorRun> RTBColorRuns{1};
    std::vector<RTBSizeRun> RTBSizeRuns{1};
    std::vector<RTBFStyleRun> RTBFStyleRuns{1};
    std::vector<RTBFAlignRun> RTBFAlignRuns{1};
};

namespace RTBFormat {

// The apartment's run lists.
const RunLists& runLists();

// All five lists back to element 0 alone.
void ClearRTBFormat();
// The runs of a report made on another thread, as this thread's.
void RestoreRTBFormat(RunLists runs);

// Appends piece to report and records a run for every attribute it sets: font other than "",
// colour other than -1, size, style and alignment above 0. Every error is raised again as
// &H80040000 with source "RTBFormat.AddRTBFormatInfo" (the 16-bit limits: a report longer
// than 32767 characters before the append, a longer piece, more than 32767 runs in a list).
void AddRTBFormatInfo(QString& report, const QString& piece, const QString& fontName, std::int32_t color,
                      std::int16_t size, std::int16_t style, std::int32_t alignment);
// The same for a piece still to be joined (a % b % …): it is joined straight into report.
template <class A, class B>
void AddRTBFormatInfo(QString& report, const QStringBuilder<A, B>& piece, const QString& fontName,
                      std::int32_t color, std::int16_t size, std::int16_t style, std::int32_t alignment);

// Puts report into box (all earlier formats gone) and applies the runs, list by list, through
// the box's selection; then the caret goes to the start. Errors as above, with source
// "RTBFormat.FinishRTBFormat"; what was applied before an error stays.
void FinishRTBFormat(RichTextBox& box, const QString& report);

// Whether FinishRTBFormat puts these runs into a box without an error: no negative position
// or length, font names, sizes and alignments a box takes.
bool BoxAccepts(const RunLists& runs);

// One line per run: token, tab, start, tab, length, tab, value, CR LF.
QString GetRTBFontList();
QString GetRTBColorList();
QString GetRTBSizeList();
QString GetRTBFStyleList();
QString GetRTBFAlignList();
// The five listings in that order (font, colour, size, style, alignment) appended to out, each
// followed by after.
void AppendRTBLists(QString& out, QStringView after);

// Raises the error being handled again as the module's own: number &H80040000, source
// "RTBFormat." + procedure, description the source, CR LF and the caught description.
[[noreturn]] void raiseWrapped(const char* procedure);

namespace detail {
// A run's start or length: error 6 past the 16-bit limit.
std::int16_t runInteger(qsizetype value);
// The runs of a piece appended at start.
void addRuns(std::int16_t start, std::int16_t length, const QString& fontName, std::int32_t color,
             std::int16_t size, std::int16_t style, std::int32_t alignment);
} // namespace detail

namespace detail {
// AddRTBFormatInfo for a QString or a piece still to be joined.
template <class Piece>
void appendWithRuns(QString& report, const Piece& piece, const QString& fontName, std::int32_t color,
                    std::int16_t size, std::int16_t style, std::int32_t alignment)
{
    try {
        const std::int16_t start = runInteger(report.size());
        const std::int16_t length = runInteger(QConcatenable<Piece>::size(piece));
        report += piece;
        addRuns(start, length, fontName, color, size, style, alignment);
    } catch (...) {
        raiseWrapped("AddRTBFormatInfo");
    }
}
} // namespace detail

template <class A, class B>
void AddRTBFormatInfo(QString& report, const QStringBuilder<A, B>& piece, const QString& fontName,
                      std::int32_t color, std::int16_t size, std::int16_t style, std::int32_t alignment)
{
    detail::appendWithRuns(report, piece, fontName, color, size, style, alignment);
}

} // namespace RTBFormat

} // namespace vxRecInfo
