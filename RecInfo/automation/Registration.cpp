// SPDX-License-Identifier: MIT
#include "Registration.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>

namespace vxRecInfo {

namespace {

QString key(const QUuid& id) { return id.toString(QUuid::WithBraces); }

// QSettings writes through links and, on a full disk, may leave a short file; so it edits a
// private copy, which then replaces the registration file whole. A failure leaves its error
// information behind for the caller to tell.
HResult editRegistration(const std::function<void(QSettings&)>& edit)
{
    const QString path = registrationFilePath();
    try {
        AtomicFile file(path, QStringLiteral("the registration file"));
        file.open();
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QStringLiteral("registry.ini"));
        if (QFileInfo::exists(path) && !QFile::copy(path, copy))
            throw RuntimeError(Err::PathFileAccessError,
                               QStringLiteral("Path/File access error: %1 cannot be read").arg(QDir::toNativeSeparators(path)));
        {
            QSettings settings(copy, QSettings::IniFormat);
            edit(settings);
            settings.sync();
            if (settings.status() == QSettings::FormatError)
                throw RuntimeError(Err::PathFileAccessError, QStringLiteral("Path/File access error: %1 is not a registration file")
                                                                 .arg(QDir::toNativeSeparators(path)));
            if (settings.status() != QSettings::NoError)
                throw RuntimeError(Err::PathFileAccessError, QStringLiteral("Path/File access error: %1 cannot be written")
                                                                 .arg(QDir::toNativeSeparators(scratch.path())));
        }
        QFile edited(copy);
        if (!edited.open(QIODevice::ReadOnly))
            throw RuntimeError(Err::PathFileAccessError);
        file.write(edited.readAll());
        file.commit();
        return S_OK;
    } catch (const RuntimeError& e) {
        setLastErrorInfo(e.info());
        return SELFREG_E_CLASS;
    }
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
    if (!QDir().mkpath(QFileInfo(registrationFilePath()).absolutePath()))
        return SELFREG_E_CLASS;
    return editRegistration([&r](QSettings& settings) {
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
    });
}

HResult removeRegistration(const ServerRegistration& r)
{
    if (!QFileInfo::exists(registrationFilePath()))
        return S_OK;
    return editRegistration([&r](QSettings& settings) {
        settings.remove(QStringLiteral("CLSID/") + key(r.clsid));
        settings.remove(QStringLiteral("ProgID/") + r.progId);
        settings.remove(QStringLiteral("TypeLib/") + key(r.typeLibrary));
        settings.remove(QStringLiteral("Interface/") + key(r.interfaceId));
    });
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
