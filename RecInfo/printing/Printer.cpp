#include "Printer.h"

#include "automation/RuntimeError.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <mutex>

namespace vxRecInfo {

const QString Printer::PdfPrinterName = QStringLiteral("vxRecInfo PDF");

namespace {

constexpr double TwipsPerInch = 1440.0;

std::mutex g_folderMutex;
QString g_pdfFolder;

// The next free job-NNNN.pdf in the folder.
QString nextPdfFile()
{
    const QString folder = pdfOutputFolder();
    if (!QDir().mkpath(folder))
        throw RuntimeError(Err::PathNotFound, QStringLiteral("The PDF printer cannot write to %1").arg(folder));
    for (int n = 1; n < 100000; ++n) {
        const QString path = folder + QStringLiteral("/job-%1.pdf").arg(n, 4, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(path))
            return path;
    }
    throw RuntimeError(Err::PathFileAccessError, QStringLiteral("The PDF folder %1 is full").arg(folder));
}

} // namespace

QString pdfOutputFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("VXRECINFO_PDF_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    std::lock_guard lock(g_folderMutex);
    if (!g_pdfFolder.isEmpty())
        return g_pdfFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Orvale Systems/Printouts");
}

void setPdfOutputFolder(const QString& folder)
{
    std::lock_guard lock(g_folderMutex);
    g_pdfFolder = folder;
}

Printer::Printer(const QString& deviceName) : m_name(deviceName) {}

QPrinter& Printer::qprinter() const
{
    if (m_printer)
        return *m_printer;
    if (isPdfPrinter()) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setPageSize(QPageSize(QPageSize::Letter));
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(m_name);
        if (info.isNull())
            throw RuntimeError(Err::PrinterError, QStringLiteral("No printer named \"%1\"").arg(m_name));
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    // Margins are the print engine's business: draw on the whole paper.
    m_printer->setFullPage(true);
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0));
    m_printer->setDocName(QStringLiteral("vxRecInfo report"));
    return *m_printer;
}

Printer::~Printer()
{
    if (jobOpen())
        m_painter->end();
}

QString Printer::DriverName() const
{
    return isPdfPrinter() ? QStringLiteral("PDF") : QStringLiteral("CUPS");
}

double Printer::dpiX() const
{
    return qprinter().logicalDpiX();
}

double Printer::dpiY() const
{
    return qprinter().logicalDpiY();
}

double Printer::toTwipsX(double pixels) const
{
    return pixels * TwipsPerInch / dpiX();
}

double Printer::toTwipsY(double pixels) const
{
    return pixels * TwipsPerInch / dpiY();
}

double Printer::paperWidth() const
{
    return qprinter().pageLayout().fullRectPoints().width() * 20.0;
}

double Printer::paperHeight() const
{
    return qprinter().pageLayout().fullRectPoints().height() * 20.0;
}

double Printer::printableWidth() const
{
    return toTwipsX(qprinter().pageRect(QPrinter::DevicePixel).width());
}

double Printer::printableHeight() const
{
    return toTwipsY(qprinter().pageRect(QPrinter::DevicePixel).height());
}

double Printer::physicalOffsetX() const
{
    return toTwipsX(qprinter().pageRect(QPrinter::DevicePixel).left() - qprinter().paperRect(QPrinter::DevicePixel).left());
}

double Printer::physicalOffsetY() const
{
    return toTwipsY(qprinter().pageRect(QPrinter::DevicePixel).top() - qprinter().paperRect(QPrinter::DevicePixel).top());
}

double Printer::TextWidth(const QString& text) const
{
    return toTwipsX(QFontMetricsF(m_font, &qprinter()).horizontalAdvance(text));
}

double Printer::TextHeight(const QString& text) const
{
    const QFontMetricsF metrics(m_font, &qprinter());
    const qsizetype lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    return toTwipsY(metrics.height() * double(lines));
}

bool Printer::jobOpen() const
{
    return m_painter && m_painter->isActive();
}

void Printer::beginJob()
{
    if (jobOpen())
        return;
    if (isPdfPrinter()) {
        m_output = nextPdfFile();
        qprinter().setOutputFileName(m_output);
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&qprinter()))
        throw RuntimeError(Err::PrinterError, QStringLiteral("The printer \"%1\" cannot start a document").arg(m_name));
    m_painter->setFont(m_font);
    CurrentX = 0;
    CurrentY = 0;
}

QPaintDevice* Printer::device()
{
    beginJob();
    return &qprinter();
}

QPainter& Printer::painter()
{
    beginJob();
    startPendingPage();
    return *m_painter;
}

void Printer::startPendingPage()
{
    if (!m_newPagePending)
        return;
    m_newPagePending = false;
    if (!qprinter().newPage())
        throw RuntimeError(Err::PrinterError, QStringLiteral("The printer \"%1\" cannot start a new page").arg(m_name));
}

void Printer::Print(const QString& text)
{
    beginJob();
    startPendingPage();
    const QFontMetricsF metrics(m_font, &qprinter());
    const QPointF at(CurrentX * dpiX() / TwipsPerInch, CurrentY * dpiY() / TwipsPerInch + metrics.ascent());
    m_painter->setFont(m_font);
    m_painter->setPen(Qt::black);
    m_painter->drawText(at, text);
    CurrentX = 0;
    CurrentY += toTwipsY(metrics.height());
}

void Printer::NewPage()
{
    beginJob();
    startPendingPage();
    m_newPagePending = true;
    CurrentX = 0;
    CurrentY = 0;
}

void Printer::EndDoc()
{
    if (!jobOpen())
        return;
    m_newPagePending = false;
    m_painter->end();
    m_painter.reset();
    if (isPdfPrinter())
        m_lastOutput = m_output;
}

namespace {
std::function<QStringList()>& listSource()
{
    static std::function<QStringList()> source;
    return source;
}
} // namespace

void setPrinterListSource(std::function<QStringList()> source)
{
    listSource() = std::move(source);
}

QStringList Printers()
{
    if (listSource())
        return listSource()();
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.sort();
    names.removeAll(Printer::PdfPrinterName);
    names.append(Printer::PdfPrinterName);
    return names;
}

namespace {

std::unique_ptr<Printer>& current()
{
    static std::unique_ptr<Printer> printer;
    return printer;
}

} // namespace

Printer& currentPrinter()
{
    std::unique_ptr<Printer>& printer = current();
    if (!printer) {
        const QStringList names = Printers();
        if (names.isEmpty())
            throw RuntimeError(Err::PrinterError, QStringLiteral("No printer is installed"));
        printer = std::make_unique<Printer>(names.front());
    }
    return *printer;
}

bool setCurrentPrinter(const QString& deviceName)
{
    if (!Printers().contains(deviceName))
        return false;
    std::unique_ptr<Printer>& printer = current();
    if (printer && printer->DeviceName() == deviceName)
        return true;
    printer = std::make_unique<Printer>(deviceName);
    return true;
}

} // namespace vxRecInfo
