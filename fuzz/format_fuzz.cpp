// SPDX-License-Identifier: MIT
// The classic Format of numbers (pattern x value, as Double and as Single) and the date and
// number texts read back, in the locales the string table speaks: never out of bounds, never a
// hang, never an exception other than a run-time error.

#include "FuzzSupport.h"

#include "automation/RuntimeError.h"
#include "support/BasicFormat.h"
#include "automation/BasicText.h"

#include <QLocale>

#include <cmath>
#include <limits>

using namespace vxRecInfo;
using vxRecInfo::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vxRecInfo::fuzz::initialise();
    FuzzInput in(data, size);
    static const QLocale locales[] = {QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("fr_CA")),
                                      QLocale(QStringLiteral("ja_JP")), QLocale(QStringLiteral("zh_CN")),
                                      QLocale(QStringLiteral("es_MX")), QLocale(QStringLiteral("pt_PT"))};
    QLocale::setDefault(locales[in.pick(6)]);
    const double value = in.raw<double>();
    const std::size_t used = 9;
    const QString pattern = size > used ? QString::fromUtf8(reinterpret_cast<const char*>(data + used), qsizetype(size - used))
                                        : QString();
    basicFormat(value, pattern);
    if (!std::isfinite(value) || std::fabs(value) <= std::numeric_limits<float>::max())
        basicFormat(static_cast<float>(value), pattern);
    basicNumberText(value, 15);
    double number = 0;
    parseBasicNumber(pattern, &number);
    basicVal(pattern);
    try {
        Date date;
        if (parseBasicDate(pattern, &date))
            generalDateText(date);
    } catch (const RuntimeError&) {
    }
    if (Date::inRange(value))
        generalDateText(Date(value));
    return 0;
}
