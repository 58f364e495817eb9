// SPDX-License-Identifier: MIT
#include "Printer.h"

#include "CupsJob.h"

#include "automation/AtomicFile.h"
#include "automation/RuntimeError.h"
#include "component/ModuleState.h"
#include "support/LabelIds.h"
#include "support/Labels.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <mutex>

namespace vxRecInfo {

namespace {

constexpr double TwipsPerInch = 1440.0;

// Qt's printer support makes its plugin and printer list at first use without a guard: threads
// that print or list printers at once take turns there.
std::mutex& printSupportMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::mutex g_folderMutex;
QString g_pdfFolder;

constexpr int LastJobNumber = 99999;

QString jobFileName(const QString& folder, int n)
{
    return folder + QStringLiteral("/job-%1.pdf").arg(n, 4, 10, QLatin1Char('0'));
}

// A PDF job is written to an unnamed file in the folder and linked in under the next free
// job-NNNN.pdf only when it is whole, so no reader (nor a killed process) ever sees half a job.
// The link never replaces a file or a link of that name; two threads get two numbers. name
// is the name free now, what errors before the end call the job.
std::unique_ptr<AtomicFile> openJobFile(QString& name)
{
    const QString folder = pdfOutputFolder();
    if (!QDir().mkpath(folder))
        throw RuntimeError(Err::PathNotFound, QStringLiteral("The PDF printer cannot write to %1").arg(folder));
    int n = 1;
    for (; n < LastJobNumber; ++n) {
        const QFileInfo taken(jobFileName(folder, n));
        if (!taken.exists() && !taken.isSymLink())
            break;
    }
    name = jobFileName(folder, n);
    auto file = std::make_unique<AtomicFile>(name, QStringLiteral("the PDF job"));
    file->open();
    return file;
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

Printer::~Printer()
{
    AbortDoc();
}

QPrinter& Printer::qprinter() const
{
    if (m_printer)
        return *m_printer;
    std::unique_lock lock(printSupportMutex());
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_name);
    if (info.isNull())
        throw RuntimeError(Err::PrinterError, QStringLiteral("No printer named \"%1\"").arg(m_name));
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    lock.unlock();
    // Margins are the print engine's business: draw on the whole paper.
    m_printer->setFullPage(true);
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0));
    return *m_printer;
}

namespace {

// Letter paper at 1200 dpi, drawn on from its corner.
std::unique_ptr<QPdfWriter> pdfWriter(QIODevice* device)
{
    auto writer = std::make_unique<QPdfWriter>(device);
    writer->setResolution(1200);
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer->setTitle(QStringLiteral("vxRecInfo report"));
    return writer;
}

} // namespace

QPagedPaintDevice& Printer::metrics() const
{
    if (!isPdfPrinter())
        return qprinter();
    // A writer of the job's kind that never writes: the PDF printer needs no print system.
    if (!m_pdfMetrics) {
        m_nowhere = std::make_unique<QBuffer>();
        m_pdfMetrics = pdfWriter(m_nowhere.get());
    }
    return *m_pdfMetrics;
}

QPagedPaintDevice& Printer::jobDevice() const
{
    if (m_writer)
        return *m_writer;
    return metrics();
}

QString Printer::DriverName() const
{
    return isPdfPrinter() ? QStringLiteral("PDF") : QStringLiteral("CUPS");
}

double Printer::dpiX() const
{
    return metrics().logicalDpiX();
}

double Printer::dpiY() const
{
    return metrics().logicalDpiY();
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
    return metrics().pageLayout().fullRectPoints().width() * 20.0;
}

double Printer::paperHeight() const
{
    return metrics().pageLayout().fullRectPoints().height() * 20.0;
}

// The PDF printer prints on the whole paper; a CUPS printer where its device lets it.
double Printer::printableWidth() const
{
    if (isPdfPrinter())
        return paperWidth();
    return toTwipsX(qprinter().pageRect(QPrinter::DevicePixel).width());
}

double Printer::printableHeight() const
{
    if (isPdfPrinter())
        return paperHeight();
    return toTwipsY(qprinter().pageRect(QPrinter::DevicePixel).height());
}

double Printer::physicalOffsetX() const
{
    if (isPdfPrinter())
        return 0;
    return toTwipsX(qprinter().pageRect(QPrinter::DevicePixel).left() - qprinter().paperRect(QPrinter::DevicePixel).left());
}

double Printer::physicalOffsetY() const
{
    if (isPdfPrinter())
        return 0;
    return toTwipsY(qprinter().pageRect(QPrinter::DevicePixel).top() - qprinter().paperRect(QPrinter::DevicePixel).top());
}

double Printer::TextWidth(const QString& text) const
{
    return toTwipsX(QFontMetricsF(m_font, &metrics()).horizontalAdvance(text));
}

double Printer::TextHeight(const QString& text) const
{
    const QFontMetricsF fontMetrics(m_font, &metrics());
    const qsizetype lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    return toTwipsY(fontMetrics.height() * double(lines));
}

