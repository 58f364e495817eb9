// recinfo: the sample host program. It drives the component the way a host application does,
// through the class registry and late binding.

#include "ReportCommands.h"
#include "Screenshots.h"
#include "ServiceCommands.h"
#include "StoreListing.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/Registration.h"
#include "component/DllEntry.h"
#include "component/Identity.h"
#include "component/SuiteSettings.h"
#include "support/Labels.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

#include <unistd.h>

using namespace vxRecInfo;

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

const char* const UsageTemplate = R"(Usage: recinfo COMMAND [ARGUMENTS]

Drives the vxRecInfo record-report component as a host application does.

Commands:
  members     Print the component's identity and the member table of _RecordInfo
              (slot, DISPID, kind, name and parameters), read from a live object.
  store FILE  Load a recordings file (docs/recordings-file.md) through the dispatch
              layer, commit every dataset and print the dataset store as JSON: each
              record's fields with their types, NoteArray, NoteChanged and the getters.
              A failing commit prints the error number and description, the records
              committed so far, and exits with status 1.
  labels [--offset N] ID...
              Print the string-table labels with these ids in the language of offset
              N (0 English, 2000 Japanese, 4000 Chinese, 6000 Spanish, 8000 French,
              10000 Portuguese; default 0), one "id<TAB>text" line each, looked up
              as the component does: through HostSettings.ResOffset.
%REPORT%%SERVICES%  register    Register the component for this user (DllRegisterServer): the class,
              program identifier, type library and interface entries, naming the
              library this program runs with, in the per-user registration file.
  unregister  Remove those entries again (DllUnregisterServer).
  screenshots FILE FOLDER
              Save a picture of each window over the file's datasets, in English and
              in Japanese, into FOLDER (works without a display).
  help        Print this text.

Options:
  -h, --help  Print this text.

A FILE that is not found as given is looked for among the samples installed
with recinfo (PREFIX/share/vxRecInfo/samples).
)";

QString usage()
{
    return QString::fromUtf8(UsageTemplate)
        .replace(QStringLiteral("%REPORT%"), QString::fromUtf8(recinfo::ReportUsage))
        .replace(QStringLiteral("%SERVICES%"), QString::fromUtf8(recinfo::ServiceUsage));
}

QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString parameterText(const ParamInfo& p)
{
    QString text;
    if (p.optional)
        text += QStringLiteral("Optional ");
    text += p.byRef ? QStringLiteral("ByRef ") : QStringLiteral("ByVal ");
    text += p.name + QStringLiteral(" As ") + typeName(p.type);
    if (p.optional)
        text += QStringLiteral(" = ") + p.defaultValue.toString();
    return text;
}

int printMembers()
{
    ComPtr<IDispatch> object = ClassRegistry::instance().createObject(Identity::ProgId);
    const TypeInfo& type = object->GetTypeInfo();

    out() << "Type library  " << Identity::TypeLibraryName << "  " << Identity::TypeLibraryId.toString() << '\n'
          << "Class         " << Identity::ClassName << "  " << Identity::RecordInfoClsid.toString() << '\n'
          << "Interface     " << type.name() << "  " << type.iid().toString() << " (dual)\n"
          << "ProgID        " << Identity::ProgId << "\n\n";
    out() << QStringLiteral("%1  %2  %3  %4  %5\n")
                 .arg(QStringLiteral("Slot"), 4)
                 .arg(QStringLiteral("DISPID"), -10)
                 .arg(QStringLiteral("Kind"), -6)
                 .arg(QStringLiteral("Member"), -26)
                 .arg(QStringLiteral("Parameters or value"));
    for (const MemberInfo& m : type.members()) {
        QStringList params;
        for (const ParamInfo& p : m.params)
            params << parameterText(p);
        QString detail = params.join(QStringLiteral(", "));
        if (m.kind == MemberKind::PropertyGet)
            detail = QStringLiteral("As ") + typeName(m.returnType);
        const QString line = QStringLiteral("%1  0x%2  %3  %4  %5")
                     .arg(m.slot, 4)
                     .arg(QString::number(quint32(m.dispId), 16).toUpper().rightJustified(8, QLatin1Char('0')))
                     .arg(memberKindName(m.kind), -6)
                     .arg(m.name, -26)
                     .arg(detail);
        out() << withoutTrailingBlanks(line) << '\n';
    }
    out() << '\n' << type.members().size() << " members\n";
    return 0;
}

} // namespace

