// SPDX-License-Identifier: MIT
// Building a report piece by piece with format runs and applying it to the rich-text box: the
// work of every report, whose cost must grow linearly with the number of pieces.

#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"

#include <benchmark/benchmark.h>

using namespace vxRecInfo;
using namespace vxRecInfo::RTBFormat;

static void BM_BuildAndApplyReport(benchmark::State& state)
{
    const auto pieces = int(state.range(0));
    RichTextBox box;
    for (auto _ : state) {
        ClearRTBFormat();
        QString report;
        for (int i = 0; i < pieces; ++i) {
            // A row as the sections write it: a plain label and a formatted value.
            report += QStringLiteral("\tLabel:\t");
            AddRTBFormatInfo(report, QStringLiteral("12.5\r\n"), QStringLiteral("Arial"), i % 7 == 0 ? 0x800005 : -1,
                             i % 5 == 0 ? 10 : 0, i % 3 == 0 ? FontStyle::Bold : 0, i % 11 == 0 ? 2 : 0);
        }
        FinishRTBFormat(box, report);
    }
    state.SetItemsProcessed(state.iterations() * pieces); // items are pieces
}
BENCHMARK(BM_BuildAndApplyReport)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

// Many short pieces: 10,000 and 20,000 one-character pieces stay inside the 16-bit positions,
// so the whole report is applied to the box both times.
static void BM_ManyShortPieces(benchmark::State& state)
{
    const auto pieces = int(state.range(0));
    RichTextBox box;
    const QString piece = QStringLiteral("x");
    for (auto _ : state) {
        ClearRTBFormat();
        QString report;
        for (int i = 0; i < pieces; ++i)
            AddRTBFormatInfo(report, piece, {}, i % 2 == 0 ? 0x800005 : -1, 0, i % 3 == 0 ? FontStyle::Bold : 0, 0);
        FinishRTBFormat(box, report);
    }
    state.SetItemsProcessed(state.iterations() * pieces); // items are pieces
}
BENCHMARK(BM_ManyShortPieces)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

static void BM_TextRtfOfReport(benchmark::State& state)
{
    RichTextBox box;
    ClearRTBFormat();
    QString report;
    for (int i = 0; i < 1500; ++i) {
        report += QStringLiteral("\tLabel:\t");
        AddRTBFormatInfo(report, QStringLiteral("12.5\r\n"), {}, i % 7 == 0 ? 0x800005 : -1, 0,
                         i % 3 == 0 ? FontStyle::Bold : 0, 0);
    }
    FinishRTBFormat(box, report);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QString rtf = box.TextRTF();
        bytes += rtf.size();
        benchmark::DoNotOptimize(rtf.size());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_TextRtfOfReport)->Unit(benchmark::kMicrosecond);

// A report with as many distinct fonts and colours as it has characters, written as RTF and
// read back: every look-up of a format, font or colour must stay constant, not grow with the
// number already seen.
static void BM_ManyDistinctFormatsThroughRtf(benchmark::State& state)
{
    const auto formats = int(state.range(0));
    std::vector<CharFormat> perCharacter(std::size_t(formats), CharFormat{});
    for (int i = 0; i < formats; ++i) {
        perCharacter[std::size_t(i)].font = QStringLiteral("Font %1").arg(i);
        perCharacter[std::size_t(i)].color = i;
    }
    RichTextBox box;
    box.setContent(QString(formats, QLatin1Char('x')), perCharacter, {});
    RichTextBox copy;
    for (auto _ : state) {
        copy.setTextRTF(box.TextRTF());
        benchmark::DoNotOptimize(copy.Text().size());
    }
    state.SetItemsProcessed(state.iterations() * formats); // items are formats
}
BENCHMARK(BM_ManyDistinctFormatsThroughRtf)->Arg(2000)->Arg(8000)->Arg(65534)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
