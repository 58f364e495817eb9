// SPDX-License-Identifier: MIT
// A job still open when the application object goes: the printer and its job must go with the
// application, not after it (a PDF engine ended then crashes the process), and the unfinished
// file with them. For print-failures.sh: with "hang FOLDER" it prints pages into FOLDER, says
// "ready" and waits to be killed; with "abandon QUEUE" it starts a job on the CUPS queue QUEUE
// and abandons it.

#include "TestEnvironment.h"

#include "printing/Printer.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>

using namespace vxRecInfo;

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "hang") == 0) {
        qputenv("VXRECINFO_PDF_DIR", argv[2]);
        QGuiApplication app(argc, argv);
        setPrinterListSource([] { return QStringList{Printer::PdfPrinterName}; });
        setCurrentPrinter(Printer::PdfPrinterName);
        for (int page = 0; page < 20; ++page) {
            currentPrinter().Print(QStringLiteral("page %1 of a job that is killed").arg(page));
            currentPrinter().NewPage();
        }
        currentPrinter().Print(QStringLiteral("last"));
        std::printf("ready\n");
        std::fflush(stdout);
        QThread::sleep(60);
        return 3;
    }
    if (argc == 3 && std::strcmp(argv[1], "abandon") == 0) {
        QApplication app(argc, argv); // as recinfo prints
        if (!setCurrentPrinter(QString::fromLocal8Bit(argv[2])))
            return 2;
        currentPrinter().Print(QStringLiteral("half a report"));
        currentPrinter().AbortDoc();
        return 0;
    }
    QTemporaryDir home;
    if (!testing::isolateFromUserFiles(home))
        return 1;
    QTemporaryDir folder;
    qputenv("VXRECINFO_PDF_DIR", folder.path().toLocal8Bit());
    {
        QGuiApplication app(argc, argv);
        setPrinterListSource([] { return QStringList{Printer::PdfPrinterName}; });
        setCurrentPrinter(Printer::PdfPrinterName);
        currentPrinter().Print(QStringLiteral("unfinished"));
        if (!currentPrinter().jobOpen())
            return 2;
    }
    const QStringList left = QDir(folder.path()).entryList(QDir::Files);
    if (!left.isEmpty()) {
        std::fprintf(stderr, "the unfinished job stayed: %s\n", qPrintable(left.join(QLatin1Char(' '))));
        return 1;
    }
    return 0;
}
