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

namespace {

class Window final : public ReportTarget
{
public:
    RichTextBox box;
    Variant details = DetailsOff;
    QString name = u"frmStatistics"_s;
    int listCount = 1;

    RichTextBox& txtInfo() override { return box; }
    Variant detailsValue() const override { return details; }
    QString windowName() const override { return name; }
    int datasetListCount() const override { return listCount; }
};

// The Statistics window's batch as it always ran: every selection builds the interactive report
// into the box, and the rich text is the box's.
class ShownList final : public DatasetList
{
public:
    void load() override
    {
        ModuleState::current().TimeZoneService.reset();
        m_box.setDefaultFont(u"Arial"_s, 10);
        m_count = int(Batch::lastDatasetIndex()) + 1;
        selectEntry(Batch::clampedListIndexPointer(m_count));
        Batch::printAllowed();
    }
    std::int16_t datasetOf(int entry) const override { return std::int16_t(entry); }
    void selectEntry(int entry) override { BuildReport(*this, std::int16_t(entry), false, {}, 0, 0, 0, 0, true); }
    void tickDetails() override { m_details = true; }
    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override { return std::int16_t(m_details ? 1 : 0); }
    QString windowName() const override { return u"frmStatistics"_s; }
    int datasetListCount() const override { return m_count; }

private:
    RichTextBox m_box;
    int m_count = 0;
    bool m_details = false;
};

class ReportAssemblyTest : public ReportFixture
{
protected:
    // The report as its sections write it one after the other.
    QString sections(std::int16_t i, bool details, bool importView, bool note)
    {
        return build([&](QString& s) {
            DataSourceSection(s, i);
            LoggerSection(s, i, details ? DetailsOn : DetailsOff);
            TimeSection(s, i, details ? DetailsOn : DetailsOff, importView);
            MeasurementsSection(s, i, details ? DetailsOn : DetailsOff);
            AlarmSection(s, i, details);
            UserInputSection(s, i);
            SignaturesSection(s, i);
            if (note)
                NoteSection(s, i);
        });
    }
    void expectTabStops(const RichTextBox& box)
    {
        // The empty paragraph after the last line break lies outside the selected text.
        for (const Paragraph& p : box.paragraphs()) {
            if (p.length > 0) {
                EXPECT_EQ(p.format.tabs, (QList<std::int32_t>{144, 3000, 4500, 6000}))
                    << "paragraph at " << p.start << " lacks the report's tab stops";
            }
        }
        EXPECT_EQ(box.SelStart(), 0);
        EXPECT_EQ(box.SelLength(), 0);
    }
    QString infoFolder() const { return QFileInfo(infoFilePath()).absolutePath(); }
    void TearDown() override
    {
        if (m_madeInfoFolder)
            QDir(infoFolder()).removeRecursively();
        ReportFixture::TearDown();
    }
    void makeInfoFolder()
    {
        ASSERT_TRUE(QDir().mkpath(infoFolder()));
        m_madeInfoFolder = true;
    }
    QByteArray infoFile() const
    {
        QFile file(infoFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void badSignatures(RecordInfo& r)
    {
        r.put_SignatureRead(arrayOfValues(VarType::String, {u"Anna"_s, u"45306.5"_s, u"Approved"_s}));
    }

    Window window;
    bool m_madeInfoFolder = false;
};

} // namespace

// The interactive, print and numbered batch forms are the sample reports' (tests/data/reports).
TEST_F(ReportAssemblyTest, TitleWinsOverTheLabelAndBatchHeadersFollowTheirNumbering)
{
    struct Case {
        const char* what;
        bool printTitle;
        double job;
        bool numbering;
        QString header;
    };
    const Case cases[] = {
        {"title before label", true, 7, true, u"Truck 7\r\n\r\n"_s},
        {"batch, job 2.5", false, 2.5, true,
         u"SN: 4711\r\n\r\nTruck 7\r\n\r\nPrint Job: 2.5\r\nPage  3 of 9\r\nDataSet  1:\r\n"_s},
        {"batch without page numbering", false, 0, false, u"SN: 4711\r\n\r\nTruck 7\r\n\r\nDataSet  1:\r\n"_s},
    };
    const auto i = add([](RecordInfo& r) { r.put_Note(u"Keep cold"_s); });
    const QString body = sections(i, false, false, true);
    for (const Case& c : cases) {
        BuildReport(window, i, c.printTitle, u"DataSet "_s, 1, c.job, 3, 9, c.numbering);
        EXPECT_EQ(window.box.Text(), c.header + body) << c.what;
        expectTabStops(window.box);
    }
}

TEST_F(ReportAssemblyTest, DetailsValueAndImportWindowReachTheSections)
{
    const auto i = add([](RecordInfo& r) { r.put_ContinuousMemory(true); });
    ModuleState::current().ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, {true});
    window.details = DetailsOn;
    window.name = u"frmRecImport"_s;
    const QString expected = sections(i, true, true, false);
    BuildReport(window, i, false, QString(), 0, 0, 0, 0, true);
    EXPECT_EQ(window.box.Text(), expected);
    EXPECT_TRUE(expected.contains(u"\tAlarm Occured\t"_s) && expected.contains(u"\tElapsed Time:\t"_s))
        << "details must reach the Alarm section and the import window the Time section";

