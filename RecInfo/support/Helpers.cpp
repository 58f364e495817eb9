// SPDX-License-Identifier: MIT
#include "Helpers.h"

#include "automation/BasicText.h"

#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"

#include <cmath>
#include <limits>

namespace vxRecInfo {

namespace {

// value × steps rounded half to even as a Long, then divided again, all in single precision.
float roundToSteps(float value, float steps)
{
    const float scaled = value * steps;
    const float rounded = std::nearbyint(scaled);
    if (!std::isfinite(rounded) || rounded < -2147483648.0f || rounded >= 2147483648.0f)
        throw RuntimeError(Err::Overflow);
    return static_cast<float>(static_cast<std::int32_t>(rounded)) / steps;
}

} // namespace

QString FormatDateTimeText(Date value)
{
    QString text;
    AppendDateTimeText(text, value);
    return text;
}

void AppendDateTimeText(QString& out, Date value)
{
    // Reports write many: the apartment keeps the patterns.
    ModuleState::current().part<DatePatterns>().appendDateAndTime(out, value);
}

float RoundToResolution(float value, const Variant&, std::int32_t kind)
{
    switch (kind) {
    case 1:
        switch (settingTScale()) {
        case 0: return roundToSteps(value, 5.0f);
        case 1:
        case 2: return roundToSteps(value, 10.0f);
        default: return 0.0f;
        }
    case 2: return roundToSteps(value, 10.0f);
    default: return 0.0f;
    }
}

QString UnitSymbol(std::int16_t scale, std::int32_t kind)
{
    if (kind == 2)
        return QStringLiteral("%");
    if (kind != 1)
        return QString();
    switch (scale) {
    case 0: return QStringLiteral("F");
    case 1: return QStringLiteral("C");
    case 2: return QStringLiteral("K");
    default: return QString();
    }
}

} // namespace vxRecInfo
