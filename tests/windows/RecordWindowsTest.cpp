// The record services and the Statistics and Import windows they open, driven through
// RecordInfo with scripted modal windows: nothing blocks, every window is clicked by the script.

#include "report/ReportFixture.h"

#include "PdfReader.h"

#include "automation/ClassRegistry.h"
#include "hostclasses/DefaultHostClasses.h"
#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "printing/Printer.h"
#include "windows/frmPrinterDlg.h"
#include "windows/ModalService.h"
#include "windows/Twips.h"
#include "windows/frmNote.h"
#include "windows/frmRecImport.h"
#include "windows/frmStatistics.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <latch>
#include <thread>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

using Script = std::function<void(QDialog&)>;

// Each modal window runs the next script of the queue instead of an event loop.
struct ScriptedWindows final : ModalService {
    std::deque<Script> scripts;
    int showModal(QDialog& dialog) override
    {
        if (scripts.empty()) {
            ADD_FAILURE() << "unexpected window " << dialog.objectName();
            return QDialog::Rejected;
        }
        const Script script = std::move(scripts.front());
        scripts.pop_front();
        script(dialog);
        return dialog.result();
    }
    void showPrinterProperties(QWidget*, Printer&) override {}
};

const QString Pdf = Printer::PdfPrinterName;
const QString Firmware = u"\tFirmware Version\t"_s; // a row of the detailed report only

class RecordWindowsTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        auto windows = std::make_unique<ScriptedWindows>();
        m_scripts = &windows->scripts;
        m_previousModal = setModalService(std::move(windows));
        ASSERT_TRUE(m_pdfDir.isValid());
        qputenv("VXRECINFO_PDF_DIR", m_pdfDir.path().toLocal8Bit());
        printers({Pdf});
        ASSERT_TRUE(setCurrentPrinter(Pdf));
        writeSetting(u"HostSettings/DefaultPrinter"_s, Pdf);
    }
    void TearDown() override
    {
        EXPECT_TRUE(m_scripts->empty()) << m_scripts->size() << " scripted window(s) never opened";
        setModalService(std::move(m_previousModal));
        setPrinterListSource({});
        qunsetenv("VXRECINFO_PDF_DIR");
        ReportFixture::TearDown();
    }

    static void printers(QStringList names)
    {
        setPrinterListSource([names] { return names; });
    }
    QStringList pdfFiles() const { return QDir(m_pdfDir.path()).entryList({u"*.pdf"_s}, QDir::Files); }

    // Element 6 of UserSettings enables printing from the window.
    void userSettings(bool print)
    {
        std::vector<Variant> values(7, Variant(false));
        values[6] = print;
        ASSERT_EQ(record().put_UserSettings(arrayOfValues(VarType::Variant, values)), S_OK);
    }
    void dataset(const QString& desc, const QString& serial, const QString& note = {})
    {
        add([&](RecordInfo& r) {
            r.put_DataSetDesc(desc);
            r.put_SerialNumber(serial);
            r.put_Note(note);
        });
    }
    // Printing allowed, then Truck A, B, ... with serial numbers SN-A0, SN-B1, ...
    void trucks(int count)
    {
        userSettings(true);
        for (int i = 0; i < count; ++i)
            dataset(u"Truck "_s + QChar(u'A' + i), u"SN-%1%2"_s.arg(QChar(u'A' + i)).arg(i));
    }
    // A good dataset, then one whose report fails: its signatures are no two-dimensional array.
    void goodThenBad()
    {
        userSettings(true);
        dataset(u"Good"_s, u"SN-G"_s);
        add([](RecordInfo& r) {
            r.put_SignatureRead(arrayOfValues(VarType::String, {u"Anna"_s, u"45306.5"_s, u"Approved"_s}));
        });
    }

    // Queues the script of the next modal window, which must be a W.
    template <class W>
    void then(std::function<void(W&)> script)
    {
        m_scripts->push_back([script](QDialog& dialog) {
            auto* window = qobject_cast<W*>(&dialog);
            ASSERT_NE(window, nullptr) << "expected " << W::staticMetaObject.className() << ", the component opened "
                                       << dialog.objectName();
            script(*window);
        });
    }
    void noteTyped(const QString& text, bool ok)
    {
        then<frmNote>([text, ok](frmNote& n) {
            QTest::keyClick(n.txtNote, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(n.txtNote, text);
            QTest::mouseClick(ok ? n.cmdOk : n.cmdCancel, Qt::LeftButton);
        });
    }
    // Enter and Esc in `focus` leave the shown window open: no button is the default or the
    // Esc button, so a key meant for a box never confirms or abandons the window.
    static void expectEnterAndEscIgnored(QDialog& window, QWidget* focus)
    {
        window.show();
        for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(focus, Qt::Key(key));
            EXPECT_TRUE(window.isVisible()) << window.objectName() << " closed on key " << key;
        }
        for (const QPushButton* button : window.findChildren<QPushButton*>())
            EXPECT_FALSE(button->isDefault()) << button->objectName() << " of " << window.objectName();
        window.hide();
    }
    static void clickDetails(QCheckBox* box)
    {
        // On the indicator: the check box only reacts to clicks on its box and caption.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    std::deque<Script>* m_scripts = nullptr;
    QTemporaryDir m_pdfDir;

private:
    std::unique_ptr<ModalService> m_previousModal;
};

