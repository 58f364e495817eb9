// SPDX-License-Identifier: MIT
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
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>
#include <QSettings>

using namespace vxRecInfo;

namespace recinfo {

namespace {

const QString Key = QStringLiteral("HostSettings/ResOffset");

// Waits up to two seconds for the window system to have done what was asked.
template <class Done>
bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// On a display, the window's pixels as the screen shows them, once it is mapped and has the
// focus (where the focus frame is drawn depends on it); offscreen, the window drawn alone.
bool save(QWidget& window, const QString& path, QTextStream& out)
{
    window.show();
    bool ok = true;
    QPixmap picture;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QApplication::processEvents();
        picture = window.grab();
    } else {
        window.activateWindow();
        ok = waitFor([&] { return window.windowHandle()->isExposed() && window.isActiveWindow(); });
        QApplication::processEvents();
        picture = window.screen()->grabWindow(window.winId());
    }
    ok = ok && picture.save(path);
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
    // The user's language setting, put back however the pictures end.
    struct Restore {
        QVariant resOffset = QSettings(suiteSettingsFile(), QSettings::IniFormat).value(Key);
        ~Restore()
        {
            QSettings ini(suiteSettingsFile(), QSettings::IniFormat);
            if (resOffset.isValid())
                ini.setValue(Key, resOffset);
            else
                ini.remove(Key);
        }
    } restore;
    QApplication::setCursorFlashTime(0); // a caret that blinks is in some pictures and not others
    bool ok = true;
    for (const auto& [suffix, offset] : {std::pair{"en", 0}, std::pair{"ja", 2000}}) {
        try {
            ModuleState::endApartment();
            RecordingsFile file(args[0]);
            file.load();
            // The language of the windows is the user's setting: put it where the settings are read.
            {
                QSettings ini(suiteSettingsFile(), QSettings::IniFormat);
                ini.setValue(Key, offset);
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
                           "into FOLDER. On a display the pictures are the screen's; offscreen "
                           "(QT_QPA_PLATFORM=offscreen) each window is drawn alone. The language setting "
                           "is put back as it was."),
            {},
            takeScreenshots};
}

} // namespace recinfo
