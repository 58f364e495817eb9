// SPDX-License-Identifier: MIT
#include "ErrorLog.h"

#include "MessageService.h"
#include "Version.h"

#include "automation/AtomicFile.h"
#include "automation/Dispatch.h"
#include "component/HostObjects.h"

#include <QDateTime>
#include <QFile>
#include <QProcessEnvironment>
#include <QSysInfo>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace vxRecInfo {

namespace {

// Runs one step of LogError; whatever fails, the next step still runs.
template <class F>
void step(F&& f) noexcept
{
    try {
        f();
    } catch (...) {
    }
}

// An environment variable by name, compared case-insensitively ("username" finds USERNAME).
QString environmentValue(const QString& name)
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& key : environment.keys())
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return environment.value(key);
    return QString();
}

QString userName()
{
    const QString name = environmentValue(QStringLiteral("username"));
    return name.isEmpty() ? environmentValue(QStringLiteral("USER")) : name;
}

QString computerName()
{
    const QString name = environmentValue(QStringLiteral("computername"));
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

// A text field of the record, in double quotes (a quote inside is doubled, so readers of
// comma-separated text keep the fields apart).
QString quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("vxRecInfo");
}

QString versionText()
{
    return applicationTitle() + QStringLiteral(" v%1.%2.%3").arg(VXRECINFO_VERSION_MAJOR).arg(VXRECINFO_VERSION_MINOR).arg(VXRECINFO_VERSION_PATCH);
}

QString errorMessageText(const QString& errorNumber, const QString& description, const QString& moduleName,
                         const QString& functionName)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Error Occurred: ") + errorNumber + crlf;
    if (!description.isEmpty())
        text += QStringLiteral("Description: ") + description + crlf;
    if (!moduleName.isEmpty())
        text += QStringLiteral("Module: ") + moduleName + crlf;
    if (!functionName.isEmpty())
        text += QStringLiteral("Function: ") + functionName;
    return text;
}

void LogError(bool showMessage, const QString& errorNumber, const QString& description, const QString& moduleName,
              const QString& functionName) noexcept
{
    if (showMessage) {
        step([&] {
            vxRecInfo::showMessage(errorMessageText(errorNumber, description, moduleName, functionName),
                                   MsgBox::Critical | MsgBox::OKOnly, applicationTitle() + QStringLiteral(" - ERROR"));
        });
    }

    // A HostSettings of its own, not restored: the log must work whatever the module's state.
    ComPtr<IDispatch> settings;
    std::optional<QString> folder;
    step([&] { settings = createHostSettings(); });
    step([&] { folder = lateGet(settings.get(), QStringLiteral("RFIDPath")).toString(); });

    QFile file;
    step([&] {
        // Without the folder there is no file to open: never the current directory instead.
        if (!folder)
            return;
        // Nor a file elsewhere: a link named ErrorLog.txt, symbolic or hard, is not written
        // through, and the record is skipped like any other that cannot be written.
        const QByteArray path = QFile::encodeName(*folder + QStringLiteral("ErrorLog.txt"));
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        struct stat st {};
        if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1)) {
            ::close(fd);
            return;
        }
        if (fd >= 0)
            file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle);
    });
    step([&] {
        if (!file.isOpen())
            return;
        const QStringList fields{
            QLatin1Char('#') + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('#'),
            quoted(errorNumber),
            quoted(description),
            quoted(moduleName),
            quoted(functionName),
            quoted(versionText()),
            quoted(userName()),
            quoted(computerName()),
        };
        // A record is in the log whole or not at all: one write, and on a full disk the part
        // that went in is cut off again.
        const QByteArray record = (fields.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
        const qint64 before = file.size();
        if (writeAll(file.handle(), record) != 0)
            file.resize(before);
    });
    step([&] { file.close(); });
    step([&] { settings.reset(); });
}

} // namespace vxRecInfo
