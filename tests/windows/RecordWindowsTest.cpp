// SPDX-License-Identifier: MIT
// The record services and the Statistics and Info window they open, driven through RecordInfo
// with scripted modal windows; the Import window has a source of its own.

#include "RecordWindowsFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

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

// The Note button of both windows: a confirmed edit marks the note changed. The Statistics window
// clears NoteEdited before it opens the note and only ever raises NoteChanged; the Import window
// copies NoteEdited as it stands, so a later Cancel clears NoteChanged and a left-over True counts.
TEST_F(RecordWindowsTest, NoteButtonsOfTheStatisticsAndImportWindows)
{
    const auto noteButton = [](auto& w, bool importing) {
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // type x, OK
        EXPECT_TRUE(state().NoteChanged.at(0)) << "a confirmed edit marks the note changed";
        EXPECT_EQ(state().NoteArray.at(0), u"x"_s);
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // type y, Cancel
        EXPECT_EQ(state().NoteChanged.at(0), !importing) << "a later Cancel, in the Import window only, clears it";
        EXPECT_EQ(state().NoteArray.at(0), u"x"_s) << "Cancel keeps the note";
        QTest::keyClick(w.cboTrace, Qt::Key_Down);
        state().NoteEdited = true; // left over from before
        QTest::mouseClick(w.cmdNote, Qt::LeftButton); // OK at once on ""
        EXPECT_EQ(state().NoteChanged.at(1), importing) << "an untouched empty note is a change in the Import window only";
    };
    for (const bool importing : {false, true}) {
        restart();
        userSettings(true);
        record().put_NoteChangeAllowed(true);
        dataset(u"Empty note"_s, u"SN-0"_s);
        dataset(u"Empty again"_s, u"SN-1"_s);
        if (importing)
            then<frmRecImport>([&](frmRecImport& w) { noteButton(w, true); });
        else
            then<frmStatistics>([&](frmStatistics& w) { noteButton(w, false); });
        noteTyped(u"x"_s, true);
        then<frmNote>([](frmNote& n) {
            EXPECT_EQ(n.txtNote->toPlainText(), u"x"_s) << "the note window must show the dataset's note";
            QTest::keyClicks(n.txtNote, u"y"_s);
            QTest::mouseClick(n.cmdCancel, Qt::LeftButton);
        });
        then<frmNote>([](frmNote& n) { QTest::mouseClick(n.cmdOk, Qt::LeftButton); });
        SafeArray flags = SafeArray::fromValues(VarType::Boolean, {false, false});
        EXPECT_EQ(importing ? record().ShowImport(&flags) : record().ShowInfo(nullptr), S_OK);
        Variant changed;
        ASSERT_EQ(record().get_NoteChanged(&changed), S_OK);
        for (const int i : {0, 1})
            EXPECT_EQ(changed.array().at(i).toBool(), (i == 0) != importing) << "NoteChanged(" << i << ") reaches the host";
    }
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
    then<frmNote>([](frmNote& n) { QTest::mouseClick(n.cmdOk, Qt::LeftButton); });
    ASSERT_EQ(record().ShowNote(), S_OK) << lastErrorInfo().description;
    Variant notes;
    ASSERT_EQ(record().get_NoteArray(&notes), S_OK);
    ASSERT_EQ(notes.array().upperBound(), 0) << "ShowNote leaves NoteArray with one element";
    EXPECT_EQ(notes.array().at(0).toString(), pending) << "an unchanged note must come back byte for byte";
    EXPECT_EQ(state().DataSets.upperBound(), 2) << "the datasets stay";

    noteTyped(u" a"_s, true);
    ASSERT_EQ(record().ShowNote(), S_OK);
    EXPECT_EQ(state().NoteArray.at(0), pending + u" a"_s) << "the edited note is the result";
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

// Each thread is an apartment of its own: two of them commit and print at once (two reporting
// at once: tests/python); neither may open a window.
TEST_F(RecordWindowsTest, TwoThreadsPrintEachTheirOwnDatasets)
{
    struct Result { QString pdf, error; std::int16_t startPage = 0; int refusedWindows = 0; };
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
        if (r->PrintAll(&job, &out.startPage, &total, &printer) != S_OK)
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
        EXPECT_EQ(r.startPage, 2);
        const QString text = pdfText(r.pdf);
        EXPECT_TRUE(text.contains(own + u"A"_s) && text.contains(own + u"B"_s) && !text.contains(other))
            << "thread " << t << " must print its own two datasets, and only those:\n" << text;
    }
    EXPECT_NE(results[0].pdf, results[1].pdf) << "two jobs, two files";
}

} // namespace