ModuleState& state() { return ModuleState::current(); }

// --- Statistics and Info window ---

TEST_F(RecordWindowsTest, ShowInfoClampsTheFirstDatasetToTheListAndUserSettingsEnablesPrint)
{
    trucks(3);
    const QStringList serials{u"SN-A0"_s, u"SN-B1"_s, u"SN-C2"_s};
    struct Case { std::int16_t asked; int shown; bool print; };
    for (const Case c : {Case{5, 0, true}, Case{2, 2, false}, Case{-1, 0, true}, Case{3, 0, false}}) {
        userSettings(c.print);
        then<frmStatistics>([&](frmStatistics& w) {
            EXPECT_EQ(w.cboTrace->count(), 3);
            EXPECT_EQ(w.cboTrace->itemText(1), u"Truck B"_s) << "entries are the dataset descriptions";
            EXPECT_EQ(w.cmdPrint->isEnabled(), c.print) << "UserSettings(6) enables printing";
            EXPECT_NEAR(outerWidthTwips(&w), 9560, 1440.0 / w.logicalDpiX()) << "the load sets the width to 9560 twips";
            EXPECT_EQ(w.cboTrace->currentIndex(), c.shown) << "ShowInfo " << c.asked << " selects the wrong entry";
            EXPECT_EQ(state().ListIndexPointer, c.shown) << "the module value must hold the index shown";
            EXPECT_TRUE(w.txtInfo().Text().contains(u"\t"_s + serials[c.shown] + u"\r\n"_s))
                << "ShowInfo " << c.asked << " must show the report of dataset " << c.shown;
            QTest::mouseClick(w.cmdOk, Qt::LeftButton);
            EXPECT_EQ(w.result(), QDialog::Accepted);
        });
        std::int16_t pointer = c.asked;
        EXPECT_EQ(record().ShowInfo(&pointer), S_OK) << lastErrorInfo().description;
        EXPECT_EQ(pointer, c.asked) << "nothing is written back to the host's argument";
    }
    // Omitted through late binding: dataset 0.
    state().ListIndexPointer = 2;
    then<frmStatistics>([](frmStatistics& w) { EXPECT_EQ(w.cboTrace->currentIndex(), 0) << "no argument means 0"; });
    std::vector<Variant> none;
    EXPECT_EQ(invokeByName(&record(), u"ShowInfo"_s, InvokeKind::Method, none).hr, S_OK);
}

TEST_F(RecordWindowsTest, DetailsBoxSwitchesTheReportAndEnterAndEscNeitherConfirmNorClose)
{
    trucks(3);
    record().put_NoteChangeAllowed(true);
    then<frmStatistics>([](frmStatistics& w) {
        EXPECT_FALSE(w.chkDetails->isChecked()) << "details start unchecked";
        EXPECT_FALSE(w.txtInfo().Text().contains(Firmware));
        clickDetails(w.chkDetails);
        ASSERT_TRUE(w.chkDetails->isChecked());
        EXPECT_TRUE(w.txtInfo().Text().contains(Firmware)) << "ticking Details must rebuild the detailed report";
        EXPECT_TRUE(w.txtInfo().Text().contains(u"\tSN-A0\r\n"_s)) << "of the same dataset";
        clickDetails(w.chkDetails);
        EXPECT_FALSE(w.txtInfo().Text().contains(Firmware)) << "unticking must rebuild the summary";
        expectEnterAndEscIgnored(w, w.cboTrace);
        QTest::mouseClick(w.cmdNote, Qt::LeftButton);
    });
    then<frmNote>([](frmNote& n) { expectEnterAndEscIgnored(n, n.txtNote); });
    EXPECT_EQ(record().ShowInfo(nullptr), S_OK);
}

