// SPDX-License-Identifier: MIT
#include "DefaultHostClasses.h"
#include "component/HostObjects.h"

#include <cmath>

namespace vxRecInfo {

namespace {

enum Member : DispId { Seconds2Units = 1, ElaspedTime2Unit };

const TypeInfo& unitConverterType()
{
    static const TypeInfo info(
        QStringLiteral("_UnitConverter"), HostClasses::UnitConverterIid,
        {
            propertyGet(1, QStringLiteral("Seconds2Units"), Seconds2Units, VarType::String,
                        {byRef(QStringLiteral("seconds"), VarType::Double)}),
            propertyGet(2, QStringLiteral("ElaspedTime2Unit"), ElaspedTime2Unit, VarType::String,
                        {byVal(QStringLiteral("days"), VarType::Double),
                         optionalByVal(QStringLiteral("converted"), VarType::Boolean, false)}),
        });
    return info;
}

constexpr double SecondsPerDay = 86400.0;

// Whole seconds, half to even; error 6 past what a duration text can hold.
long long wholeSeconds(double seconds)
{
    const double rounded = std::nearbyint(seconds);
    if (!std::isfinite(rounded) || std::fabs(rounded) > 9.2e15)
        throw RuntimeError(Err::Overflow);
    return static_cast<long long>(rounded);
}

// "1 Day", "2 Days" in the user's language; Chinese and Japanese put the counter right after
// the number.
QString daysText(long long days, QLocale::Language language)
{
    const bool one = days == 1;
    switch (language) {
    case QLocale::Japanese: return QStringLiteral("%1日").arg(days);
    case QLocale::Chinese: return QStringLiteral("%1天").arg(days);
    case QLocale::Spanish: return one ? QStringLiteral("1 día") : QStringLiteral("%1 días").arg(days);
    case QLocale::French: return one ? QStringLiteral("1 jour") : QStringLiteral("%1 jours").arg(days);
    case QLocale::Portuguese: return one ? QStringLiteral("1 dia") : QStringLiteral("%1 dias").arg(days);
    default: return one ? QStringLiteral("1 Day") : QStringLiteral("%1 Days").arg(days);
    }
}

QString clockText(long long hours, long long minutes, long long seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

class DefaultUnitConverter final : public DispatchObject<IDispatch>, public IStableAnswers
{
public:
    const TypeInfo& GetTypeInfo() const override { return unitConverterType(); }
    // Texts of the arguments in the user's language, which is the settings' to keep.
    std::uint64_t answersVersion() const override { return 1; }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        switch (member.dispId) {
        case Seconds2Units: return durationText(args[0].toDouble(), userLanguage().language());
        case ElaspedTime2Unit: {
            const double seconds = args[0].toDouble() * SecondsPerDay;
            return args[1].toBool() ? durationText(seconds, userLanguage().language()) : hoursText(seconds);
        }
        default: throw RuntimeError(Err::ObjectDoesNotSupportMember);
        }
    }
};

} // namespace

QString durationText(double seconds, QLocale::Language language)
{
    const long long total = wholeSeconds(seconds);
    const long long s = std::llabs(total);
    const long long days = s / 86400;
    QString text = clockText(s % 86400 / 3600, s % 3600 / 60, s % 60);
    if (days > 0)
        text = daysText(days, language) + QLatin1Char(' ') + text;
    return total < 0 ? QLatin1Char('-') + text : text;
}

QString hoursText(double seconds)
{
    const long long total = wholeSeconds(seconds);
    const long long s = std::llabs(total);
    const QString text = clockText(s / 3600, s % 3600 / 60, s % 60);
    return total < 0 ? QLatin1Char('-') + text : text;
}

ComPtr<IUnknown> createDefaultUnitConverter()
{
    return ComPtr<IUnknown>(makeObject<DefaultUnitConverter>());
}

} // namespace vxRecInfo
