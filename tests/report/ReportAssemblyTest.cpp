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

QStringList listings()
{
    return {RTBFormat::GetRTBFontList(), RTBFormat::GetRTBColorList(), RTBFormat::GetRTBSizeList(),
            RTBFormat::GetRTBFStyleList(), RTBFormat::GetRTBFAlignList()};
}

constexpr std::int32_t Accent = 0x800005;
const QString CRLF = u"\r\n"_s;

void appendTitle(QString& s, const QString& desc)
{
    RTBFormat::AddRTBFormatInfo(s, desc + CRLF, QString(), Accent, 10, 1, 2);
    s += CRLF;
}

class ReportAssemblyTest : public ReportFixture
{
protected:
    struct Expected {
        QString text;
        QStringList runs;
    };
    // The report as its sections write it one after the other, after header.
    Expected sections(std::int16_t i, const std::function<void(QString&)>& header, bool details, bool importView,
                      bool userSections, bool note)
    {
        RTBFormat::ClearRTBFormat();
        QString s;
        if (header)
            header(s);
        DataSourceSection(s, i);
        LoggerSection(s, i, details ? DetailsOn : DetailsOff);
        TimeSection(s, i, details ? DetailsOn : DetailsOff, importView);
        MeasurementsSection(s, i, details ? DetailsOn : DetailsOff);
        AlarmSection(s, i, details);
        if (userSections) {
            UserInputSection(s, i);
            SignaturesSection(s, i);
        }
        if (note)
            NoteSection(s, i);
        return {s, listings()};
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

    Window window;
    bool m_madeInfoFolder = false;
};

} // namespace

TEST_F(ReportAssemblyTest, HeaderShapesSectionOrderAndNote)
{
    struct Case {
        QString what;
        bool printTitle;
        QString label;
        double job;
        bool numbering;
        QString dataSource;
        QString start;
        bool userSections;
        bool note;
    };
    const std::vector<Case> cases = {
        {u"interactive"_s, false, u""_s, 7, true, u""_s, u"Logger\r\n"_s, true, false},
        {u"interactive, data source"_s, false, u""_s, 7, true, u"Warehouse DB"_s, u"Data source\r\n"_s, false, false},
        {u"print title"_s, true, u""_s, 7, true, u""_s, u"Truck 7\r\n\r\nLogger\r\n"_s, true, true},
        {u"title before label"_s, true, u"DataSet "_s, 7, true, u""_s, u"Truck 7\r\n\r\nLogger\r\n"_s, true, true},
        {u"batch"_s, false, u"DataSet "_s, 0, true, u""_s,
         u"SN: 4711\r\n\r\nTruck 7\r\n\r\nPrint Job: 0\r\nPage  3 of 9\r\nDataSet  1:\r\nLogger\r\n"_s, true, true},
        {u"batch, job 2.5"_s, false, u"DataSet "_s, 2.5, true, u"Warehouse DB"_s,
         u"SN: 4711\r\n\r\nTruck 7\r\n\r\nPrint Job: 2.5\r\nPage  3 of 9\r\nDataSet  1:\r\nData source\r\n"_s, false,
         true},
        {u"batch without page numbering"_s, false, u"DataSet "_s, 0, false, u""_s,
         u"SN: 4711\r\n\r\nTruck 7\r\n\r\nDataSet  1:\r\nLogger\r\n"_s, true, true},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_DataSource(c.dataSource);
            r.put_Note(u"Keep cold"_s);
            r.put_UserQuery(twoDimensional(3, 1, u"q"_s));
        });
        const auto header = [&](QString& s) {
            if (c.printTitle) {
                appendTitle(s, u"Truck 7"_s);
            } else if (!c.label.isEmpty()) {
                RTBFormat::AddRTBFormatInfo(s, u"SN: 4711\r\n\r\n"_s, QString(), 0, 10, 0, 1);
                appendTitle(s, u"Truck 7"_s);
                if (c.numbering) {
                    const QString job = u"Print Job: "_s + QString::number(c.job) + CRLF;
                    RTBFormat::AddRTBFormatInfo(s, job, QString(), Accent, 9, 0, 1);
                    RTBFormat::AddRTBFormatInfo(s, u"Page  3 of 9\r\n"_s, QString(), 0, 10, 0, 1);
                }
                RTBFormat::AddRTBFormatInfo(s, u"DataSet  1:\r\n"_s, QString(), Accent, 10, 1, 0);
            }
        };
        const Expected e = sections(i, header, false, false, c.userSections, c.note);
        BuildReport(window, i, c.printTitle, c.label, 1, c.job, 3, 9, c.numbering);
        const QString text = window.box.Text();
        EXPECT_TRUE(text.startsWith(c.start)) << c.what << ": wrong header\n" << text.left(120).toStdString();
        EXPECT_EQ(text, e.text) << c.what << ": wrong sections, order or note";
        EXPECT_EQ(listings(), e.runs) << c.what << ": the runs differ from those of the pieces";
        EXPECT_EQ(text.contains(u"\r\nNote\r\nKeep cold\r\n"_s), c.note) << c.what;
        EXPECT_EQ(text.contains(u"User Input\r\n"_s), c.userSections) << c.what;
        expectTabStops(window.box);
    }
}