TEST_F(RecordWindowsTest, ReportErrorOnASelectionIsShownAndTheWindowStaysUsable)
{
    goodThenBad();
    then<frmStatistics>([this](frmStatistics& w) {
        QTest::keyClick(w.cboTrace, Qt::Key_Down);
        EXPECT_EQ(shown.size(), 1u) << "a failing report must reach the user as a message";
        QTest::keyClick(w.cboTrace, Qt::Key_Up);
        EXPECT_TRUE(w.txtInfo().Text().contains(u"\tSN-G\r\n"_s)) << "the window must stay usable after the error";
        EXPECT_EQ(shown.size(), 1u);
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
    });
    EXPECT_EQ(record().ShowInfo(nullptr), S_OK) << "the handler's error must not end ShowInfo";
}

TEST_F(RecordWindowsTest, StatisticsNoteButtonOnlyEverRaisesNoteChanged)
{
    userSettings(true);
    record().put_NoteChangeAllowed(true);
    dataset(u"Empty note"_s, u"SN-0"_s);
    dataset(u"With note"_s, u"SN-1"_s, u"abc"_s);
    dataset(u"Empty again"_s, u"SN-2"_s);
    then<frmStatistics>([](frmStatistics& w) {
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // type x, OK
        EXPECT_TRUE(state().NoteChanged.at(0)) << "a confirmed edit marks the note changed";
        EXPECT_EQ(state().NoteArray.at(0), u"x"_s);
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // type y, Cancel
        EXPECT_TRUE(state().NoteChanged.at(0)) << "a cancelled later opening must keep the earlier True";
        EXPECT_EQ(state().NoteArray.at(0), u"x"_s) << "Cancel keeps the note";
        QTest::keyClick(w.cboTrace, Qt::Key_Down);
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // OK at once on "abc"
        EXPECT_TRUE(state().NoteChanged.at(1)) << "filling a non-empty note counts as a change";
        QTest::keyClick(w.cboTrace, Qt::Key_Down);
        state().NoteEdited = true; // left over: the window clears it before opening the note
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // OK at once on ""
        EXPECT_FALSE(state().NoteChanged.at(2)) << "an untouched empty note is not a change";
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
    });
    noteTyped(u"x"_s, true);
    then<frmNote>([](frmNote& n) {
        EXPECT_EQ(n.txtNote->toPlainText(), u"x"_s) << "the note window must show the dataset's note";
        QTest::keyClicks(n.txtNote, u"y"_s);
        QTest::mouseClick(n.cmdCancel, Qt::LeftButton);
    });
    then<frmNote>([](frmNote& n) { QTest::mouseClick(n.cmdOk, Qt::LeftButton); });
    then<frmNote>([](frmNote& n) { QTest::mouseClick(n.cmdOk, Qt::LeftButton); });
    EXPECT_EQ(record().ShowInfo(nullptr), S_OK);
    Variant changed;
    ASSERT_EQ(record().get_NoteChanged(&changed), S_OK);
    for (const int i : {0, 1, 2})
        EXPECT_EQ(changed.array().at(i).toBool(), i < 2) << "NoteChanged(" << i << ") reaches the host";
}

// --- Print button ---

