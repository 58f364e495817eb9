// SPDX-License-Identifier: MIT
// The batch services tell the host's progress observer about every dataset and printed page.

#include "RecordingsFile.h"

#include "PdfReader.h"

#include "component/ModuleState.h"
#include "component/SuiteSettings.h"
#include "printing/Printer.h"
#include "report/RecInfoCode.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class CountingObserver final : public IProgressObserver
{
public:
    void datasetDone(int done, int total) override { datasets << QStringLiteral("%1/%2").arg(done).arg(total); }
    void pageDone(int) override { ++pages; }

    QStringList datasets;
    int pages = 0;
};

} // namespace

TEST(ProgressObserver, BatchServicesCountDatasetsAndPrintedPages)
{
    QTemporaryDir pdfDir;
    qputenv("VXRECINFO_PDF_DIR", pdfDir.path().toLocal8Bit());
    ModuleState::endApartment();
    recinfo::RecordingsFile file(QStringLiteral(VX_SAMPLES_DIR "/rf-network-alarms.json"));
    file.load();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(RecInfoCode::infoFilePath()).absolutePath()));
    const std::int16_t datasets = std::int16_t(file.committed());
    struct Case {
        const char* service;
        std::vector<Variant> args;
        bool prints;
    };
    const Case cases[] = {
        {"PrintAll", {0.0, std::int16_t(0), datasets, Printer::PdfPrinterName}, true},
        {"RTF_All", {0.0, std::int16_t(0), datasets, QString(), QString()}, false},
        {"RTF_NT", {QString()}, false},
    };
    for (Case c : cases) {
        CountingObserver observer;
        ModuleState::current().setProgressObserver(&observer);
        const InvokeResult r = invokeByName(file.record(), QString::fromLatin1(c.service), InvokeKind::Method, c.args);
        ModuleState::current().setProgressObserver(nullptr);
        ASSERT_TRUE(r.ok()) << c.service << ": " << r.error.description.toStdString();
        EXPECT_EQ(observer.datasets, QStringList({QStringLiteral("1/2"), QStringLiteral("2/2")}))
            << c.service << ": the host's progress must count every dataset once, in order";
        const int pages = c.prints ? pdfPageCount(currentPrinter().lastOutputFile()) : 0;
        EXPECT_EQ(observer.pages, pages) << c.service << ": one notice per printed page";
    }
    ModuleState::endApartment();
    setSuiteSettingsFile({});
    qunsetenv("VXRECINFO_PDF_DIR");
}