TEST_F(ReportAssemblyTest, DetailsValueAndImportWindowReachTheSections)
{
    const auto i = add([](RecordInfo& r) { r.put_ContinuousMemory(true); });
    ModuleState::current().ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, {true});
    window.details = DetailsOn;
    window.name = u"frmRecImport"_s;
    const Expected e = sections(i, {}, true, true, true, false);
    BuildReport(window, i, false, QString(), 0, 0, 0, 0, true);
    EXPECT_EQ(window.box.Text(), e.text);
    EXPECT_TRUE(e.text.contains(u"\tAlarm Occured\t"_s) && e.text.contains(u"\tElapsed Time:\t"_s))
        << "details must reach the Alarm section and the import window the Time section";

    window.details = Variant::null();
    window.name = u"frmStatistics"_s;
    BuildReport(window, i, false, QString(), 0, 0, 0, 0, true);
    EXPECT_EQ(window.box.Text(), sections(i, {}, false, false, true, false).text) << "Null details means off";
}

TEST_F(ReportAssemblyTest, ErrorsOfSectionsReachTheCaller)
{
    const auto badSignatures = add([](RecordInfo& r) {
        r.put_SignatureRead(arrayOfValues(VarType::String, {u"Anna"_s, u"45306.5"_s, u"Approved"_s}));
    });
    EXPECT_THROW(BuildReport(window, badSignatures, false, QString(), 0, 0, 0, 0, true), RuntimeError)
        << "signatures of the wrong shape must fail the report as a run-time error";
    const auto fromSource = add([](RecordInfo& r) {
        r.put_DataSource(u"Warehouse DB"_s);
        r.put_SignatureRead(arrayOfValues(VarType::String, {u"Anna"_s, u"45306.5"_s, u"Approved"_s}));
    });
    EXPECT_EQ(errorOf([&] { BuildReport(window, fromSource, false, QString(), 0, 0, 0, 0, true); }), 0)
        << "a data-source recording has no Signatures section to fail";
    const auto overflow = add([](RecordInfo& r) {
        r.put_MeasInterval(86400);
        r.put_AlarmHighNumMeas(perChannel(VarType::Long, {100000, 5}));
    });
    EXPECT_EQ(errorOf([&] { BuildReport(window, overflow, true, QString(), 0, 0, 0, 0, true); }), Err::Overflow);
}

TEST_F(ReportAssemblyTest, PrintDocumentRowsAndInfoFile)
{
    makeInfoFolder();
    const auto i = add([](RecordInfo& r) { r.put_Note(u"Keep cold"_s); });
    window.details = DetailsOn;
    const Expected e = sections(i, [](QString& s) { appendTitle(s, u"Truck 7"_s); }, true, false, true, true);
    const QString document = BuildPrintDocument(window, i);
    EXPECT_EQ(window.box.Text(), e.text) << "a print document always has the title and the note";
    EXPECT_EQ(listings(), e.runs);
    expectTabStops(window.box);

    const QString expected = u" {[{StartDoc}]}"_s + e.text + u"{[{End}]}\r\n\r\n{LgrSN}\t4711\r\n"_s + e.runs.join(CRLF)
        + CRLF + u"{Tabs}\t144\t3000\t4500\t6000\r\n{Margins}\t0.5\t0.5\t0.5\t0.5\r\n{[{EndDoc}]}\r\n"_s;
    EXPECT_EQ(document, expected);
    EXPECT_TRUE(document.contains(u"{LgrSN}\t4711\r\n\r\n{RTBColor}\t0\t9\t8388613\r\n"_s))
        << "an empty font listing leaves just its empty line";
    EXPECT_TRUE(document.contains(u"\r\n{RTBFAlign}\t0\t9\t2\r\n\r\n{Tabs}"_s))
        << "the centred title is the only aligned run";
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
    const Tweak badSignatures = [](RecordInfo& r) {
        r.put_SignatureRead(arrayOfValues(VarType::String, {u"Anna"_s, u"45306.5"_s, u"Approved"_s}));
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