// Cancel prints and says nothing; OK prints the shown dataset as one job and restores the window;
// a dialog that lists no printer ends in a printing error.
TEST_F(RecordWindowsTest, PrintButtonFollowsThePrinterDialogsResult)
{
    trucks(2);
    then<frmStatistics>([this](frmStatistics& w) {
        QTest::keyClick(w.cboTrace, Qt::Key_Down);
        const QString before = w.txtInfo().Text();
        const int width = w.width();
        QTest::mouseClick(w.cmdPrint, Qt::LeftButton); // Cancel
        EXPECT_EQ(w.txtInfo().Text(), before) << "a cancelled print must leave the interactive report";
        EXPECT_TRUE(pdfFiles().isEmpty() && shown.empty()) << "a cancelled dialog must print nothing, say nothing";
        QTest::mouseClick(w.cmdPrint, Qt::LeftButton); // OK
        EXPECT_TRUE(pdfFiles().size() == 1 && shown.empty()) << "OK must print one job at once and say nothing";
        EXPECT_EQ(w.txtInfo().Text(), before) << "after printing the box must show the interactive report again";
        EXPECT_NEAR(w.width(), width, 1) << "the window must get its width back";
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the busy pointer must be gone";
        printers({}); // the current printer stays, but the dialog lists none
        QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
    });
    then<frmPrinterDlg>([](frmPrinterDlg& d) {
        EXPECT_EQ(d.windowTitle(), u"Print Statistics"_s);
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
    then<frmPrinterDlg>([](frmPrinterDlg& d) { QTest::mouseClick(d.cmdOk, Qt::LeftButton); });
    then<frmPrinterDlg>([](frmPrinterDlg&) { EXPECT_EQ(PrinterDialogResult(), PrinterDialog::NoPrinter); });
    EXPECT_EQ(record().ShowInfo(nullptr), S_OK);
    ASSERT_EQ(shown.size(), 1u) << "result -1 alone must be reported, as a printing error";
    EXPECT_EQ(shown[0].text, u"Printing Error\r\n"_s) << "label 88, CR LF and an empty description";
    EXPECT_EQ(shown[0].style & 0x70, MsgBox::Exclamation);
    const QStringList files = pdfFiles();
    ASSERT_EQ(files.size(), 1) << "one print job expected";
    const QString text = pdfText(m_pdfDir.filePath(files[0]));
    EXPECT_TRUE(text.contains(u"SN: SN-B1"_s)) << "every page carries the serial number line:\n" << text;
    EXPECT_TRUE(text.contains(u"Truck B"_s)) << "the printed report has the dataset's title";
    EXPECT_FALSE(text.contains(u"SN-A0"_s)) << "only the selected dataset is printed";
}

// --- Import window ---

class ImportWindowTest : public RecordWindowsTest
{
protected:
    void SetUp() override
    {
        RecordWindowsTest::SetUp();
        writeSetting(u"TimeZoneService/TimeZones"_s, zones);
        writeSetting(u"TimeZoneService/SystemTimeZone"_s, u"Asia/Tokyo"_s);
        dataset(u"File one"_s, u"SN-F1"_s);
        dataset(u"File two"_s, u"SN-F2"_s);
    }
    HResult showImport()
    {
        SafeArray flags = SafeArray::fromValues(VarType::Boolean, {false, false});
        return record().ShowImport(&flags);
    }
    std::int16_t userZone()
    {
        std::int16_t v = -99;
        EXPECT_EQ(record().get_ImportUserSelectedTimeZone(&v), S_OK);
        return v;
    }
    bool fileSelected()
    {
        bool v = true;
        EXPECT_EQ(record().get_ImportFileSelected(&v), S_OK);
        return v;
    }
    // A zone's name from a service of its own, so the window's service keeps the zone it chose.
    static QString zoneName(std::int16_t zone, Date when)
    {
        const auto service = ClassRegistry::instance().createObject(HostClasses::TimeZoneServiceClsid.toString());
        latePut(service.get(), u"TZoneID"_s, zone);
        return lateGet(service.get(), u"TimeZoneName"_s, {when}).toString();
    }
    static QString startZone(const QString& report)
    {
        const QStringList rows = linesStartingWith(report, u"\tStart Time:\t"_s);
        return rows.size() == 1 ? rows[0] : QString();
    }
    const Date start = at(2024, 1, 15, 10);
    const QStringList zones{u"Europe/Berlin"_s, u"America/New_York"_s, u"Asia/Tokyo"_s, u"Australia/Sydney"_s};
};

TEST_F(ImportWindowTest, ListsZonesOneToFourPreselectsTheSystemZoneImportsTheChoiceAndCancelKeepsIt)
{
    const QString tokyo = zoneName(3, start), newYork = zoneName(2, start);
    ASSERT_NE(tokyo, newYork);
    then<frmRecImport>([&](frmRecImport& w) {
        ASSERT_EQ(w.cboTimeZone->count(), 4) << "TimeArray 0..4 lists four zones; element 0 is never listed";
        for (int e = 0; e < 4; ++e) {
            EXPECT_EQ(w.cboTimeZone->itemData(e).toInt(), e + 1) << "item data is the TimeArray index";
            EXPECT_TRUE(w.cboTimeZone->itemText(e).endsWith(zones[e])) << w.cboTimeZone->itemText(e);
        }
        EXPECT_EQ(w.cboTimeZone->currentIndex(), 2) << "the system's zone must be preselected";
        const auto showsItsStart = [&] {
            EXPECT_EQ(w.cboTimeZone->lineEdit()->cursorPosition(), 0) << "a long zone name must show its start";
            EXPECT_EQ(w.cboTimeZone->toolTip(), w.cboTimeZone->currentText()) << "the whole name is the tooltip";
        };
        showsItsStart();
        EXPECT_EQ(state().TimeZone, 3);
        EXPECT_TRUE(startZone(w.txtInfo().Text()).endsWith(u"  "_s + tokyo)) << startZone(w.txtInfo().Text());
        EXPECT_EQ(w.cboTrace->currentIndex(), 0);

        QTest::keyClick(w.cboTimeZone, Qt::Key_Up);
        EXPECT_EQ(state().TimeZone, 2) << "choosing a zone takes effect at once";
        showsItsStart();
        EXPECT_TRUE(startZone(w.txtInfo().Text()).endsWith(u"  "_s + newYork))
            << "the report must be rebuilt in the chosen zone: " << startZone(w.txtInfo().Text());
        EXPECT_TRUE(w.txtInfo().Text().contains(u"\tSN-F1\r\n"_s)) << "of the selected dataset";
        QTest::mouseClick(w.cmdImport, Qt::LeftButton);
    });
    EXPECT_EQ(showImport(), S_OK);
    EXPECT_TRUE(fileSelected());
    EXPECT_EQ(userZone(), 2) << "Import returns the chosen zone";
    EXPECT_TRUE(shown.empty()) << "the load must not fail";
    then<frmRecImport>([](frmRecImport& w) {
        EXPECT_EQ(w.cboTimeZone->currentIndex(), 2) << "each showing preselects the system's zone again";
        QTest::keyClick(w.cboTimeZone, Qt::Key_Down); // Sydney
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
    });
    EXPECT_EQ(showImport(), S_OK);
    EXPECT_FALSE(fileSelected()) << "Cancel must not confirm the import";
    EXPECT_EQ(userZone(), 2) << "Cancel keeps the zone of the last confirmed import";
    std::int16_t zone = 0;
    ASSERT_EQ(record().get_TimeZone(&zone), S_OK);
    EXPECT_EQ(zone, 4) << "TimeZone keeps the last choice made in the window";
}

TEST_F(ImportWindowTest, TypedTextNamingNoZoneChangesNothingAndEnterDoesNotImport)
{
    then<frmRecImport>([this](frmRecImport& w) {
        const QString before = w.txtInfo().Text();
        w.cboTimeZone->lineEdit()->selectAll();
        QTest::keyClicks(w.cboTimeZone->lineEdit(), u"Nowhere/Zone"_s);
        expectEnterAndEscIgnored(w, w.cboTimeZone->lineEdit());
        EXPECT_EQ(state().TimeZone, 3) << "text that names no listed zone must not change TimeZone";
        EXPECT_EQ(w.txtInfo().Text(), before);
        EXPECT_TRUE(shown.empty()) << "typing must not fail";
        QTest::mouseClick(w.cmdImport, Qt::LeftButton);
    });
    EXPECT_EQ(showImport(), S_OK);
    EXPECT_EQ(userZone(), 3) << "the import keeps a listed zone";
}

// The default zone service, except that the system's zone is one that TimeArray does not list.
class UnlistedSystemZone final : public ComObject<IDispatch>
{
public:
    static constexpr std::int16_t Pointer = 9;
    const TypeInfo& GetTypeInfo() const override { return m_real->GetTypeInfo(); }
    HResult GetIDsOfNames(const QString& name, DispId* id) override { return m_real->GetIDsOfNames(name, id); }
    HResult Invoke(DispId id, InvokeKind kind, std::vector<Variant>& args, Variant* result, ErrorInfo* error) override
    {
        DispId system = DISPID_UNKNOWN;
        m_real->GetIDsOfNames(u"MySystemTZPointer"_s, &system);
        if (id == system) {
            *result = Pointer;
            return S_OK;
        }
        return m_real->Invoke(id, kind, args, result, error);
    }

private:
    ComPtr<IDispatch> m_real = createDefaultTimeZoneService().as<IDispatch>();
};

TEST_F(ImportWindowTest, UnlistedSystemZoneSelectsNoEntryButIsTheTimeZone)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::TimeZoneServiceClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<UnlistedSystemZone>()); }});
    then<frmRecImport>([](frmRecImport& w) {
        EXPECT_EQ(w.cboTimeZone->currentIndex(), -1) << "no listed zone matches the system's";
        EXPECT_EQ(w.cboTimeZone->currentText(), QString()) << "the box must be blank";
        EXPECT_EQ(state().TimeZone, UnlistedSystemZone::Pointer);
        QTest::mouseClick(w.cmdImport, Qt::LeftButton);
    });
    const HResult hr = showImport();
    registerDefaultHostClasses();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(userZone(), UnlistedSystemZone::Pointer) << "the report and the import use the system's zone";
}

