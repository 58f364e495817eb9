// Printing to a real CUPS queue: a private CUPS server (its own configuration, a loopback port)
// with one queue, found among the printers, printed to, and the job completed when printing returns.

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"
#include "printing/Printer.h"
#include "richtext/PrintEngine.h"
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace vxRecInfo;

namespace {

const QString Queue = QStringLiteral("vxRecInfoTestQueue");

QString lpstat(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("lpstat"), args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(CupsPrinter, PrivateQueueIsListedPrintedToAndCompletes)
{
    const QStringList printers = Printers();
    ASSERT_TRUE(printers.contains(Queue)) << "the private queue must be among the installed printers: "
                                          << printers.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(printers.constLast(), Printer::PdfPrinterName);

    ASSERT_TRUE(setCurrentPrinter(Queue));
    EXPECT_EQ(currentPrinter().DeviceName(), Queue);
    EXPECT_EQ(currentPrinter().DriverName(), QStringLiteral("CUPS"));

    RichTextBox box;
    RTBFormat::ClearRTBFormat();
    QString report;
    RTBFormat::AddRTBFormatInfo(report, QStringLiteral("Cold room 4\r\n"), {}, 0x800005, 10, 1, 2);
    report += QStringLiteral("\tSerial Number:\tA1029384\r\n");
    RTBFormat::FinishRTBFormat(box, report);
    RTBFormat::WYSIWYG_RTF(box, 1440, 1440);
    RTBFormat::PrintRTF(box, 1440, 1440, 1440, 1440, false, QStringLiteral("A1029384"));

    // Printed means completed: no waiting here.
    EXPECT_TRUE(lpstat({QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), Queue}).contains(Queue))
        << "reported printed, yet not completed; pending: " << lpstat({QStringLiteral("-o"), Queue}).toStdString();
}

TEST(CupsPrinter, AnAbandonedJobIsCanceled)
{
    ASSERT_TRUE(setCurrentPrinter(Queue));
    // A stopped queue holds the job, so what became of it shows.
    ASSERT_EQ(QProcess::execute(QStringLiteral("cupsdisable"), {Queue}), 0);
    currentPrinter().Print(QStringLiteral("half a report"));
    currentPrinter().AbortDoc();
    const QString queued = lpstat({QStringLiteral("-o"), Queue});
    QProcess::execute(QStringLiteral("cancel"), {QStringLiteral("-a"), Queue});
    QProcess::execute(QStringLiteral("cupsenable"), {Queue});
    EXPECT_FALSE(queued.contains(Queue)) << "the abandoned job went to the printer: " << queued.toStdString();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!vxRecInfo::testing::isolateFromUserFiles(home))
        return 1;
    QTemporaryDir cups(QStringLiteral("/tmp/vxrecinfo-cups-XXXXXX"));
    if (!cups.isValid())
        return 1;
    const int port = 20000 + int(getpid() % 20000);
    // libcups reads the server at its first use: it must be set before anything asks for printers.
    qputenv("CUPS_SERVER", QStringLiteral("127.0.0.1:%1").arg(port).toLocal8Bit());
    const QString script = QStringLiteral(VX_PRIVATE_CUPS_SCRIPT);
    if (QProcess::execute(script, {QStringLiteral("start"), cups.path(), QString::number(port)}) != 0) {
        fprintf(stderr, "could not start a private CUPS server (cupsd from cups-daemon)\n");
        return 1;
    }
    int status = 1;
    {
        QApplication app(argc, argv);
        setSuiteSettingsFile(home.filePath(QStringLiteral("LoggerSuite.ini")));
        status = RUN_ALL_TESTS();
        ModuleState::endApartment();
    }
    QProcess::execute(script, {QStringLiteral("stop"), cups.path()});
    return status;
}
