// SPDX-License-Identifier: MIT
// The record services: thin hand-offs from RecordInfo to the windows.

#include "ModalService.h"
#include "frmNote.h"
#include "frmRecImport.h"
#include "frmStatistics.h"

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/RecordServices.h"
#include "report/BatchReports.h"

#include <QApplication>
#include <QThread>

namespace vxRecInfo {

namespace {

[[noreturn]] void refuse(const char* service, const QString& why)
{
    throw RuntimeError(Err::ActionNotSupported, QString::fromLatin1(service) + why,
                       QStringLiteral("RecordInfo.%1").arg(QString::fromLatin1(service)));
}

// Windows are widgets, and widgets live on the thread of the QApplication only. Anywhere else,
// in a host without one, or where no window could be closed (no display), a window service fails
// with error 445 (Object doesn't support this action) before it makes a widget.
void requireWidgets(const char* service)
{
    const QCoreApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        refuse(service, QStringLiteral(" needs a QApplication in the host process"));
    if (QThread::currentThread() != app->thread())
        refuse(service, QStringLiteral(" opens a window: call it on the thread of the QApplication"));
    if (!modalWindowsCanClose())
        refuse(service, QStringLiteral(" opens a window, and there is no display to show it on"));
}

// Printing needs fonts and the PDF engine of a GUI application, on whatever thread.
void requireGui(const char* service)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        refuse(service, QStringLiteral(" needs a QGuiApplication in the host process"));
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

    // The batch services need no window: they run the batch operations on plain data, on the
    // calling thread's module state.
    void PrintAll(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName) override
    {
        requireGui("PrintAll");
        QString none;
        BatchReports batch;
        batch.load();
        Batch::PrintAllRec(batch, PJob, StartPageNum, TotalPages, PrinterName, false, none, true);
    }

    void RTF_All(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName,
                 QString& RTF_Text, bool EnablePageNumbering) override
    {
        BatchReports batch;
        batch.load();
        Batch::PrintAllRec(batch, PJob, StartPageNum, TotalPages, PrinterName, true, RTF_Text, EnablePageNumbering);
    }

    void RTF_NT(QString& RTF_Text) override
    {
        BatchReports batch;
        Batch::PrintAllRecOnly_NT(batch, RTF_Text);
    }
};

WindowServices g_windowServices;
[[maybe_unused]] const bool installed = (setRecordServices(&g_windowServices), true);

} // namespace

} // namespace vxRecInfo
