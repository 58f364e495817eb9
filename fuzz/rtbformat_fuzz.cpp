// SPDX-License-Identifier: MIT
// The format-run lists and the print document: pieces of any length with any attributes
// appended up to and past the 32,767-character limit, put into a box, listed as print-document
// lines. The only failures allowed are run-time errors; a report the box took is its text.

#include "FuzzSupport.h"

#include "automation/RuntimeError.h"
#include "report/RecInfoCode.h"
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"

using namespace vxRecInfo;
using vxRecInfo::fuzz::FuzzInput;

namespace {

QString piece(FuzzInput& in)
{
    static const char16_t* const parts[] = {u"", u"a", u"\r\n", u"\t", u"\r", u"\n", u"\f", u"{", u"}", u"\\",
                                            u"\u00e9", u"\u65e5\u672c", u"\U0001F600", u"Start Time:"};
    QString s;
    for (unsigned i = in.pick(4); i > 0; --i)
        s += QString::fromUtf16(parts[in.pick(std::size(parts))]);
    if (in.pick(8) == 0 && !s.isEmpty())
        s = s.repeated(1 + qsizetype(in.raw<std::uint16_t>()) / s.size());
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vxRecInfo::fuzz::initialise();
    FuzzInput in(data, size);
    static const QString fonts[] = {QString(), QStringLiteral("Arial"), QStringLiteral("Courier New"),
                                    QStringLiteral("IPAGothic"), QStringLiteral("{\\}")};
    RTBFormat::ClearRTBFormat();
    QString report;
    RichTextBox box;
    for (int step = 0; step < 64 && !in.done(); ++step) {
        try {
            if (in.pick(16) == 0) {
                RTBFormat::FinishRTBFormat(box, report);
                fuzz::check(box.Text() == report, "rtbformat_fuzz: the box does not hold the report it took");
                continue;
            }
            const QString text = piece(in);
            const QString& font = fonts[in.pick(std::size(fonts))];
            const std::int32_t color = in.pick(2) ? -1 : in.raw<std::int32_t>();
            const std::int16_t fontSize = in.raw<std::int16_t>();
            const std::int16_t style = in.raw<std::int16_t>();
            const std::int32_t alignment = in.pick(2) ? std::int32_t(in.pick(4)) : in.raw<std::int32_t>();
            RTBFormat::AddRTBFormatInfo(report, text, font, color, fontSize, style, alignment);
        } catch (const RuntimeError&) {
        }
    }
    try {
        RTBFormat::FinishRTBFormat(box, report);
    } catch (const RuntimeError&) {
    }
    RecInfoCode::printDocument(report, QStringLiteral("SN-1"));
    return 0;
}