// Captions of a window's labels, buttons and check boxes wider than their controls.
QStringList clippedCaptions(const QWidget& window)
{
    QStringList clipped;
    const auto check = [&](const QWidget* control, QString text, int room) {
        text.replace(u"&&"_s, u"\x01"_s).remove(u'&').replace(u'\x01', u'&');
        const int needed = control->fontMetrics().horizontalAdvance(text);
        if (needed > room)
            clipped << u"%1.%2 \"%3\" needs %4 px, has %5"_s.arg(window.objectName(), control->objectName(), text)
                           .arg(needed).arg(room);
    };
    for (const QLabel* l : window.findChildren<QLabel*>())
        check(l, l->text(), l->contentsRect().width());
    for (const QPushButton* b : window.findChildren<QPushButton*>())
        check(b, b->text(), b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b));
    for (const QCheckBox* c : window.findChildren<QCheckBox*>())
        check(c, c->text(),
              c->width() - c->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, c)
                  - c->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, c));
    return clipped;
}

// A window's controls that a screen reader would announce without a name.
QStringList unnamedControls(const QWidget& window)
{
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        if (!control->objectName().isEmpty() && (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()))
            unnamed << window.objectName() + u'.' + control->objectName();
    }
    return unnamed;
}

TEST_F(ImportWindowTest, EveryCaptionFitsAndEveryControlHasANameInEveryLanguage)
{
    userSettings(true);
    state().ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, {false, false});
    QStringList clipped, unnamed, menus;
    for (const int offset : {0, 2000, 4000, 6000, 8000, 10000}) {
        writeSetting(u"HostSettings/ResOffset"_s, offset);
        lateCall(hostSettings(), u"RestoreParameters"_s);
        frmStatistics statistics;
        statistics.load();
        frmRecImport import;
        import.load();
        frmNote note;
        frmPrinterDlg printer;
        for (const QWidget* w : std::initializer_list<const QWidget*>{&statistics, &import, &note, &printer}) {
            clipped << clippedCaptions(*w);
            unnamed << unnamedControls(*w);
        }
        // The report's context menu speaks the window's language, in Qt's own words.
        QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(5, 5), statistics.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(statistics.txtInfoView->viewport(), &menuAsked);
        QStringList texts;
        for (QMenu* menu : statistics.txtInfoView->findChildren<QMenu*>()) {
            for (const QAction* action : menu->actions())
                texts << action->text();
            menu->close();
        }
        menus << texts.join(u" | "_s);
    }
    // Portuguese has Brazil's file only.
    const QStringList qtWords{u"&Copy | Select All"_s,       u"コピー(&C) | すべてを選択"_s,
                              u"复制(&C) | 全选"_s,             u"&Copiar | Seleccionar todo"_s,
                              u"Cop&ier | Tout sélectionner"_s, u"&Copiar | Selecionar tudo"_s};
    EXPECT_EQ(menus.join(u'\n').toStdString(), qtWords.join(u'\n').toStdString());
    EXPECT_TRUE(clipped.isEmpty()) << "captions cut off:\n" << clipped.join(u'\n');
    unnamed.removeDuplicates();
    EXPECT_TRUE(unnamed.isEmpty()) << "controls without an accessible name:\n" << unnamed.join(u'\n');
    EXPECT_TRUE(shown.empty()) << "no window may fail to load";
}

