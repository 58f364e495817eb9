// SPDX-License-Identifier: MIT
#include "Commands.h"

#include "ReportCommands.h"
#include "Screenshots.h"
#include "ServiceCommands.h"
#include "StoreListing.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/Registration.h"
#include "component/DllEntry.h"
#include "component/Identity.h"
#include "component/Server.h"
#include "component/SuiteSettings.h"
#include "support/ErrorLog.h"
#include "support/Labels.h"

#include <QSettings>
#include <QTemporaryDir>

using namespace vxRecInfo;

namespace recinfo {

namespace {

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

int printMembers(const QCommandLineParser&, QTextStream& out, QTextStream&)
{
    ComPtr<IDispatch> object = ClassRegistry::instance().createObject(Identity::ProgId);
    const TypeInfo& type = object->GetTypeInfo();

    out << "Type library  " << Identity::TypeLibraryName << "  " << Identity::TypeLibraryId.toString() << '\n'
        << "Class         " << Identity::ClassName << "  " << Identity::RecordInfoClsid.toString() << '\n'
        << "Interface     " << type.name() << "  " << type.iid().toString() << " (dual)\n"
        << "ProgID        " << Identity::ProgId << "\n\n";
    out << QStringLiteral("%1  %2  %3  %4  %5\n")
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
        out << withoutTrailingBlanks(line) << '\n';
    }
    out << '\n' << type.members().size() << " members\n";
    return 0;
}

int printLabels(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    const int offset = intOption(parsed, QStringLiteral("offset"), 0);
    QList<int> ids;
    for (const QString& arg : parsed.positionalArguments()) {
        bool ok = false;
        ids << arg.toInt(&ok);
        if (!ok)
            throw UsageProblem{QStringLiteral("'%1' is not a label id").arg(arg)};
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
            out << id << '\t' << text << '\n';
        } catch (const RuntimeError& e) {
            out.flush();
            err << "recinfo: label " << id << ": error " << e.number() << ": " << e.description() << '\n';
            status = 1;
        }
    }
    return status;
}

// Registers the component's shared library (the one hosts load; this program has the component
// linked in), or removes the registration, and says where.
int registration(bool add, QTextStream& out, QTextStream& err)
{
    QString library, why;
    if (add && (library = componentLibraryPath(&why)).isEmpty()) {
        err << "recinfo: cannot load the component's library: " << oneLine(why) << '\n';
        return 1;
    }
    const HResult hr = add ? registerRecordInfoServer(library) : unregisterRecordInfoServer();
    if (failed(hr)) {
        err << "recinfo: " << (add ? "DllRegisterServer" : "DllUnregisterServer") << " failed with 0x"
            << QString::number(quint32(hr), 16) << " writing " << registrationFilePath();
        if (const ErrorInfo why = lastErrorInfo(); why.number != 0)
            err << ": error " << why.number << ": " << oneLine(why.description);
        err << '\n';
        return 1;
    }
    if (add)
        out << "registered " << Identity::ProgId << ' ' << Identity::RecordInfoClsid.toString() << " -> "
            << registeredLibrary(Identity::RecordInfoClsid).value_or(QString()) << "\nin " << registrationFilePath() << '\n';
    else
        out << "unregistered " << Identity::ProgId << " from " << registrationFilePath() << '\n';
    return 0;
}

int storeFile(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    return storeCommand(inputFile(parsed.positionalArguments().front()), out, err, progressWanted(parsed));
}

QString versionLines()
{
    // recinfo and the library it runs with are built together, but the library may be another
    // installed copy: it says its own version.
    return QStringLiteral("recinfo %1\n%2 on Qt %3\n")
        .arg(QStringLiteral(VXRECINFO_HOST_VERSION), vxRecInfo::versionText(), QString::fromLatin1(qVersion()));
}

} // namespace

Program recinfoProgram()
{
    QList<Command> commands{
        {QStringLiteral("members"), {}, QStringLiteral("Print the component's identity and member table."),
         QStringLiteral("Print the component's identity and the member table of _RecordInfo (slot, DISPID, kind, "
                        "name and parameters), read from a live object."),
         {}, printMembers},
        {QStringLiteral("store"), {QStringLiteral("FILE")},
         QStringLiteral("Commit a recordings file, print the store as JSON."),
         QStringLiteral("Load a recordings file (docs/recordings-file.md) through the dispatch layer, commit every "
                        "dataset and print the dataset store as JSON: each record's fields with their types, "
                        "NoteArray, NoteChanged and the getters. A failing commit prints the error number and "
                        "description and the records committed so far."),
         {quietOption()}, storeFile},
        {QStringLiteral("labels"), {QStringLiteral("ID...")}, QStringLiteral("Print string-table labels in one language."),
         QStringLiteral("Print the string-table labels with these ids, one \"id<TAB>text\" line each, looked up as "
                        "the component does: through HostSettings.ResOffset."),
         {QCommandLineOption(QStringLiteral("offset"),
                             QStringLiteral("The language: 0 English (default), 2000 Japanese, 4000 Chinese, 6000 "
                                            "Spanish, 8000 French, 10000 Portuguese."),
                             QStringLiteral("N"))},
         printLabels},
        reportCommand(),
    };
    commands += serviceCommands();
    commands += {
        {QStringLiteral("register"), {}, QStringLiteral("Register the component for this user."),
         QStringLiteral("Register the component for this user (DllRegisterServer): the class, program identifier, "
                        "type library and interface entries, naming the library this program runs with, in the "
                        "per-user registration file."),
         {}, [](const QCommandLineParser&, QTextStream& out, QTextStream& err) { return registration(true, out, err); }},
        {QStringLiteral("unregister"), {}, QStringLiteral("Remove that registration."),
         QStringLiteral("Remove the entries of register again (DllUnregisterServer)."), {},
         [](const QCommandLineParser&, QTextStream& out, QTextStream& err) { return registration(false, out, err); }},
        screenshotsCommand(),
    };
    return {QStringLiteral("Drives the vxRecInfo record-report component as a host application does."),
            QStringLiteral("FILE - reads the recordings from standard input, a pipe too. A FILE that is not found as "
                           "given is looked for among the samples installed with recinfo "
                           "(PREFIX/share/vxRecInfo/samples). On a terminal, store, print, rtf and printdoc show "
                           "their progress on standard error: datasets done, rate and time left."),
            versionLines(), commands};
}

} // namespace recinfo
