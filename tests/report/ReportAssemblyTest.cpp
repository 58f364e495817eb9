#include "ReportFixture.h"

#include "printing/Printer.h"
#include "report/BatchReports.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

// Headers, sections and their runs are pinned by the golden reports of tests/data/reports; here what the
// recinfo host cannot show: the box, the print document and its info file, the unshown batch.

namespace {

// The Statistics window as the batch always ran it: every selection builds the interactive report
// into the box, and the rich text is the box's.
class Window final : public DatasetList
{
public:
    RichTextBox box;
    Variant details = DetailsOff;
    int listCount = 1;

    void load() override
    {
        ModuleState::current().TimeZoneService.reset();
        box.setDefaultFont(u"Arial"_s, 10);
        listCount = int(Batch::lastDatasetIndex()) + 1;
        selectEntry(Batch::clampedListIndexPointer(listCount));
        Batch::printAllowed();
    }
    std::int16_t datasetOf(int entry) const override { return std::int16_t(entry); }
    void selectEntry(int entry) override { BuildReport(*this, std::int16_t(entry), false, {}, 0, 0, 0, 0, true); }
    void tickDetails() override { details = DetailsOn; }
    RichTextBox& txtInfo() override { return box; }
    Variant detailsValue() const override { return details; }
    QString windowName() const override { return u"frmStatistics"_s; }
    int datasetListCount() const override { return listCount; }
};

QString infoFolder() { return QFileInfo(infoFilePath()).absolutePath(); }
QByteArray infoFile()
{
    QFile file(infoFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using ReportAssemblyTest = ReportFixture;

} // namespace

TEST_F(ReportAssemblyTest, PrintDocumentIsTheReportPrintedFromTheWindowAndGoesToTheInfoFile)
{
    ASSERT_TRUE(QDir().mkpath(infoFolder()));
    const auto first = add([](RecordInfo& r) { r.put_Note(u"Keep cold"_s); });
    const auto second = add([](RecordInfo& r) { r.put_SerialNumber(u"B-2"_s); });
    Window window;
    // The serial number line names the first dataset, and only when the list holds exactly one entry.
    struct Case { Variant details; int listCount; std::int16_t index; QString serial; };
    for (const Case& c : {Case{DetailsOn, 1, first, u"4711"_s}, Case{Variant::null(), 1, second, u"4711"_s},
                          Case{DetailsOff, 2, first, {}}}) {
        window.details = c.details;
        window.listCount = c.listCount;
        BuildReport(window, c.index, true, QString(), 0, 0, 0, 0, true);
        EXPECT_EQ(window.box.SelStart() + window.box.SelLength(), 0) << "the report is left unselected";
        const QString printed = window.box.Text();
        window.box.setText(QString());
        const QString document = BuildPrintDocument(window, c.index);
        EXPECT_EQ(window.box.Text(), printed) << "a print document has the title and the note";
        EXPECT_EQ(document, printDocument(printed, c.serial)) << c.listCount << " entries, dataset " << c.index;
        EXPECT_EQ(infoFile(), (document + u"\r\n{[{PrintDoc}]}\r\n"_s).toUtf8()) << "the file holds the last document";
        // The empty paragraph after the last line break lies outside the selected text.
        for (const Paragraph& p : window.box.paragraphs())
            EXPECT_TRUE(p.length == 0 || (p.format.tabs == QList<std::int32_t>{144, 3000, 4500, 6000})) << p.start;
    }
    QDir(infoFolder()).removeRecursively();
    EXPECT_EQ(errorOf([&] { BuildPrintDocument(window, first); }), Err::PathNotFound)
        << "an info folder that does not exist must fail the document with error 76";
}

TEST_F(ReportAssemblyTest, BatchWithoutBoxGivesWhatTheShownBatchGives)
{
    ASSERT_TRUE(QDir().mkpath(infoFolder()));
    setPrinterListSource([] { return QStringList(); });
    using Tweak = std::function<void(RecordInfo&)>;
    const auto channels = [](std::vector<Variant> types, std::vector<Variant> highAlarm,
                             QString logger = u"A"_s) -> Tweak {
        return [=](RecordInfo& r) {
            r.put_Logger_Type(logger);
            r.put_Meas_Type(perChannel(VarType::Long, types));
            r.put_AlarmHighEnabled(perChannel(VarType::Boolean, highAlarm));
        };
    };
    struct Case { const char* what; std::vector<Tweak> datasets; bool folderForInfoFile = false; };
    const Case cases[] = {
        {"labels kept from the channel before",
         {channels({1, 2}, {true, true}), channels({3, 1}, {true, true}), channels({2, 6}, {false, false}),
          channels({6, 1}, {true, false}, u"2"_s)}},
        {"verdicts shown in message boxes", {[](RecordInfo& r) { r.put_Logger_Type(u"B"_s); }, {}}},
        {"an error in the middle",
         {{}, [](RecordInfo& r) { r.put_SignatureRead(arrayOfValues(VarType::String, {u"x"_s, u"1"_s, u"y"_s})); }, {}}},
        {"an info file that cannot be written", {{}}, true},
    };
    struct Outcome {
        QString text = u"caller's text"_s;
        std::int16_t page = 0;
        QString error;
        std::size_t messages = 0;
        QByteArray info;
        bool operator==(const Outcome&) const = default;
    };
    enum Mode { RtfAll, RtfNt, Joined };
    // Every run from the same start.
    const auto run = [&](DatasetList& list, Mode mode, bool folderForInfoFile) {
        Outcome o;
        ChannelLabels() = {};
        QDir(infoFilePath()).removeRecursively();
        QFile::remove(infoFilePath());
        if (folderForInfoFile)
            QDir().mkpath(infoFilePath());
        const std::size_t before = shown.size();
        double job = 2;
        std::int16_t pages = 9;
        QString printer;
        JoinedRtfWriter joined(u"Arial"_s, 10);
        try {
            if (mode == RtfNt)
                Batch::PrintAllRecOnly_NT(list, o.text);
            else
                list.load();
            if (mode == RtfAll)
                Batch::PrintAllRec(list, job, o.page, pages, printer, true, o.text, true);
            if (mode == Joined) {
                Batch::JoinAllRec(list, job, o.page, pages, printer, joined, true);
                joined.finish();
                o.text = QString::fromLatin1(joined.head() + joined.body());
            }
        } catch (const RuntimeError& e) {
            o.error = e.description();
        }
        o.messages = shown.size() - before;
        o.info = infoFile();
        return o;
    };
    for (const Case& c : cases) {
        restart();
        record().put_UserSettings(arrayOfValues(VarType::Variant, std::vector<Variant>(7, true)));
        for (const Tweak& tweak : c.datasets)
            add(tweak);
        Outcome all;
        for (const Mode mode : {RtfAll, RtfNt}) {
            Window statistics;
            BatchReports batch;
            const Outcome expected = run(statistics, mode, c.folderForInfoFile);
            EXPECT_EQ(run(batch, mode, c.folderForInfoFile), expected) << c.what << (mode == RtfNt ? ", RTF_NT" : "");
            all = mode == RtfAll ? expected : all;
        }
        // The joined document is RTF_All's reports merged into one.
        const QStringList reports = all.text.mid(13).split(QChar(12), Qt::SkipEmptyParts);
        all.text = all.error.isEmpty() ? mergeRtfDocuments(reports, u"Arial"_s, 10) : Outcome().text;
        BatchReports joining;
        EXPECT_EQ(run(joining, Joined, c.folderForInfoFile), all) << c.what << ", joined";
    }
    setPrinterListSource({});
}
