#pragma once
// The printers of the process: the CUPS destinations Qt reports plus one built-in PDF printer
// that writes every job to a new numbered PDF file. One printer is current; the print engine
// and the printer dialog work on it. Geometry is in twips (1440 per inch).

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace vxRecInfo {

class Printer
{
public:
    // The name of the built-in PDF printer.
    static const QString PdfPrinterName;

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
    // Ends the document: the job goes to the printer (or into its PDF file).
    void EndDoc();
    bool jobOpen() const;

    // The device the print engine lays text out and draws on; starts the document.
    QPaintDevice* device();
    QPainter& painter();
    double dpiX() const;
    double dpiY() const;

    // The Qt printer behind it (for the system's properties dialog).
    QPrinter* qtPrinter() { return &qprinter(); }

    // The PDF file of the last job the PDF printer ended (empty for other printers).
    QString lastOutputFile() const { return m_lastOutput; }

private:
    void beginJob();
    QPrinter& qprinter() const; // made at first use, so a name alone can stand in a list
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;

    QString m_name;
    mutable std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QFont m_font;
    QString m_output;
    QString m_lastOutput;
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
// The current printer; the first installed printer until another is chosen.
Printer& currentPrinter();
// Makes the printer of that device name current; false (nothing changes) when none is.
bool setCurrentPrinter(const QString& deviceName);

// Where the PDF printer writes: $VXRECINFO_PDF_DIR, or a folder the host set, or
// $XDG_DATA_HOME/Orvale Systems/Printouts. Each job is a new file job-NNNN.pdf.
QString pdfOutputFolder();
void setPdfOutputFolder(const QString& folder);

} // namespace vxRecInfo
