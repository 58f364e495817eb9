// SPDX-License-Identifier: MIT
#include "DefaultHostClasses.h"
#include "component/HostObjects.h"
#include "component/SuiteSettings.h"

#include "automation/SafeArray.h"

#include <QSettings>
#include <QTimeZone>

#include <algorithm>
#include <limits>
#include <vector>

namespace vxRecInfo {

namespace {

enum Member : DispId { TimeArray = 1, MySystemTZPointer, TZoneID, TimeZoneName, GMT2Time };

const TypeInfo& timeZoneServiceType()
{
    static const TypeInfo info(
        QStringLiteral("_TimeZoneService"), HostClasses::TimeZoneServiceIid,
        {
            propertyGet(1, QStringLiteral("TimeArray"), TimeArray, VarType::Variant),
            propertyGet(2, QStringLiteral("MySystemTZPointer"), MySystemTZPointer, VarType::Integer),
            propertyGet(3, QStringLiteral("TZoneID"), TZoneID, VarType::Integer),
            propertyLet(4, QStringLiteral("TZoneID"), TZoneID, VarType::Integer),
            propertyGet(5, QStringLiteral("TimeZoneName"), TimeZoneName, VarType::String,
                        {byVal(QStringLiteral("date"), VarType::Date)}),
            propertyGet(6, QStringLiteral("GMT2Time"), GMT2Time, VarType::Date,
                        {byVal(QStringLiteral("date"), VarType::Date), byVal(QStringLiteral("zone"), VarType::Integer)}),
        });
    return info;
}

struct Zone {
    QTimeZone zone;
    QString offset; // "(UTC+01:00)"

