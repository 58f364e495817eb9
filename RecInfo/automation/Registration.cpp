#include "Registration.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace vxRecInfo {

namespace {

QString key(const QUuid& id) { return id.toString(QUuid::WithBraces); }

HResult status(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError ? S_OK : SELFREG_E_CLASS;
}

} // namespace

QString registrationFilePath()
{
    const QString overridden = qEnvironmentVariable("VXRECINFO_REGISTRY");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/vxRecInfo/registry.ini");
}

HResult writeRegistration(const ServerRegistration& r)
{
    const QString path = registrationFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return SELFREG_E_CLASS;
    QSettings settings(path, QSettings::IniFormat);
    const QString cls = QStringLiteral("CLSID/") + key(r.clsid);
    settings.setValue(cls + QStringLiteral("/Default"), r.description);
    settings.setValue(cls + QStringLiteral("/InprocServer32"), r.library);
    settings.setValue(cls + QStringLiteral("/ThreadingModel"), r.threadingModel);
    settings.setValue(cls + QStringLiteral("/ProgID"), r.progId);
    settings.setValue(cls + QStringLiteral("/TypeLib"), key(r.typeLibrary));
    settings.setValue(QStringLiteral("ProgID/") + r.progId + QStringLiteral("/CLSID"), key(r.clsid));
    const QString lib = QStringLiteral("TypeLib/") + key(r.typeLibrary) + QLatin1Char('/') + r.typeLibraryVersion;
    settings.setValue(lib + QStringLiteral("/Name"), r.typeLibraryName);
    settings.setValue(lib + QStringLiteral("/Path"), r.library);
    const QString itf = QStringLiteral("Interface/") + key(r.interfaceId);
    settings.setValue(itf + QStringLiteral("/Name"), r.interfaceName);
    settings.setValue(itf + QStringLiteral("/TypeLib"), key(r.typeLibrary));
    return status(settings);
}

HResult removeRegistration(const ServerRegistration& r)
{
    const QString path = registrationFilePath();
    if (!QFileInfo::exists(path))
        return S_OK;
    QSettings settings(path, QSettings::IniFormat);
    settings.remove(QStringLiteral("CLSID/") + key(r.clsid));
    settings.remove(QStringLiteral("ProgID/") + r.progId);
    settings.remove(QStringLiteral("TypeLib/") + key(r.typeLibrary));
    settings.remove(QStringLiteral("Interface/") + key(r.interfaceId));
    return status(settings);
}

std::optional<QString> registeredLibrary(const QUuid& clsid)
{
    QSettings settings(registrationFilePath(), QSettings::IniFormat);
    const QString library =
        settings.value(QStringLiteral("CLSID/") + key(clsid) + QStringLiteral("/InprocServer32")).toString();
    if (library.isEmpty())
        return std::nullopt;
    return library;
}

std::optional<QUuid> registeredClsid(const QString& progId)
{
    QSettings settings(registrationFilePath(), QSettings::IniFormat);
    const QUuid clsid(settings.value(QStringLiteral("ProgID/") + progId + QStringLiteral("/CLSID")).toString());
    if (clsid.isNull())
        return std::nullopt;
    return clsid;
}

} // namespace vxRecInfo