TEST_F(ImportWindowTest, LoadErrorIsShownAndTheWindowStillOpens)
{
    // A zone the service cannot make: reaching TimeZoneService fails during the load.
    writeSetting(u"TimeZoneService/TimeZones"_s, QStringList{u"Mars/Olympus"_s});
    restart();
    dataset(u"File one"_s, u"SN-F1"_s);
    then<frmRecImport>([this](frmRecImport& w) {
        ASSERT_EQ(shown.size(), 1u) << "the load error must be shown before the window opens";
        EXPECT_TRUE(shown[0].text.startsWith(u"RecImport form load error\r\n"_s)) << shown[0].text;
        EXPECT_GT(shown[0].text.size(), 27) << "the error's description follows the line break";
        EXPECT_EQ(w.cboTimeZone->count(), 0) << "the load stopped before the zones";
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
    });
    SafeArray flags = SafeArray::fromValues(VarType::Boolean, {false});
    EXPECT_EQ(record().ShowImport(&flags), S_OK) << "the load's trap keeps the error from the host";
    EXPECT_FALSE(fileSelected());
}

TEST_F(ImportWindowTest, NoteButtonCopiesNoteEditedEvenWhenFalse)
{
    record().put_NoteChangeAllowed(true);
    then<frmRecImport>([](frmRecImport& w) {
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // type, OK
        EXPECT_TRUE(state().NoteChanged.at(0));
        EXPECT_EQ(state().NoteArray.at(0), u"dented"_s);
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // Cancel
        EXPECT_FALSE(state().NoteChanged.at(0)) << "unlike the Statistics window, a later Cancel clears NoteChanged";
        EXPECT_EQ(state().NoteArray.at(0), u"dented"_s);
        QTest::keyClick(w.cboTrace, Qt::Key_Down);
        state().NoteEdited = true; // the Import window does not clear it before opening
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // OK at once on an empty note
        EXPECT_TRUE(state().NoteChanged.at(1)) << "NoteEdited is copied as it stands";
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
    });
    noteTyped(u"dented"_s, true);
    then<frmNote>([](frmNote& n) { QTest::mouseClick(n.cmdCancel, Qt::LeftButton); });
    then<frmNote>([](frmNote& n) { QTest::mouseClick(n.cmdOk, Qt::LeftButton); });
    EXPECT_EQ(showImport(), S_OK);
}