void Printer::setJobInfo(PdfJobInfo info)
{
    m_jobInfo = std::move(info);
    if (isPdfPrinter() && !jobOpen())
        m_jobSettings = currentPdfJobSettings();
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
        // A key that cannot sign fails the job before it has a file.
        if (!m_jobSettings)
            m_jobSettings = currentPdfJobSettings();
        m_jobStarted = QDateTime::currentDateTimeUtc();
        m_job = openJobFile(m_output);
        m_writer = pdfWriter(&m_job->device());
        if (m_jobSettings->archival)
            m_writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        m_writer->setTitle(pdfJobTitle(m_jobInfo.title, 1));
        m_writer->setCreator(QStringLiteral("vxRecInfo"));
    } else {
        m_jobTitle = cups::uniqueJobTitle();
        qprinter().setDocName(m_jobTitle);
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&jobDevice())) {
        AbortDoc();
        throw RuntimeError(Err::PrinterError, QStringLiteral("The printer \"%1\" cannot start a document").arg(m_name));
    }
    m_painter->setFont(m_font);
    CurrentX = 0;
    CurrentY = 0;
}

QPaintDevice* Printer::device()
{
    beginJob();
    return &jobDevice();
}

QPaintDevice* Printer::layoutDevice() const
{
    return &metrics();
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
    if (!jobDevice().newPage())
        throw RuntimeError(Err::PrinterError, QStringLiteral("The printer \"%1\" cannot start a new page").arg(m_name));
    checkJobFile();
}

// A full disk stops the job at the next page, not only at its end.
void Printer::checkJobFile() const
{
    if (m_job && m_job->deviceFailure() != 0)
        throw fileError(m_job->deviceFailure(), m_output, QStringLiteral("the PDF job"));
}

void Printer::Print(const QString& text)
{
    beginJob();
    startPendingPage();
    const QFontMetricsF fontMetrics(m_font, &metrics());
    const QPointF at(CurrentX * dpiX() / TwipsPerInch, CurrentY * dpiY() / TwipsPerInch + fontMetrics.ascent());
    m_painter->setFont(m_font);
    m_painter->setPen(Qt::black);
    m_painter->drawText(at, text);
    CurrentX = 0;
    CurrentY += toTwipsY(fontMetrics.height());
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
    const bool ended = m_painter->end();
    m_painter.reset();
    if (isPdfPrinter())
        endPdfJob(ended);
    else
        endCupsJob(ended);
}

void Printer::endPdfJob(bool ended)
{
    m_writer.reset();
    const std::unique_ptr<AtomicFile> job = std::move(m_job);
    const PdfJobInfo info = std::exchange(m_jobInfo, {});
    const PdfJobSettings settings = std::exchange(m_jobSettings, std::nullopt).value_or(PdfJobSettings{});
    if (!ended)
        throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the PDF job %2 could not be finished")
                                                  .arg(standardErrorDescription(Err::PrinterError), m_output));
    // The record's metadata and signature go on as one incremental update: the pages stay the
    // bytes Qt wrote.
    job->write(pdfRecordUpdate(job->readBack(), info, settings, m_jobStarted, Label(LabelId::RecordReport)));
    // A failed write fails the commit (61 for a full disk); only a whole file gets a name.
    const QString folder = QFileInfo(m_output).path();
    m_lastOutput = job->commitAsNew([&](int n) { return jobFileName(folder, n); }, LastJobNumber);
}

void Printer::endCupsJob(bool ended)
{
    m_jobInfo = {};
    // The engine has just submitted the job, or failed to: what libcups said is this thread's.
    const QString submitError = cups::lastRequestError();
    if (!ended || qprinter().printerState() == QPrinter::Error)
        throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the printer \"%2\" could not finish the job%3")
                                                  .arg(standardErrorDescription(Err::PrinterError), m_name,
                                                       submitError.isEmpty() ? QString() : QStringLiteral(": ") + submitError));
    cups::confirmJob(m_name, m_jobTitle, submitError);
}

void Printer::AbortDoc() noexcept
{
    m_newPagePending = false;
    if (m_painter) {
        if (m_painter->isActive()) {
            if (!m_writer)
                qprinter().abort();
            m_painter->end();
            if (!m_writer)
                cups::cancelJob(m_name, m_jobTitle);
        }
        m_painter.reset();
    }
    m_writer.reset();
    m_job.reset(); // never named: nothing stays
    m_jobInfo = {};
    m_jobSettings.reset();
}

namespace {

std::mutex g_listMutex;
std::function<QStringList()> g_listSource;

// The thread's current printer lives in its module state: two threads print at once, each on
// its own printer object and job.
struct CurrentPrinterPart {
    std::unique_ptr<Printer> printer;
};

std::unique_ptr<Printer>& current()
{
    return ModuleState::current().part<CurrentPrinterPart>().printer;
}

} // namespace

void setPrinterListSource(std::function<QStringList()> source)
{
    std::lock_guard lock(g_listMutex);
    g_listSource = std::move(source);
}

QStringList Printers()
{
    std::function<QStringList()> source;
    {
        std::lock_guard lock(g_listMutex);
        source = g_listSource;
    }
    if (source)
        return source();
    QStringList names;
    {
        std::lock_guard lock(printSupportMutex());
        names = QPrinterInfo::availablePrinterNames();
    }
    names.sort();
    names.removeAll(Printer::PdfPrinterName);
    names.append(Printer::PdfPrinterName);
    return names;
}

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

void abortCurrentJob() noexcept
{
    if (const std::unique_ptr<Printer>& printer = current())
        printer->AbortDoc();
}

} // namespace vxRecInfo
