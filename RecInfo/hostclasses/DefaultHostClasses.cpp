#include "DefaultHostClasses.h"
#include "component/HostObjects.h"

#include "automation/ClassRegistry.h"

namespace vxRecInfo {

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