int labelsCommand(QStringList args)
{
    int offset = 0;
    if (!args.isEmpty() && args.front() == QLatin1String("--offset")) {
        bool ok = false;
        offset = args.value(1).toInt(&ok);
        if (!ok) {
            err() << "recinfo: --offset needs a whole number\n";
            return 2;
        }
        args = args.mid(2);
    }
    QList<int> ids;
    for (const QString& arg : args) {
        bool ok = false;
        ids << arg.toInt(&ok);
        if (!ok) {
            err() << "recinfo: \"" << arg << "\" is not a label id\n";
            return 2;
        }
    }
    if (ids.isEmpty()) {
        err() << "recinfo: labels needs at least one id\n";
        return 2;
    }
    // The offset reaches the component the way a user's setting does.
    QTemporaryDir settingsDir;
    const QString settingsPath = settingsDir.filePath(QStringLiteral("LoggerSuite.ini"));
    {
        QSettings ini(settingsPath, QSettings::IniFormat);
        ini.setValue(QStringLiteral("HostSettings/ResOffset"), offset);
    }
    setSuiteSettingsFile(settingsPath);
    ComPtr<IDispatch> record = ClassRegistry::instance().createObject(Identity::ProgId);
    int status = 0;
    for (const int id : ids) {
        try {
            const QString text = labelText(id);
            out() << id << '\t' << text << '\n';
        } catch (const RuntimeError& e) {
            out().flush();
            err() << "recinfo: label " << id << ": error " << e.number() << ": " << e.description() << '\n';
            status = 1;
        }
    }
    return status;
}

// Registers or unregisters the library this program runs with, and says where.
int registrationCommand(bool add)
{
    const HResult hr = add ? DllRegisterServer() : DllUnregisterServer();
    if (failed(hr)) {
        err() << "recinfo: " << (add ? "DllRegisterServer" : "DllUnregisterServer") << " failed with 0x"
              << QString::number(quint32(hr), 16) << " writing " << registrationFilePath() << '\n';
        return 1;
    }
    const std::optional<QString> library = registeredLibrary(Identity::RecordInfoClsid);
    if (add)
        out() << "registered " << Identity::ProgId << ' ' << Identity::RecordInfoClsid.toString() << " -> "
              << library.value_or(QString()) << "\nin " << registrationFilePath() << '\n';
    else
        out() << "unregistered " << Identity::ProgId << " from " << registrationFilePath() << '\n';
    return 0;
}

// A recordings file named as given, or else a bundled sample of that name.
QString inputFile(const QString& name)
{
    if (QFileInfo::exists(name) || QDir::isAbsolutePath(name))
        return name;
    const QString sample = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vxRecInfo/samples/") + name;
    return QFileInfo::exists(sample) ? QDir::cleanPath(sample) : name;
}

int main(int argc, char* argv[])
{
    // Without a display the batch commands still work: on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; make one instead of warning about it.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QDir::tempPath().toLocal8Bit() + "/vxrecinfo-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromLocal8Bit(runtime));
        QFile::setPermissions(QString::fromLocal8Bit(runtime), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    static const QStringList takesFile{QStringLiteral("store"), QStringLiteral("report"), QStringLiteral("printdoc"),
                                       QStringLiteral("show"),  QStringLiteral("import"), QStringLiteral("note"),
                                       QStringLiteral("print"), QStringLiteral("rtf"),    QStringLiteral("screenshots")};
    if (args.size() >= 2 && takesFile.contains(args.front()))
        args[1] = inputFile(args[1]);
    if (args.isEmpty() || args.front() == QLatin1String("help") || args.front() == QLatin1String("-h")
        || args.front() == QLatin1String("--help")) {
        (args.isEmpty() ? err() : out()) << usage();
        return args.isEmpty() ? 2 : 0;
    }
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out() << usage();
        return 0;
    }
    int status = -1;
    try {
        if (args.front() == QLatin1String("members") && args.size() == 1)
            status = printMembers();
        if (args.front() == QLatin1String("report"))
            status = recinfo::reportCommand(args.mid(1), out(), err());
        if (args.front() == QLatin1String("printdoc"))
            status = recinfo::ntCommand(args.mid(1), out(), err());
        if (args.front() == QLatin1String("show") || args.front() == QLatin1String("import")
            || args.front() == QLatin1String("note"))
            status = recinfo::showCommand(args.front(), args.mid(1), out(), err());
        if (args.front() == QLatin1String("screenshots"))
            status = recinfo::screenshotsCommand(args.mid(1), out(), err());
        if (args.front() == QLatin1String("print"))
            status = recinfo::printCommand(args.mid(1), out(), err());
        if (args.front() == QLatin1String("rtf"))
            status = recinfo::rtfCommand(args.mid(1), out(), err());
        if ((args.front() == QLatin1String("register") || args.front() == QLatin1String("unregister"))
            && args.size() == 1)
            status = registrationCommand(args.front() == QLatin1String("register"));
        if (args.front() == QLatin1String("labels"))
            status = labelsCommand(args.mid(1));
        if (args.front() == QLatin1String("store") && args.size() == 2)
            status = recinfo::storeCommand(args.at(1), out(), err());
    } catch (const RuntimeError& e) {
        err() << "recinfo: error " << e.number() << ": " << e.description() << '\n';
        return 1;
    }
    if (status == 2) {
        err() << "\n" << usage(); // a wrong argument: say how it is used
        return 2;
    }
    if (status >= 0)
        return status;
    err() << "recinfo: unknown command or arguments: " << args.join(QLatin1Char(' ')) << "\n\n" << usage();
    return 2;
}