// --- Batch services ---

// The reports, form feeds and page numbers of RTF_All and the documents of RTF_NT show in the golden files of
// tests/data/reports/batch.cases; here what the host does not show: the caller's arguments, the printer, the window.
TEST_F(RecordWindowsTest, BatchServicesKeepOrReplaceTheCallersTextRaiseStartPageNumAndChooseThePrinter)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(infoFilePath()).absolutePath()));
    trucks(2);
    printers({u"Alpha"_s, Pdf});
    double job = 7;
    std::int16_t startPage = 1, total = 9, windowPage = 1;
    QString printer = u"Alpha"_s, text = u"HEAD"_s, fromWindow = u"HEAD"_s;
    ASSERT_EQ(record().RTF_All(&job, &startPage, &total, &printer, &text, nullptr), S_OK)
        << lastErrorInfo().description;
    EXPECT_EQ(startPage, 3) << "StartPageNum grows by the number of datasets";
    EXPECT_TRUE(text.startsWith(u"HEAD{\\rtf"_s)) << "the caller's text comes first";
    EXPECT_TRUE(text.contains(u"Page "_s)) << "omitted numbering means True";
    EXPECT_EQ(currentPrinter().DeviceName(), u"Alpha"_s) << "PrinterName becomes the current printer";
    EXPECT_TRUE(pdfFiles().isEmpty()) << "RTF_All prints nothing";
    frmStatistics window;
    window.load();
    window.PrintAllRec(job, windowPage, total, printer, true, fromWindow, true);
    EXPECT_EQ(fromWindow, text) << "the window's batch and the windowless one must agree";
    ASSERT_EQ(record().RTF_NT(&text), S_OK) << lastErrorInfo().description;
    EXPECT_TRUE(text.startsWith(u" {[{StartDoc}]}"_s)) << "RTF_NT replaces the caller's text";
}

TEST_F(RecordWindowsTest, ShowNoteLeavesOnlyTheNewNoteWithItsLineBreaks)
{
    trucks(3);
    record().put_NoteChangeAllowed(true);
    const QString pending = u"line one\r\nline two\r\n\u00a0x"_s;
    record().put_Note(pending);
    ASSERT_EQ(state().NoteArray.upperBound(), 2);
    then<frmNote>([](frmNote& n) {
        for (const auto policy : {n.txtNote->horizontalScrollBarPolicy(), n.txtNote->verticalScrollBarPolicy()})
            EXPECT_EQ(policy, Qt::ScrollBarAlwaysOn) << "the note box shows both scroll bars";
        QTest::mouseClick(n.cmdOk, Qt::LeftButton);
    });
    ASSERT_EQ(record().ShowNote(), S_OK) << lastErrorInfo().description;
    Variant notes;
    ASSERT_EQ(record().get_NoteArray(&notes), S_OK);
    ASSERT_EQ(notes.array().upperBound(), 0) << "ShowNote leaves NoteArray with one element";
    EXPECT_EQ(notes.array().at(0).toString(), pending) << "an unchanged note must come back byte for byte";
    EXPECT_EQ(state().DataSets.upperBound(), 2) << "the datasets stay";

    then<frmNote>([](frmNote& n) {
        QTest::keyClick(n.txtNote, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(n.txtNote, u" a"_s);
        QTest::keyClick(n.txtNote, Qt::Key_Return);
        QTest::keyClicks(n.txtNote, u"b"_s);
        QTest::mouseClick(n.cmdOk, Qt::LeftButton);
    });
    ASSERT_EQ(record().ShowNote(), S_OK);
    EXPECT_EQ(state().NoteArray.at(0), pending + u" a\r\nb"_s) << "the edited note is the result; Enter is CR LF";
    noteTyped(u" dropped"_s, false);
    ASSERT_EQ(record().ShowNote(), S_OK);
    EXPECT_EQ(state().NoteArray.at(0), pending) << "Cancel returns the pending note unchanged";
}

TEST_F(RecordWindowsTest, LoadErrorsReachTheHostNamingTheElement)
{
    struct Case { int settings; bool filled; int number; QString description; };
    const Case cases[] = {
        {-1, true, Err::TypeMismatch, u"Type mismatch: UserSettings(6)"_s}, // never set
        {6, true, Err::SubscriptOutOfRange, u"Subscript out of range: UserSettings(6)"_s},
        {7, false, Err::SubscriptOutOfRange, u"Subscript out of range: DataSets(0)"_s}, // empty store
    };
    for (const Case& c : cases) {
        restart();
        if (c.settings >= 0)
            record().put_UserSettings(arrayOfValues(VarType::Variant, std::vector<Variant>(std::size_t(c.settings), true)));
        if (c.filled)
            dataset(u"Truck A"_s, u"SN-A0"_s);
        double job = 0;
        std::int16_t startPage = 0, total = 0;
        QString printer, text;
        EXPECT_NE(record().RTF_All(&job, &startPage, &total, &printer, &text, nullptr), S_OK);
        EXPECT_EQ(lastErrorInfo().number, c.number) << c.description;
        EXPECT_EQ(lastErrorInfo().description, c.description) << "RTF_All";
        EXPECT_NE(record().ShowInfo(nullptr), S_OK) << "a load error must fail ShowInfo, not open the window";
        EXPECT_EQ(lastErrorInfo().description, c.description) << "ShowInfo";
    }
}

TEST_F(RecordWindowsTest, PrintAllFailingAfterItsFirstPageLeavesNoJobBehind)
{
    goodThenBad();
    double job = 1;
    std::int16_t startPage = 0, total = 2;
    QString printer = Pdf;
    EXPECT_NE(record().PrintAll(&job, &startPage, &total, &printer), S_OK) << "the second report's error reaches the host";
    EXPECT_FALSE(currentPrinter().jobOpen()) << "the failed job must be ended at the failure";
    EXPECT_TRUE(pdfFiles().isEmpty()) << "and its partial file removed";
}

TEST_F(RecordWindowsTest, LinkedInfoFileIsRefused)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"target.txt"_s);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(infoFilePath()).absolutePath()));
    QFile::remove(infoFilePath());
    ASSERT_TRUE(QFile::link(target, infoFilePath()));
    trucks(1);
    QString text;
    EXPECT_NE(record().RTF_NT(&text), S_OK);
    QFile::remove(infoFilePath());
    EXPECT_EQ(lastErrorInfo().number, Err::PathFileAccessError);
    EXPECT_TRUE(lastErrorInfo().description.contains(u"symbolic link"_s)) << lastErrorInfo().description;
    EXPECT_FALSE(QFileInfo::exists(target)) << "nothing may be written where the link points";
}