    // "(UTC+01:00) Europe/Berlin"; in another language with the zone's own name in it,
    // "(UTC+01:00) 中央ヨーロッパ標準時 (Europe/Berlin)", the id telling apart the zones that
    // share a name. Zones without a name of their own there (ICU writes an offset) keep the id.
    QString displayName(const QLocale& language) const
    {
        const QString id = QString::fromUtf8(zone.id());
        if (language.language() == QLocale::English)
            return offset + QLatin1Char(' ') + id;
        const QString name = zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, language);
        if (name.isEmpty() || name.startsWith(QLatin1String("GMT")) || name.startsWith(QLatin1String("UTC")))
            return offset + QLatin1Char(' ') + id;
        return offset + QLatin1Char(' ') + name + QStringLiteral(" (") + id + QLatin1Char(')');
    }
};

QString offsetText(int seconds)
{
    if (seconds == 0)
        return QStringLiteral("(UTC)");
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("(UTC%1%2:%3)")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

Zone makeZone(const QByteArray& id)
{
    QTimeZone zone(id);
    if (!zone.isValid())
        throw RuntimeError(Err::InvalidProcedureCall,
                           QStringLiteral("Unknown time zone \"%1\" in the suite settings").arg(QString::fromUtf8(id)),
                           QStringLiteral("TimeZoneService"));
    const int offset = zone.standardTimeOffset(QDateTime::currentDateTimeUtc());
    return Zone{zone, offsetText(offset)};
}

// Every zone of the system's database, west to east, as a zone list of a desktop shows them.
const QList<Zone>& systemZones()
{
    static const QList<Zone> zones = [] {
        QList<Zone> all;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
            if (id.contains('/') && !id.startsWith("Etc/"))
                all.append(makeZone(id));
        std::stable_sort(all.begin(), all.end(), [&](const Zone& a, const Zone& b) {
            const int oa = a.zone.standardTimeOffset(now);
            const int ob = b.zone.standardTimeOffset(now);
            return oa != ob ? oa < ob : a.zone.id() < b.zone.id();
        });
        return all;
    }();
    return zones;
}

class DefaultTimeZoneService final : public DispatchObject<IDispatch>
{
public:
    DefaultTimeZoneService()
    {
        QSettings file(suiteSettingsFile(), QSettings::IniFormat);
        const QStringList configured = file.value(QStringLiteral("TimeZoneService/TimeZones")).toStringList();
        if (configured.isEmpty()) {
            m_zones = systemZones();
        } else {
            for (const QString& id : configured)
                m_zones.append(makeZone(id.toUtf8()));
        }
        QByteArray systemId = file.value(QStringLiteral("TimeZoneService/SystemTimeZone")).toString().toUtf8();
        if (systemId.isEmpty())
            systemId = QTimeZone::systemTimeZoneId();
        m_systemPointer = findSystemZone(QTimeZone(systemId));
        m_periods.resize(std::size_t(m_zones.size()));
        m_names.resize(std::size_t(m_zones.size()));
    }

    const TypeInfo& GetTypeInfo() const override { return timeZoneServiceType(); }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        switch (member.dispId) {
        case TimeArray: return timeArray();
        case MySystemTZPointer: return m_systemPointer;
        case TZoneID:
            if (member.kind == MemberKind::PropertyPut) {
                zoneAt(args[0].toInteger()); // an unknown zone fails here, not at first use
                m_selected = args[0].toInteger();
                return {};
            }
            return m_selected;
        case TimeZoneName: return zoneName(args[0].toDate());
        case GMT2Time: return gmtToLocal(args[0].toDate(), args[1].toInteger());
        default: throw RuntimeError(Err::ObjectDoesNotSupportMember);
        }
    }

private:
    // Zone 0 is GMT itself, the logger clocks' own zone; 1 to n index the list.
    const QTimeZone& zoneAt(std::int16_t number) const
    {
        static const QTimeZone gmt = QTimeZone::utc();
        if (number == 0)
            return gmt;
        if (number < 0 || number > m_zones.size())
            throw RuntimeError(Err::SubscriptOutOfRange,
                               QStringLiteral("There is no time zone number %1").arg(number),
                               QStringLiteral("TimeZoneService"));
        return m_zones[number - 1].zone;
    }

    Variant timeArray() const
    {
        const QLocale language = userLanguage();
        SafeArray names(VarType::String, {{0, std::int32_t(m_zones.size())}});
        for (qsizetype i = 0; i < m_zones.size(); ++i)
            names.set(std::int32_t(i + 1), m_zones[i].displayName(language));
        return names;
    }

    std::int16_t findSystemZone(const QTimeZone& system) const
    {
        for (qsizetype i = 0; i < m_zones.size(); ++i)
            if (m_zones[i].zone.id() == system.id())
                return std::int16_t(i + 1);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (qsizetype i = 0; i < m_zones.size(); ++i)
            if (m_zones[i].zone.standardTimeOffset(now) == system.standardTimeOffset(now))
                return std::int16_t(i + 1);
        return m_zones.isEmpty() ? 0 : 1;
    }

    // The selected zone's name as it applies at that local date (standard or daylight), in the
    // user's language.
    QString zoneName(Date local) const
    {
        if (m_selected == 0)
            return QStringLiteral("GMT");
        const QTimeZone& zone = zoneAt(m_selected);
        const QLocale language = userLanguage();
        const qint64 wall = QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
        std::vector<Named>& named = m_names[std::size_t(m_selected - 1)];
        for (const Named& n : named)
            if (wall >= n.from && wall < n.to && n.language == language)
                return n.name;
        const QDateTime at(local.date(), local.time(), zone);
        QString name = zone.displayName(at, QTimeZone::LongName, language);
        if (name.isEmpty())
            name = zone.abbreviation(at);
        if (name.isEmpty())
            name = QString::fromUtf8(zone.id());
        // The name holds for the local times that surely fall in the period of at: a day clear of
        // its ends, more than any offset changes by.
        const QDateTime utc = at.toUTC();
        const Period& period = periodAt(m_selected, utc);
        constexpr qint64 Day = 86400000;
        const auto wallAt = [&period](qint64 end, qint64 margin) {
            return end == std::numeric_limits<qint64>::min() || end == std::numeric_limits<qint64>::max()
                       ? end
                       : end + qint64(period.offset) * 1000 + margin;
        };
        const qint64 from = wallAt(period.from, Day);
        const qint64 to = wallAt(period.to, -Day);
        if (from < to) {
            if (named.size() == MaxPeriods)
                named.erase(named.begin());
            named.push_back({from, to, language, name});
        }
        return name;
    }

    // A zone's offset from UTC and the span of UTC times it holds for (between two transitions).
    struct Period {
        qint64 from = 0; // ms since the epoch, UTC; the span is [from, to)
        qint64 to = 0;
        int offset = 0; // seconds
    };

    // Loggers' times fall in a few periods of a zone: each is asked of Qt once (a conversion by
    // Qt takes a lock all threads share), the last sixteen kept.
    Date gmtToLocal(Date gmt, std::int16_t number) const
    {
        if (number == 0)
            return gmt;
        const QDateTime utc(gmt.date(), gmt.time(), Qt::UTC);
        const QDateTime local = utc.addSecs(periodAt(number, utc).offset);
        return Date::fromDateTime(local.date(), local.time());
    }

    const Period& periodAt(std::int16_t number, const QDateTime& utc) const
    {
        const QTimeZone& zone = zoneAt(number);
        const qint64 at = utc.toMSecsSinceEpoch();
        std::vector<Period>& known = m_periods[std::size_t(number - 1)];
        auto period = std::find_if(known.begin(), known.end(), [at](const Period& p) { return at >= p.from && at < p.to; });
        if (period == known.end()) {
            const QTimeZone::OffsetData before = zone.previousTransition(utc.addMSecs(1));
            const QTimeZone::OffsetData after = zone.nextTransition(utc);
            if (known.size() == MaxPeriods)
                known.erase(known.begin());
            known.push_back({before.atUtc.isValid() ? before.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min(),
                             after.atUtc.isValid() ? after.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max(),
                             zone.offsetFromUtc(utc)});
            period = known.end() - 1;
        }
        return *period;
    }

    QList<Zone> m_zones;
    static constexpr std::size_t MaxPeriods = 16; // of a zone: summers and winters of some years
    mutable std::vector<std::vector<Period>> m_periods; // by zone number - 1
    // A zone's name for a span of local times (ms since the epoch, read as UTC), in a language.
    struct Named {
        qint64 from;
        qint64 to;
        QLocale language;
        QString name;
    };
    mutable std::vector<std::vector<Named>> m_names; // by zone number - 1
    std::int16_t m_systemPointer = 0;
    std::int16_t m_selected = 0;
};

} // namespace

ComPtr<IUnknown> createDefaultTimeZoneService()
{
    return ComPtr<IUnknown>(makeObject<DefaultTimeZoneService>());
}

} // namespace vxRecInfo
