#include "FuzzSupport.h"

#include "TestEnvironment.h"
#include "support/MessageService.h"
#include "windows/ModalService.h"

#include <QApplication>
#include <QDialog>

#include <memory>

namespace vxRecInfo::fuzz {

namespace {

class SilentMessages final : public MessageService
{
public:
    int show(const QString&, int style, const QString&) override
    {
        const int buttons = style & 7;
        return buttons == MsgBox::YesNo || buttons == MsgBox::YesNoCancel ? MsgBox::ResultYes : MsgBox::ResultOK;
    }
};

// A window opened by a fuzzed call closes at once, as if the user pressed Cancel.
class ClosingWindows final : public ModalService
{
public:
    int showModal(QDialog& dialog) override
    {
        dialog.reject();
        return dialog.result();
    }
    void showPrinterProperties(QWidget*, Printer&) override {}
};

} // namespace

void initialise()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    static QTemporaryDir home;
    check(testing::isolateFromUserFiles(home), "fuzz: no private home folder");
    qputenv("VXRECINFO_PDF_DIR", home.filePath(QStringLiteral("pdf")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    setMessageService(std::make_unique<SilentMessages>());
    setModalService(std::make_unique<ClosingWindows>());
}

} // namespace vxRecInfo::fuzz
