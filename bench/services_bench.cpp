// SPDX-License-Identifier: MIT
// The batch services over many datasets, one run per process so that peak memory is the run's
// own: RTF_All (rich text of every dataset) and PrintAll on the PDF printer; print-soffice also
// has LibreOffice convert the same reports' rich text, joined into one document, to PDF.
// Usage: services_bench rtf-all N | print N | print-soffice N — prints one "key=value" line per
// measure.

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"
#include "component/SuiteSettings.h"
#include "printing/PdfRecord.h"
#include "printing/Printer.h"

#include "BenchDatasets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <sys/resource.h>

using namespace vxRecInfo;

namespace {

int pdfPages(const QString& pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
        .match(QString::fromUtf8(info.readAllStandardOutput()))
        .captured(1)
        .toInt();
}

// RTF_All's reports (each followed by a form feed) as one RTF document, a page break between
// reports: the tables of the first report, then every report's body in a group of its own.
// The reports of one batch declare the same fonts and colours, so the bodies agree with them.
QByteArray joinedRtf(const QString& reports)
{
    QByteArray joined;
    const QStringList documents = reports.split(QChar(12), Qt::SkipEmptyParts);
    for (const QString& document : documents) {
        const QByteArray rtf = document.toLatin1();
        const qsizetype body = rtf.indexOf("\\viewkind4");
        const qsizetype end = rtf.lastIndexOf('}');
        if (body < 0 || end < body)
            return {};
        if (joined.isEmpty())
            joined = rtf.left(body);
        else
            joined += "\\page\n";
        joined += '{' + rtf.mid(body, end - body) + "}\n";
    }
    return joined + '}';
}

// CPU seconds (user and system) of this process, or of its waited-for children.
double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Conversion {
    double seconds = 0;
    double cpuSeconds = 0;
    int pages = 0;
};

// LibreOffice converting the RTF file to PDF in a profile of its own (made by a first,
// untimed conversion): its time, the CPU time of its processes and the pages; no pages when it
// cannot.
Conversion sofficeConversion(const QString& soffice, const QTemporaryDir& home, const QString& rtf)
{
    const QString profile = QUrl::fromLocalFile(home.filePath(QStringLiteral("soffice-profile"))).toString();
    const QString outDir = home.filePath(QStringLiteral("soffice-pdf"));
    const auto convert = [&](const QString& file) {
        QProcess p;
        p.start(soffice, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                          QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir,
                          file});
        return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    const QString warmUp = home.filePath(QStringLiteral("warm-up.rtf"));
    QFile small(warmUp);
    if (!small.open(QIODevice::WriteOnly) || small.write("{\\rtf1\\ansi warm-up\\par}") < 0)
        return {};
    small.close();
    if (!convert(warmUp))
        return {};
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuSeconds(RUSAGE_CHILDREN);
    if (!convert(rtf))
        return {};
    return {timer.nsecsElapsed() / 1e9, cpuSeconds(RUSAGE_CHILDREN) - cpu,
            pdfPages(outDir + QLatin1Char('/') + QFileInfo(rtf).completeBaseName() + QStringLiteral(".pdf"))};
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A throw-away PKCS#12 key (passphrase "bench") made by openssl in the folder; empty on failure.
QString makeSigningKey(const QTemporaryDir& home)
{
    const QString pem = home.filePath(QStringLiteral("key.pem"));
    const QString cert = home.filePath(QStringLiteral("cert.pem"));
    const QString p12 = home.filePath(QStringLiteral("key.p12"));
    const QList<QStringList> steps = {
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
         QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
         QStringLiteral("/CN=Bench"), QStringLiteral("-keyout"), pem, QStringLiteral("-out"), cert},
        {QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-inkey"), pem, QStringLiteral("-in"), cert,
         QStringLiteral("-out"), p12, QStringLiteral("-passout"), QStringLiteral("pass:bench")}};
    for (const QStringList& step : steps) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), step);
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            return {};
    }
    return p12;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("VXRECINFO_PDF_DIR", home.filePath(QStringLiteral("pdf")).toLocal8Bit());
    QApplication app(argc, argv);
    setSuiteSettingsFile(home.filePath(QStringLiteral("LoggerSuite.ini")));
    const QStringList args = app.arguments();
    const QStringList modes = {QStringLiteral("rtf-all"), QStringLiteral("print"), QStringLiteral("print-soffice"),
                               QStringLiteral("print-signed")};
    if (args.size() != 3 || !modes.contains(args[1])) {
        QTextStream(stderr) << "usage: services_bench rtf-all N | print N | print-soffice N | print-signed N\n";
        return 2;
    }
    const int count = args[2].toInt();
    auto record = bench::commitDatasets(count);
    QTextStream out(stdout);
    double job = 0;
    std::int16_t page = 0;
    std::int16_t pages = std::int16_t(count);
    QElapsedTimer timer;
    if (args[1] == QLatin1String("rtf-all")) {
        QString printer;
        QString rtf;
        timer.start();
        if (failed(record->RTF_All(&job, &page, &pages, &printer, &rtf, nullptr)))
            return 1;
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double megabytes = rtf.toLatin1().size() / 1e6;
        out << "datasets=" << count << " seconds=" << seconds << " megabytes=" << megabytes
            << " mb_per_second=" << megabytes / seconds << " peak_mb=" << peakKilobytes() * 1024 / 1e6 << "\n";
        return 0;
    }
    QString printer = Printer::PdfPrinterName;
    // Compared with the signed run, the plain one must not pay for the fonts' first loading.
    if (args[1] == QLatin1String("print-signed") && failed(record->PrintAll(&job, &page, &pages, &printer)))
        return 1;
    page = 0;
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    timer.start();
    if (failed(record->PrintAll(&job, &page, &pages, &printer)))
        return 1;
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    const int printed = pdfPages(currentPrinter().lastOutputFile());
    const double pagesPerSecond = printed / seconds;
    // CPU time as well: on a busy machine the time alone says more about the machine.
    out << "datasets=" << count << " seconds=" << seconds << " pages=" << printed << " pages_per_second=" << pagesPerSecond
        << " cpu_seconds=" << cpu << " pages_per_cpu_second=" << printed / cpu << "\n";
    if (args[1] == QLatin1String("print-signed")) {
        // The same batch again as signed PDF/A: the signature should cost one digest and one CMS
        // per job, not a share of every page.
        const QString key = makeSigningKey(home);
        if (key.isEmpty())
            return 1;
        pdfRecordOptions().archival = true;
        pdfRecordOptions().signingKey = key;
        qputenv("VXRECINFO_SIGN_PASSPHRASE", "bench");
        page = 0;
        timer.start();
        if (failed(record->PrintAll(&job, &page, &pages, &printer)))
            return 1;
        const double signedSeconds = timer.nsecsElapsed() / 1e9;
        const int signedPages = pdfPages(currentPrinter().lastOutputFile());
        out << "signed_seconds=" << signedSeconds << " signed_pages=" << signedPages
            << " signed_pages_per_second=" << signedPages / signedSeconds
            << " signed_over_plain=" << (signedPages / signedSeconds) / pagesPerSecond << "\n";
        return 0;
    }
    if (args[1] != QLatin1String("print-soffice"))
        return 0;
    out.flush();
    const QString sofficePath = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (sofficePath.isEmpty()) {
        out << "soffice=missing (LibreOffice comparison skipped)\n";
        return 0;
    }
    QString rtf;
    page = 0;
    if (failed(record->RTF_All(&job, &page, &pages, &printer, &rtf, nullptr)))
        return 1;
    QFile joined(home.filePath(QStringLiteral("reports.rtf")));
    const QByteArray document = joinedRtf(rtf);
    if (document.isEmpty() || !joined.open(QIODevice::WriteOnly) || joined.write(document) != document.size())
        return 1;
    joined.close();
    const Conversion soffice = sofficeConversion(sofficePath, home, joined.fileName());
    if (soffice.pages <= 0) {
        out << "soffice=failed (LibreOffice comparison skipped)\n";
        return 0;
    }
    const double sofficePagesPerSecond = soffice.pages / soffice.seconds;
    out << "soffice_seconds=" << soffice.seconds << " soffice_pages=" << soffice.pages
        << " soffice_pages_per_second=" << sofficePagesPerSecond
        << " times_soffice=" << pagesPerSecond / sofficePagesPerSecond
        << " soffice_cpu_seconds=" << soffice.cpuSeconds
        << " times_soffice_cpu=" << (printed / cpu) / (soffice.pages / soffice.cpuSeconds) << "\n";
    return 0;
}
