#include "HostObjects.h"

#include "ModuleState.h"

#include "automation/ClassRegistry.h"

namespace vxRecInfo {

namespace {

ComPtr<IDispatch> create(const QUuid& clsid)
{
    return ClassRegistry::instance().createObject(clsid.toString(QUuid::WithBraces));
}

IDispatch* onFirstUse(ComPtr<IDispatch>& slot, const QUuid& clsid)
{
    if (!slot)
        slot = create(clsid);
    return slot.get();
}

} // namespace

IDispatch* hostSettings()
{
    return onFirstUse(ModuleState::current().HostSettings, HostClasses::HostSettingsClsid);
}

IDispatch* timeZoneService()
{
    return onFirstUse(ModuleState::current().TimeZoneService, HostClasses::TimeZoneServiceClsid);
}

IDispatch* unitConverter()
{
    return onFirstUse(ModuleState::current().UnitConverter, HostClasses::UnitConverterClsid);
}

IFontSettings* fontSettings()
{
    IFontSettings* fonts = ModuleState::current().FontSettings.get();
    if (!fonts)
        throw RuntimeError(Err::ObjectVariableNotSet);
    return fonts;
}

ComPtr<IDispatch> createHostSettings()
{
    return create(HostClasses::HostSettingsClsid);
}

void renewFontSettings()
{
    ComPtr<IFontSettings> fonts = create(HostClasses::FontSettingsClsid).as<IFontSettings>();
    if (!fonts)
        throw RuntimeError(Err::TypeMismatch, QStringLiteral("The FontSettings class does not implement IFontSettings"));
    ModuleState::current().FontSettings = fonts;
    checkHResult(fonts->Reload());
}

void ReleaseTimeZoneService(bool keep)
{
    if (!keep)
        ModuleState::current().TimeZoneService.reset();
}

} // namespace vxRecInfo

namespace vxRecInfo {

const QUuid& IFontSettings::iid()
{
    return HostClasses::FontSettingsIid;
}

} // namespace vxRecInfo