    window.details = Variant::null();
    window.name = u"frmStatistics"_s;
    BuildReport(window, i, false, QString(), 0, 0, 0, 0, true);
    EXPECT_EQ(window.box.Text(), sections(i, false, false, false)) << "Null details means off";
}

TEST_F(ReportAssemblyTest, ErrorsOfSectionsReachTheCaller)
{
    EXPECT_THROW(BuildReport(window, add(badSignatures), false, QString(), 0, 0, 0, 0, true), RuntimeError)
        << "signatures of the wrong shape must fail the report as a run-time error";
}

TEST_F(ReportAssemblyTest, PrintDocumentHasTitleAndNoteAndGoesToTheInfoFile)
{
    makeInfoFolder();
    const auto i = add([](RecordInfo& r) { r.put_Note(u"Keep cold"_s); });
    window.details = DetailsOn;
    const QString document = BuildPrintDocument(window, i);
    EXPECT_EQ(window.box.Text(), u"Truck 7\r\n\r\n"_s + sections(i, true, false, true))
        << "a print document always has the title and the note";
    expectTabStops(window.box);
    EXPECT_TRUE(document.startsWith(u" {[{StartDoc}]}"_s + window.box.Text() + u"{[{End}]}\r\n\r\n{LgrSN}\t4711\r\n"_s));
    EXPECT_EQ(infoFile(), (document + u"\r\n{[{PrintDoc}]}\r\n"_s).toUtf8()) << "the info file must hold the document";
}

TEST_F(ReportAssemblyTest, SerialNumberLineNeedsExactlyOneListEntry)
{
    makeInfoFolder();
    const auto first = add([](RecordInfo& r) { r.put_SerialNumber(u"A-1"_s); });
    const auto second = add([](RecordInfo& r) { r.put_SerialNumber(u"B-2"_s); });
    struct Case { int listCount; std::int16_t index; QString serial; };
    const std::vector<Case> cases = {{1, first, u"A-1"_s}, {1, second, u"A-1"_s}, {2, first, {}}, {2, second, {}}};
    for (const Case& c : cases) {
        window.listCount = c.listCount;
        const QString document = BuildPrintDocument(window, c.index);
        EXPECT_TRUE(document.contains(u"{[{End}]}\r\n\r\n{LgrSN}\t"_s + c.serial + u"\r\n"_s))
            << c.listCount << " entries, dataset " << c.index;
        EXPECT_EQ(infoFile(), (document + u"\r\n{[{PrintDoc}]}\r\n"_s).toUtf8()) << "the file holds the last document";
    }
}

TEST_F(ReportAssemblyTest, MarginsUseTheUsersDecimalSeparator)
{
    makeInfoFolder();
    QLocale::setDefault(QLocale(u"fr_CA"_s));
    const QString document = BuildPrintDocument(window, add());
    EXPECT_TRUE(document.endsWith(u"{Margins}\t0,5\t0,5\t0,5\t0,5\r\n{[{EndDoc}]}\r\n"_s));
}

TEST_F(ReportAssemblyTest, MissingInfoFolderFailsWithPathNotFound)
{
    const auto i = add();
    QDir(infoFolder()).removeRecursively(); // after the host settings, which make the folder
    EXPECT_EQ(errorOf([&] { BuildPrintDocument(window, i); }), Err::PathNotFound)
        << "an info folder that does not exist must fail the document with error 76";
}

TEST_F(ReportAssemblyTest, BatchWithoutBoxGivesWhatTheShownBatchGives)
{
    makeInfoFolder();
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
    struct Case {
        const char* what;
        std::vector<Tweak> datasets;
        bool folderForInfoFile = false;
    };
    const Case cases[] = {
        {"labels kept from the channel before",
         {channels({1, 2}, {true, true}), channels({3, 1}, {true, true}), channels({2, 6}, {false, false}),
          channels({6, 1}, {true, false}, u"2"_s)}},
        {"verdicts shown in message boxes", {[](RecordInfo& r) { r.put_Logger_Type(u"B"_s); }, {}}},
        {"an error in the middle", {{}, badSignatures, {}}},
        {"an info file that cannot be written", {{}}, true},
    };
    struct Outcome {
        QString text;
        std::int16_t page = 0;
        QString error;
        std::size_t messages = 0;
        QByteArray info;
        bool operator==(const Outcome&) const = default;
    };
    // RTF_All, then RTF_NT, from the same start.
    const auto run = [&](DatasetList& list, bool documents, bool folderForInfoFile) {
        Outcome o;
        o.text = u"caller's text"_s;
        ChannelLabels() = {};
        QDir(infoFilePath()).removeRecursively();
        QFile::remove(infoFilePath());
        if (folderForInfoFile)
            QDir().mkpath(infoFilePath());
        const std::size_t before = shown.size();
        double job = 2;
        std::int16_t pages = 9;
        QString printer;
        try {
            if (documents) {
                Batch::PrintAllRecOnly_NT(list, o.text);
            } else {
                list.load();
                Batch::PrintAllRec(list, job, o.page, pages, printer, true, o.text, true);
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
        for (const bool documents : {false, true}) {
            ShownList shownList;
            BatchReports batch;
            const Outcome expected = run(shownList, documents, c.folderForInfoFile);
            EXPECT_EQ(run(batch, documents, c.folderForInfoFile), expected)
                << c.what << (documents ? ", RTF_NT" : ", RTF_All");
            if (documents)
                continue;
            JoinedRtfWriter joined(u"Arial"_s, 10);
            BatchReports joining;
            double job = 2;
            std::int16_t page = 0, pages = 9;
            QString printer;
            ChannelLabels() = {};
            const int error = errorOf([&] {
                joining.load();
                Batch::JoinAllRec(joining, job, page, pages, printer, joined, true);
            });
            EXPECT_EQ(error != 0, !expected.error.isEmpty())
                << c.what << ": the joined document fails where RTF_All does";
            if (error)
                continue;
            joined.finish();
            const QStringList reports = expected.text.mid(13).split(QChar(12), Qt::SkipEmptyParts);
            EXPECT_EQ(joined.head() + joined.body(), mergeRtfDocuments(reports, u"Arial"_s, 10).toLatin1()) << c.what;
        }
    }
    setPrinterListSource({});
}
