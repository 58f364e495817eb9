// SPDX-License-Identifier: MIT
#include "ReportFixture.h"

#include "hostclasses/DefaultHostClasses.h"
#include "printing/Printer.h"
#include "component/MeasFieldProcessor.h"
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

namespace {

// Runs change once, when the report of dataset `after` (from 1) is done.
class ChangeAfter final : public IProgressObserver
{
public:
    ChangeAfter(int after, std::function<void()> change) : m_after(after), m_change(std::move(change)) {}
    void datasetDone(int done, int) override
    {
        if (done == m_after)
            m_change();
    }
    void pageDone(int) override {}

private:
    int m_after;
    std::function<void()> m_change;
};

// A host's object that promises nothing: a default object's answers (strings with a suffix),
// its calls counted.
class Counting final : public DispatchObject<IDispatch>
{
public:
    Counting(ComPtr<IDispatch> inner, QString suffix) : m_inner(std::move(inner)), m_suffix(std::move(suffix)) {}
    const TypeInfo& GetTypeInfo() const override { return m_inner->GetTypeInfo(); }
    int calls = 0;

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        ++calls;
        const InvokeKind kind = member.kind == MemberKind::Method        ? InvokeKind::Method
                                : member.kind == MemberKind::PropertyGet ? InvokeKind::PropertyGet
                                                                         : InvokeKind::PropertyPut;
        Variant result;
        ErrorInfo error;
        if (failed(m_inner->Invoke(member.dispId, kind, args, &result, &error)))
            throw RuntimeError(error.number, error.description);
        return result.varType() == VarType::String ? Variant(result.toString() + m_suffix) : result;
    }

private:
    ComPtr<IDispatch> m_inner;
    QString m_suffix;
};

} // namespace

TEST_F(ReportAssemblyTest, ABatchKeepsHostValuesOnlyWhileTheyHold)
{
    const auto fresh = [&] {
        restart();
        writeSetting(u"HostSettings/ResOffset"_s, 0);
        writeSetting(u"HostSettings/TScale"_s, 1);
        writeSetting(u"HostSettings/DFormat"_s, u"0.0"_s);
        record().put_UserSettings(arrayOfValues(VarType::Variant, std::vector<Variant>(7, true)));
        for (int i = 0; i < 3; ++i)
            add([i](RecordInfo& r) { r.put_MeasInterval(60 * (i % 2 + 1)); });
    };
    // RTF_All's reports, one by one.
    const auto reports = [&] {
        BatchReports batch;
        QString text;
        double job = 1;
        std::int16_t page = 0;
        std::int16_t pages = 3;
        QString printer;
        batch.load();
        Batch::PrintAllRec(batch, job, page, pages, printer, true, text, true);
        return text.split(QChar(12), Qt::SkipEmptyParts);
    };
    const auto newSettings = [&] {
        writeSetting(u"HostSettings/ResOffset"_s, 2000);
        writeSetting(u"HostSettings/TScale"_s, 0);
        writeSetting(u"HostSettings/DFormat"_s, u"0.00"_s);
    };
    const auto hostConverter = [] {
        return ComPtr<IDispatch>(makeObject<Counting>(createDefaultUnitConverter().as<IDispatch>(), u" (host)"_s));
    };
    struct Case { const char* what; std::function<void()> change; };
    const Case cases[] = {
        {"settings restored", [&] { newSettings(); lateCall(hostSettings(), u"RestoreParameters"_s); }},
        {"settings object replaced",
         [&] {
             newSettings();
             ModuleState::current().HostSettings = createHostSettings();
             lateCall(hostSettings(), u"RestoreParameters"_s);
         }},
        {"converter replaced", [&] { ModuleState::current().UnitConverter = hostConverter(); }},
    };
    fresh();
    const QStringList before = reports();
    ASSERT_EQ(before.size(), 3);
    for (const Case& c : cases) {
        fresh();
        c.change();
        const QStringList after = reports();
        fresh();
        ChangeAfter observer(1, c.change);
        setProgressObserver(&observer);
        const QStringList changing = reports();
        setProgressObserver(nullptr);
        ASSERT_EQ(changing.size(), 3) << c.what;
        EXPECT_NE(after[1], before[1]) << c.what << ": the change must show";
        EXPECT_EQ(changing[0], before[0]) << c.what;
        EXPECT_EQ(changing.mid(1), after.mid(1)) << c.what << ": reports after the change must be as if made before";
    }

    // Objects that promise nothing are asked as often as outside a batch.
    for (const bool settings : {true, false}) {
        fresh();
        const auto counting = makeObject<Counting>(
            settings ? createHostSettings() : createDefaultUnitConverter().as<IDispatch>(), QString());
        (settings ? ModuleState::current().HostSettings : ModuleState::current().UnitConverter) =
            ComPtr<IDispatch>(counting.get());
        BatchReports batch;
        batch.load();
        batch.tickDetails();
        QString text, scratch;
        // The three reports one by one, outside a batch.
        int calls = counting->calls;
        for (std::int16_t i = 0; i < 3; ++i)
            AppendBatchReportRTF(batch, i, Label(LabelId::DataSet), std::int16_t(i + 1), 1, i, 3, true, text, scratch);
        const int alone = counting->calls - calls;
        EXPECT_GT(alone, 3 * 3) << settings;
        calls = counting->calls;
        double job = 1;
        std::int16_t page = 0;
        std::int16_t pages = 3;
        QString printer;
        Batch::PrintAllRec(batch, job, page, pages, printer, true, text, true);
        EXPECT_EQ(counting->calls - calls, alone) << (settings ? "settings" : "converter");
    }
}

// What one apartment's reports leave behind (run lists, channel labels, the probe flag) goes
// with it: the next apartment on the same thread starts clean.
TEST_F(ReportAssemblyTest, AnApartmentLeavesNothingToTheNextOnItsThread)
{
    const std::int16_t dataset = add();
    QString report;
    RTBFormat::AddRTBFormatInfo(report, u"Heading"_s, u"Arial"_s, 255, 12, 1, 2);
    RecInfoCode::LoadChannelLabels(1, dataset);
    MeasFieldProcessor_C::current().setMeasField(MeasFieldProcessor_C::Marker);
    ASSERT_GT(RTBFormat::runLists().RTBFontRuns.size(), 1u);
    ASSERT_FALSE(RecInfoCode::ChannelLabels().HighLimitLabel.isEmpty());
    restart();
    EXPECT_EQ(RTBFormat::runLists().RTBFontRuns.size(), 1u);
    EXPECT_EQ(RTBFormat::runLists().RTBColorRuns.size(), 1u);
    EXPECT_TRUE(RecInfoCode::ChannelLabels().HighLimitLabel.isEmpty());
    EXPECT_FALSE(MeasFieldProcessor_C::current().ProbeEnabled());
}