// Each thread is an apartment of its own: two of them commit, report and print at once.
TEST_F(RecordWindowsTest, TwoThreadsReportAndPrintEachTheirOwnDatasets)
{
    struct Result { QString rtf, pdf, error; std::int16_t startPage = 0; int refusedWindows = 0; };
    Result results[2];
    std::latch together(2);
    const auto work = [&](int t) {
        Result& out = results[t];
        ComPtr<RecordInfo> r = RecordInfo::create();
        r->put_UserSettings(arrayOfValues(VarType::Variant, std::vector<Variant>(7, true)));
        for (const QString& name : {u"A"_s, u"B"_s}) {
            defaults(*r);
            r->put_DataSetDesc(u"Thread %1 %2"_s.arg(t).arg(name));
            r->AddDataSet();
        }
        SafeArray flags = SafeArray::fromValues(VarType::Boolean, {false, false});
        for (const HResult hr : {r->ShowInfo(nullptr), r->ShowImport(&flags), r->ShowNote()})
            out.refusedWindows += hr == hresultFrom(0x800A0000u | Err::ActionNotSupported);
        together.arrive_and_wait();
        double job = t;
        std::int16_t total = 2;
        QString printer = Pdf;
        if (r->RTF_All(&job, &out.startPage, &total, &printer, &out.rtf, nullptr) != S_OK
            || r->PrintAll(&job, &out.startPage, &total, &printer) != S_OK)
            out.error = lastErrorInfo().description;
        out.pdf = currentPrinter().lastOutputFile();
    };
    std::thread first(work, 0), second(work, 1);
    first.join();
    second.join();
    for (const int t : {0, 1}) {
        const Result& r = results[t];
        const QString own = u"Thread %1 "_s.arg(t), other = u"Thread %1 "_s.arg(1 - t);
        EXPECT_TRUE(r.error.isEmpty()) << r.error;
        EXPECT_EQ(r.refusedWindows, 3) << "windows are for the GUI thread only";
        EXPECT_EQ(r.startPage, 4);
        for (const QString& text : {r.rtf, pdfText(r.pdf)})
            EXPECT_TRUE(text.contains(own + u"A"_s) && text.contains(own + u"B"_s) && !text.contains(other))
                << "thread " << t << " must report its own two datasets, and only those:\n" << text;
    }
    EXPECT_NE(results[0].pdf, results[1].pdf) << "two jobs, two files";
}

} // namespace
