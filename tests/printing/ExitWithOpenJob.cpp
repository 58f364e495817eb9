// A job still open when the application object goes: the printer and its job must go with the
// application, not after it (a PDF engine ended then crashes the process), and the unfinished
// file with them.

#include "printing/Printer.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace vxRecInfo;

int main(int argc, char** argv)
{
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
