// SPDX-License-Identifier: MIT
#include "DefaultHostClasses.h"
#include "component/HostObjects.h"

#include "automation/ClassRegistry.h"
#include "support/Labels.h"

namespace vxRecInfo {

QLocale languageOfOffset(std::int32_t resOffset)
{
    // Each file of the string table is named for its language: "1041-ja-JP.txt".
    static const QList<std::pair<int, QLocale>> locales = [] {
        QList<std::pair<int, QLocale>> all;
        for (const StringTable::Language& language : StringTable::instance().languages()) {
            const QString name = language.file.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0);
            all.append({language.offset, QLocale(name)});
        }
        return all;
    }();
    for (const auto& [offset, locale] : locales)
        if (offset == resOffset)
            return locale;
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

QLocale userLanguage()
{
    return languageOfOffset(settingResOffset());
}

void registerDefaultHostClasses()
{
    ClassRegistry& registry = ClassRegistry::instance();
    registry.registerClass({HostClasses::HostSettingsClsid, QStringLiteral("HostSuite.HostSettings"),
                            QStringLiteral("HostSettings"), createDefaultHostSettings});
    registry.registerClass({HostClasses::TimeZoneServiceClsid, QStringLiteral("HostSuite.TimeZoneService"),
                            QStringLiteral("TimeZoneService"), createDefaultTimeZoneService});
    registry.registerClass({HostClasses::UnitConverterClsid, QStringLiteral("HostSuite.UnitConverter"),
                            QStringLiteral("UnitConverter"), createDefaultUnitConverter});
    registry.registerClass({HostClasses::FontSettingsClsid, QStringLiteral("HostSuite.FontSettings"),
                            QStringLiteral("FontSettings"), createDefaultFontSettings});
}

namespace {
// The defaults are there from the moment the library loads; a host's own registration,
// made later, replaces them.
[[maybe_unused]] const bool registered = (registerDefaultHostClasses(), true);
} // namespace

} // namespace vxRecInfo
