#include "Screenshots.h"

#include "RecordingsFile.h"

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"
#include "printing/Printer.h"
#include "windows/frmPrinterDlg.h"
#include "windows/frmNote.h"
#include "windows/frmRecImport.h"
#include "windows/frmStatistics.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QSettings>

using namespace vxRecInfo;

namespace recinfo {

namespace {

bool save(QWidget& window, const QString& path, QTextStream& out)
{
    window.show();
    QApplication::processEvents();
    const bool ok = window.grab().save(path);
    window.hide();
    out << (ok ? "wrote " : "could not write ") << path << "\n";
    return ok;
}

int takeScreenshots(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    QStringList args = parsed.positionalArguments();
    args[0] = inputFile(args[0]);
    if (!QDir().mkpath(args[1])) {
        err << "recinfo: cannot make " << args[1] << "\n";
        return 1;
    }
    bool ok = true;
    for (const auto& [suffix, offset] : {std::pair{"en", 0}, std::pair{"ja", 2000}}) {
        try {
            ModuleState::endApartment();
            RecordingsFile file(args[0]);
            file.load();
            // The language of the windows is the user's setting: put it where the settings are read.
            {
                QSettings ini(suiteSettingsFile(), QSettings::IniFormat);
                ini.setValue(QStringLiteral("HostSettings/ResOffset"), offset);
            }
            lateCall(hostSettings(), QStringLiteral("RestoreParameters"));
            ModuleState& state = ModuleState::current();
            state.ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, {false, false, false});
            const QString base = args[1] + QStringLiteral("/");
            {
                frmStatistics window;
                window.load();
                window.chkDetails->click();
                ok &= save(window, base + QStringLiteral("statistics-%1.png").arg(QLatin1String(suffix)), out);
            }
            {
                frmRecImport window;
                window.load();
                ok &= save(window, base + QStringLiteral("import-%1.png").arg(QLatin1String(suffix)), out);
            }
            {
                state.NoteText = state.NoteArray.at(0);
                frmNote window;
                ok &= save(window, base + QStringLiteral("note-%1.png").arg(QLatin1String(suffix)), out);
            }
            {
                frmPrinterDlg window;
                ok &= save(window, base + QStringLiteral("printer-dialog-%1.png").arg(QLatin1String(suffix)), out);
            }
        } catch (const LoadError& e) {
            err << "recinfo: " << e.message << "\n";
            return 1;
        } catch (const RuntimeError& e) {
            err << "recinfo: error " << e.number() << ": " << e.description() << "\n";
            return 1;
        }
    }
    return ok ? Done : Failed;
}

} // namespace

Command screenshotsCommand()
{
    return {QStringLiteral("screenshots"),
            {QStringLiteral("FILE"), QStringLiteral("FOLDER")},
            QStringLiteral("Save pictures of the windows into FOLDER."),
            QStringLiteral("Save a picture of each window over the file's datasets, in English and in Japanese, "
                           "into FOLDER (works without a display)."),
            {},
            takeScreenshots};
}

} // namespace recinfo
