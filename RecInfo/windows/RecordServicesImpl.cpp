// The record services: thin hand-offs from RecordInfo to the windows.

#include "ModalService.h"
#include "frmNote.h"
#include "frmRecImport.h"
#include "frmStatistics.h"

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/RecordServices.h"

#include <QApplication>

namespace vxRecInfo {

namespace {

// Windows need a widget application; a host without one gets an error, not a crash.
void requireWidgets(const char* service)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw RuntimeError(Err::ActionNotSupported,
                           QStringLiteral("%1 needs a QApplication in the host process").arg(QString::fromLatin1(service)),
                           QStringLiteral("RecordInfo.%1").arg(QString::fromLatin1(service)));
}

class WindowServices final : public RecordServices
{
public:
    void ShowInfo(std::int16_t listIndexPointer) override
    {
        requireWidgets("ShowInfo");
        checkHResult(fontSettings()->Reload());
        ModuleState::current().ListIndexPointer = listIndexPointer;
        frmStatistics window;
        window.load();
        modalService().showModal(window);
    }

    void ShowImport(const SafeArray& classicFileFlag) override
    {
        requireWidgets("ShowImport");
        checkHResult(fontSettings()->Reload());
        ModuleState& state = ModuleState::current();
        state.ClassicFileFlag = classicFileFlag;
        state.ImportFileSelected = false;
        frmRecImport window;
        window.load();
        modalService().showModal(window);
    }

    void ShowNote(const QString& pendingNote) override
    {
        requireWidgets("ShowNote");
        ModuleState& state = ModuleState::current();
        state.NoteText = pendingNote;
        {
            frmNote window;
            modalService().showModal(window);
        }
        // The host reads the result as NoteArray(0): the notes of committed datasets go.
        state.NoteArray.redim(0);
        state.NoteArray.at(0) = state.NoteText;
    }

    void PrintAll(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName) override
    {
        requireWidgets("PrintAll");
        QString none;
        LoadedWindow loaded;
        loaded.window.PrintAllRec(PJob, StartPageNum, TotalPages, PrinterName, false, none, true);
    }

    void RTF_All(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName,
                 QString& RTF_Text, bool EnablePageNumbering) override
    {
        requireWidgets("RTF_All");
        LoadedWindow loaded;
        loaded.window.PrintAllRec(PJob, StartPageNum, TotalPages, PrinterName, true, RTF_Text, EnablePageNumbering);
    }

    void RTF_NT(QString& RTF_Text) override
    {
        requireWidgets("RTF_NT");
        frmStatistics window;
        window.PrintAllRecOnly_NT(RTF_Text);
    }

private:
    // The Statistics window loaded and never shown, unloaded when the call returns.
    struct LoadedWindow {
        frmStatistics window;
        LoadedWindow() { window.load(); }
    };
};

WindowServices g_windowServices;
[[maybe_unused]] const bool installed = (setRecordServices(&g_windowServices), true);

} // namespace

} // namespace vxRecInfo
