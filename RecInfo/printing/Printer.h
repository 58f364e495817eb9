// SPDX-License-Identifier: MIT
#pragma once
// The printers of the process: the CUPS destinations Qt reports plus one built-in PDF printer
// that writes every job to a new numbered PDF file. Each thread (apartment) has its own current
// printer; the print engine and the printer dialog work on it. Geometry is in twips (1440 per
// inch).

#include "PdfRecord.h"

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QIODevice;
class QPagedPaintDevice;
class QPainter;
class QPaintDevice;
class QPdfWriter;
class QPrinter;

namespace vxRecInfo {

class AtomicFile;

class Printer
{
public:
    // The name of the built-in PDF printer.
    // Inline, so that it is made before any variable of a file that includes this one.
    static inline const QString PdfPrinterName = QStringLiteral("vxRecInfo PDF");

    explicit Printer(const QString& deviceName);
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    QString DeviceName() const { return m_name; }
    QString DriverName() const;
    bool isPdfPrinter() const { return m_name == PdfPrinterName; }

    // Paper and printable area, and the printable area's offset from the paper's corner.
    double paperWidth() const;
    double paperHeight() const;
    double printableWidth() const;
    double printableHeight() const;
    double physicalOffsetX() const;
    double physicalOffsetY() const;

    // Strings in the printer's current font.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;
    double CurrentX = 0;
    double CurrentY = 0;
    // Prints text at the current position (starting the document if none is open) and moves
    // to the start of the next line, as the classic printer object does.
    void Print(const QString& text);
    void NewPage();
    // Ends the document and returns once the job is printed: a PDF job gets its file name only
    // now, when the whole file is written; a CUPS job once the server has it completed. On a
    // failure the job is gone (error 61 for a full disk or another file error, else 482).
    void EndDoc();
    // Abandons the open job: a PDF job leaves no file, a CUPS job is canceled on the server
    // unless it is printed already. A printer destroyed with a job open does the same, and a
    // killed process leaves no PDF file either: only EndDoc finishes a job.
    void AbortDoc() noexcept;
    bool jobOpen() const;

    // The device the print engine lays text out and draws on; starts the document.
    QPaintDevice* device();
    // A device of the same resolution that outlives every job: what a box laid out for the
    // printer keeps.
    QPaintDevice* layoutDevice() const;
    QPainter& painter();
    double dpiX() const;
    double dpiY() const;

    // The Qt printer behind a CUPS printer (for the system's properties dialog); null for the
    // PDF printer, which needs no print system.
    QPrinter* qtPrinter() { return isPdfPrinter() ? nullptr : &qprinter(); }

    // What the next job holds, for the PDF printer's metadata; kept until that job ends. The
    // PDF printer opens the signing key now, so a key that cannot sign fails before a page is
    // printed (see currentPdfJobSettings).
    void setJobInfo(PdfJobInfo info);

    // The PDF file of the last job the PDF printer ended (empty for other printers).
    QString lastOutputFile() const { return m_lastOutput; }

private:
    void beginJob();
    void endPdfJob(bool ended);
    void endCupsJob(bool ended);
    void checkJobFile() const;
    QPrinter& qprinter() const; // made at first use, so a name alone can stand in a list
    QPagedPaintDevice& metrics() const;
    QPagedPaintDevice& jobDevice() const;
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;

    QString m_name;
    // A CUPS printer: its metrics and its jobs' device.
    mutable std::unique_ptr<QPrinter> m_printer;
    // The PDF printer's metrics: a writer that never writes.
    mutable std::unique_ptr<QIODevice> m_nowhere;
    mutable std::unique_ptr<QPdfWriter> m_pdfMetrics;
    // A PDF job: its unnamed file, the writer that fills it, and the name it is meant to get.
    std::unique_ptr<AtomicFile> m_job;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    QFont m_font;
    QString m_output;
    // A CUPS job's title, its own, by which it is found on the server.
    QString m_jobTitle;
    QString m_lastOutput;
    // A PDF job's record: what it holds, how it is written, when it began.
    PdfJobInfo m_jobInfo;
    std::optional<PdfJobSettings> m_jobSettings;
    QDateTime m_jobStarted;
    // A new page starts when something is drawn on it, so a job ended right after NewPage
    // leaves no blank page behind.
    bool m_newPagePending = false;
    void startPendingPage();
};

// Device names of the installed printers in a stable order: CUPS destinations by name, then
// the PDF printer.
QStringList Printers();
// Replaces where the list comes from (tests script it); an empty function restores the
// installed printers.
void setPrinterListSource(std::function<QStringList()> source);
// The calling thread's current printer; the first installed printer until another is chosen.
Printer& currentPrinter();
// Makes the printer of that device name current on the calling thread; false (nothing changes)
// when none is.
bool setCurrentPrinter(const QString& deviceName);
// Abandons the open job of the calling thread's current printer, if there is one.
void abortCurrentJob() noexcept;

// Where the PDF printer writes: $VXRECINFO_PDF_DIR, or a folder the host set, or
// $XDG_DATA_HOME/Orvale Systems/Printouts. Each job is a new file job-NNNN.pdf, linked in
// under the next free number once it is whole: an existing file, or a link of that name, is
// never written through.
QString pdfOutputFolder();
void setPdfOutputFolder(const QString& folder);

} // namespace vxRecInfo
