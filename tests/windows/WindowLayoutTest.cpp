// Resize rules of the three windows in twips, a shown window applying them, and the note
// window's outcomes.

#include "component/RecordFixture.h"

#include "component/ModuleState.h"
#include "windows/Twips.h"
#include "windows/WindowLayouts.h"
#include "windows/frmNote.h"
#include "windows/frmRecImport.h"
#include "windows/frmStatistics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <ostream>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;
using namespace Qt::Literals::StringLiterals;

namespace vxRecInfo {
inline std::ostream& operator<<(std::ostream& os, const TwipsRect& r)
{
    return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
} // namespace vxRecInfo

namespace {

// Rectangles compare to a hundredth of a twip: the rules are exact, 0.62 aside.
::testing::AssertionResult sameRect(const TwipsRect& actual, const TwipsRect& expected)
{
    const auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    if (near(actual.left, expected.left) && near(actual.top, expected.top) && near(actual.width, expected.width)
        && near(actual.height, expected.height))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "is " << actual << ", expected " << expected;
}

// --- Statistics and Info window ---

TEST(StatisticsLayoutTest, ButtonsFollowTheReportBoxAndStopAt3800)
{
    struct Case {
        double clientWidth, clientHeight;
        TwipsRect txtInfo, chkDetails, cmdOk, cmdPrint, cmdNote, cboTrace;
    };
    const std::vector<Case> cases = {
        // Design size reproduces the design geometry.
        {9240, 5790, {210, 600, 8805, 4845}, {260, 5490, 3255, 255}, {7800, 60, 1215, 435}, {6555, 60, 1215, 435},
         {5310, 60, 1215, 435}, {210, 120, 4980, 315}},
        // Wider: cmdOk ends where the box ends, 30 between buttons, 120 before cmdNote.
        {12000, 8000, {210, 600, 11565, 7055}, {260, 7700, 3255, 255}, {10560, 60, 1215, 435},
         {9315, 60, 1215, 435}, {8070, 60, 1215, 435}, {210, 120, 7740, 315}},
        // One twip above the minimum: no clamp yet.
        {5241, 5790, {210, 600, 4806, 4845}, {260, 5490, 3255, 255}, {3801, 60, 1215, 435}, {2556, 60, 1215, 435},
         {1311, 60, 1215, 435}, {210, 120, 981, 315}},
        // Exactly at and below the minimum: cmdOk stays at 3800.
        {5240, 5790, {210, 600, 4805, 4845}, {260, 5490, 3255, 255}, {3800, 60, 1215, 435}, {2555, 60, 1215, 435},
         {1310, 60, 1215, 435}, {210, 120, 980, 315}},
        {3000, 5790, {210, 600, 2565, 4845}, {260, 5490, 3255, 255}, {3800, 60, 1215, 435}, {2555, 60, 1215, 435},
         {1310, 60, 1215, 435}, {210, 120, 980, 315}},
        // Just above the height threshold the box still follows.
        {9240, 1301, {210, 600, 8805, 356}, {260, 1001, 3255, 255}, {7800, 60, 1215, 435}, {6555, 60, 1215, 435},
         {5310, 60, 1215, 435}, {210, 120, 4980, 315}},
    };
    for (const Case& c : cases) {
        StatisticsLayout l;
        l.resize(c.clientWidth, c.clientHeight);
        SCOPED_TRACE(::testing::Message() << "client " << c.clientWidth << " x " << c.clientHeight);
        EXPECT_TRUE(sameRect(l.txtInfo, c.txtInfo)) << "report box";
        EXPECT_TRUE(sameRect(l.chkDetails, c.chkDetails)) << "details box";
        EXPECT_TRUE(sameRect(l.cmdOk, c.cmdOk)) << "OK button";
        EXPECT_TRUE(sameRect(l.cmdPrint, c.cmdPrint)) << "Print button";
        EXPECT_TRUE(sameRect(l.cmdNote, c.cmdNote)) << "Note button";
        EXPECT_TRUE(sameRect(l.cboTrace, c.cboTrace)) << "dataset list";
    }
}

TEST(StatisticsLayoutTest, MinimisedHeightKeepsTheBoxesButLaysOutButtonsAndList)
{
    for (double height : {1300.0, 200.0, 0.0}) {
        StatisticsLayout l;
        l.resize(12000, 8000);
        // Disturb what must be recomputed at any height.
        l.cmdOk.left = l.cmdPrint.left = l.cmdNote.left = l.cboTrace.left = l.cboTrace.width = 1;
        l.resize(6000, height);
        EXPECT_TRUE(sameRect(l.txtInfo, {210, 600, 11565, 7055})) << "height " << height << ": the box must keep its size";
        EXPECT_EQ(l.chkDetails.top, 7700) << "height " << height << ": the details box must stay";
        EXPECT_EQ(l.cmdOk.left, 10560) << "height " << height << ": buttons are laid out at any height";
        EXPECT_EQ(l.cmdPrint.left, 9315);
        EXPECT_EQ(l.cmdNote.left, 8070);
        EXPECT_EQ(l.cboTrace.left, 210);
        EXPECT_EQ(l.cboTrace.width, 7740) << "the list is laid out at any height";
    }
}

// --- Import window ---

TEST(ImportLayoutTest, OuterWidth9500SwitchesBetweenProportionalListsAndRightAlignedLabels)
{
    struct Case {
        const char* what;
        double clientWidth, clientHeight, windowWidth;
        double listWidth, labelLeft;
    };
    const std::vector<Case> cases = {
        {"exactly 9500: lists take 62 % of the client width", 9380, 6165, 9500, 9380 * 0.62, 210 + 9380 * 0.62 + 150},
        {"one twip wider: labels end at the report box", 9381, 6165, 9501, 6351 - 360, 210 + 8946 - 2805},
        {"narrow window", 4000, 6165, 4120, 4000 * 0.62, 210 + 4000 * 0.62 + 150},
        {"wide window", 15000, 6165, 15120, 210 + 14565 - 2805 - 360, 210 + 14565 - 2805},
        // The switch looks at the outer width only, not at the client width.
        {"wide client, outer width 9500", 9600, 6165, 9500, 9600 * 0.62, 210 + 9600 * 0.62 + 150},
    };
    for (const Case& c : cases) {
        ImportLayout l;
        l.resize(c.clientWidth, c.clientHeight, c.windowWidth);
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(l.cboTrace.width, c.listWidth, 0.01) << "dataset list width";
        EXPECT_NEAR(l.cboTimeZone.width, c.listWidth, 0.01) << "time-zone list width";
        EXPECT_EQ(l.cboTrace.left, 210);
        EXPECT_EQ(l.cboTimeZone.left, 210);
        EXPECT_NEAR(l.lblFile.left, c.labelLeft, 0.01) << "file label";
        EXPECT_NEAR(l.lblTimeZone.left, c.labelLeft, 0.01) << "time-zone label";
        EXPECT_EQ(l.lblFile.top, 150) << "labels only move sideways";
        EXPECT_EQ(l.lblTimeZone.top, 630);
    }
}

TEST(ImportLayoutTest, ButtonRowFollowsTheBoxAndStopsAt4800)
{
    struct Case {
        double clientWidth, clientHeight;
        double importLeft, buttonTop, boxWidth, boxHeight, detailsTop;
    };
    const std::vector<Case> cases = {
        {9240, 6165, 7800, 5640, 8805, 4455, 5640},   // design
        {12000, 8000, 10560, 7475, 11565, 6290, 7475}, // wider and taller
        {6241, 6165, 4801, 5640, 5806, 4455, 5640},   // one twip above the minimum
        {6240, 6165, 4800, 5640, 5805, 4455, 5640},   // exactly at the minimum
        {3000, 6165, 4800, 5640, 2565, 4455, 5640},   // narrower: clamped
    };
    for (const Case& c : cases) {
        ImportLayout l;
        l.resize(c.clientWidth, c.clientHeight, c.clientWidth + 120);
        SCOPED_TRACE(::testing::Message() << "client " << c.clientWidth << " x " << c.clientHeight);
        EXPECT_EQ(l.cmdImport.left, c.importLeft) << "Import button";
        EXPECT_EQ(l.cmdCancel.left, c.importLeft - 1215 - 30) << "Cancel must stay 30 twips left of Import";
        EXPECT_EQ(l.cmdNote.left, c.importLeft - 1215 - 30 - 1215 - 120) << "Note must stay 120 twips left of Cancel";
        for (const TwipsRect* b : {&l.cmdImport, &l.cmdCancel, &l.cmdNote})
            EXPECT_EQ(b->top, c.buttonTop) << "buttons follow the bottom edge";
        EXPECT_EQ(l.chkDetails.top, c.detailsTop);
        EXPECT_EQ(l.txtInfo.width, c.boxWidth);
        EXPECT_EQ(l.txtInfo.height, c.boxHeight);
    }
}

TEST(ImportLayoutTest, MinimisedHeightKeepsBoxesAndButtonTopsButLaysOutLefts)
{
    ImportLayout l;
    l.resize(12000, 8000, 12120);
    l.cmdImport.left = l.cmdCancel.left = l.cmdNote.left = l.lblFile.left = 1;
    l.resize(5000, 1300, 5120);
    EXPECT_TRUE(sameRect(l.txtInfo, {210, 1050, 11565, 6290})) << "the box must keep its size at 1300";
    EXPECT_EQ(l.cmdImport.top, 7475) << "button tops change only above 1300";
    EXPECT_EQ(l.chkDetails.top, 7475);
    EXPECT_EQ(l.cmdImport.left, 10560) << "lefts are laid out at any height";
    EXPECT_EQ(l.cmdCancel.left, 9315);
    EXPECT_EQ(l.cmdNote.left, 7980);
    EXPECT_NEAR(l.lblFile.left, 210 + 5000 * 0.62 + 150, 0.01);
}

// --- Recording note window ---

TEST(NoteLayoutTest, OkEndsWithTheBoxStopsAt2200AndCancelKeeps1800)
{
    struct Case {
        double clientWidth, clientHeight;
        TwipsRect txtNote;
        double okLeft, buttonTop;
    };
    const std::vector<Case> cases = {
        {8250, 6120, {390, 330, 7515, 4935}, 6270, 5520},    // design size: flush with the box, not the design 6240
        {10000, 8000, {390, 330, 9265, 6815}, 8020, 7400},   // larger
        {3681, 6120, {390, 330, 2946, 4935}, 2200, 5520},    // would end at 1701: clamped
        {3000, 6120, {390, 330, 2265, 4935}, 2200, 5520},    // clamped
        {4180, 1301, {390, 330, 3445, 116}, 2200, 701},      // just above the threshold: clamp exactly at 2200
        {4181, 6120, {390, 330, 3446, 4935}, 2201, 5520},    // one twip above the minimum
    };
    for (const Case& c : cases) {
        NoteLayout l;
        l.resize(c.clientWidth, c.clientHeight);
        SCOPED_TRACE(::testing::Message() << "client " << c.clientWidth << " x " << c.clientHeight);
        EXPECT_TRUE(sameRect(l.txtNote, c.txtNote)) << "note box";
        EXPECT_EQ(l.cmdOk.left, c.okLeft) << "OK must end with the box, never left of 2200";
        EXPECT_EQ(l.cmdCancel.left, c.okLeft - 1800) << "Cancel must stay 1800 twips left of OK";
        EXPECT_EQ(l.cmdOk.top, c.buttonTop);
        EXPECT_EQ(l.cmdCancel.top, c.buttonTop);
        EXPECT_EQ(l.cmdOk.width, 1635);
    }
}

TEST(NoteLayoutTest, MinimisedHeightKeepsTheBoxWhileButtonsFollowTheBottom)
{
    for (double height : {1300.0, 900.0}) {
        NoteLayout l;
        l.resize(10000, 8000);
        l.resize(5000, height);
        EXPECT_TRUE(sameRect(l.txtNote, {390, 330, 9265, 6815})) << "height " << height << ": the box must keep its size";
        EXPECT_EQ(l.cmdOk.top, height - 600) << "buttons follow the bottom edge at any height";
        EXPECT_EQ(l.cmdCancel.top, height - 600);
        EXPECT_EQ(l.cmdOk.left, 8020);
        EXPECT_EQ(l.cmdCancel.left, 6220);
    }
}

// --- A shown window applies its layout ---

class ShownWindowLayoutTest : public RecordFixture
{
protected:
    // The child's pixel geometry must be the twips rectangle at the screen's twips per pixel.
    static void expectPlaced(const QWidget* child, const TwipsRect& r, const char* what)
    {
        const QRect g = child->geometry();
        EXPECT_NEAR(g.x(), r.left / tx(*child), 1.0) << what << " left";
        EXPECT_NEAR(g.y(), r.top / ty(*child), 1.0) << what << " top";
        EXPECT_NEAR(g.width(), r.width / tx(*child), 1.0) << what << " width";
        EXPECT_NEAR(g.height(), r.height / ty(*child), 1.0) << what << " height";
    }
    static void showAndResize(QWidget& w, QSize size)
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(w.size(), size);
    }
    static double tx(const QWidget& w) { return 1440.0 / w.logicalDpiX(); }
    static double ty(const QWidget& w) { return 1440.0 / w.logicalDpiY(); }
};

TEST_F(ShownWindowLayoutTest, ResizingAShownWindowMovesItsControls)
{
    {
        frmNote w;
        showAndResize(w, {900, 640});
        NoteLayout l;
        l.resize(900 * tx(w), 640 * ty(w));
        expectPlaced(w.txtNote, l.txtNote, "note box");
        expectPlaced(w.cmdOk, l.cmdOk, "note OK");
        expectPlaced(w.cmdCancel, l.cmdCancel, "note Cancel");
    }
    {
        frmStatistics w;
        showAndResize(w, {1000, 700});
        StatisticsLayout l;
        l.resize(1000 * tx(w), 700 * ty(w));
        expectPlaced(w.txtInfoView, l.txtInfo, "report box");
        expectPlaced(w.cmdOk, l.cmdOk, "statistics OK");
        expectPlaced(w.cmdNote, l.cmdNote, "statistics Note");
        expectPlaced(w.cboTrace, l.cboTrace, "dataset list");
        expectPlaced(w.chkDetails, l.chkDetails, "details box");
    }
    {
        frmRecImport w;
        showAndResize(w, {1100, 700});
        ImportLayout l;
        l.resize(1100 * tx(w), 700 * ty(w), w.frameGeometry().width() * tx(w));
        expectPlaced(w.txtInfoView, l.txtInfo, "import report box");
        expectPlaced(w.cmdImport, l.cmdImport, "Import button");
        expectPlaced(w.cmdCancel, l.cmdCancel, "import Cancel");
        expectPlaced(w.cboTimeZone, l.cboTimeZone, "time-zone list");
        expectPlaced(w.lblFile, l.lblFile, "file label");
    }
}

// --- Recording note window outcomes ---

using NoteWindowTest = RecordFixture;

TEST_F(NoteWindowTest, OutcomesOfOkAndCancel)
{
    enum class Close { Ok, Cancel, Escape };
    struct Case {
        const char* what;
        const char* note;
        bool editedBefore;
        std::function<void(QPlainTextEdit*)> edit;
        Close close;
        const char* noteAfter;
        bool editedAfter;
    };
    const auto none = [](QPlainTextEdit*) {};
    const std::vector<Case> cases = {
        {"OK at once on a non-empty note: filling the box counts as a change", "abc", false, none, Close::Ok, "abc",
         true},
        {"empty note, type x, OK", "", false, [](QPlainTextEdit* t) { QTest::keyClicks(t, u"x"_s); }, Close::Ok, "x",
         true},
        {"empty note, type x and delete it, OK", "", false,
         [](QPlainTextEdit* t) {
             QTest::keyClicks(t, u"x"_s);
             QTest::keyClick(t, Qt::Key_Backspace);
         },
         Close::Ok, "", true},
        {"OK at once on an empty note leaves NoteEdited as it was (False)", "", false, none, Close::Ok, "", false},
        {"OK at once on an empty note leaves NoteEdited as it was (True)", "", true, none, Close::Ok, "", true},
        {"edit then Cancel", "abc", false,
         [](QPlainTextEdit* t) {
             QTest::keyClick(t, Qt::Key_End, Qt::ControlModifier);
             QTest::keyClicks(t, u"def"_s);
         },
         Close::Cancel, "abc", false},
        {"Cancel clears an earlier NoteEdited", "", true, none, Close::Cancel, "", false},
        // Closing by other means keeps the note but reports the change.
        {"edit then Esc", "abc", false, [](QPlainTextEdit* t) { QTest::keyClicks(t, u"q"_s); }, Close::Escape, "abc",
         true},
    };
    for (const Case& c : cases) {
        ModuleState& state = ModuleState::current();
        state.NoteChangeAllowed = true;
        state.NoteText = QString::fromUtf8(c.note);
        state.NoteEdited = c.editedBefore;
        frmNote w;
        EXPECT_EQ(w.txtNote->toPlainText(), QString::fromUtf8(c.note)) << c.what << ": the box must show the note";
        c.edit(w.txtNote);
        if (c.close == Close::Escape)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            QTest::mouseClick(c.close == Close::Ok ? w.cmdOk : w.cmdCancel, Qt::LeftButton);
        EXPECT_EQ(state.NoteText, QString::fromUtf8(c.noteAfter)) << c.what << ": the caller gets the wrong note";
        EXPECT_EQ(state.NoteEdited, c.editedAfter) << c.what << ": the caller misjudges whether the note changed";
        EXPECT_EQ(w.result(), c.close == Close::Ok ? QDialog::Accepted : QDialog::Rejected) << c.what;
        EXPECT_FALSE(w.isVisible()) << c.what << ": the window must close";
    }
}

TEST_F(NoteWindowTest, ChangeNotAllowedMakesTheWindowReadOnly)
{
    for (const QString& note : {QStringLiteral("locked"), QString()}) {
        ModuleState& state = ModuleState::current();
        state.NoteChangeAllowed = false;
        state.NoteText = note;
        frmNote w;
        EXPECT_FALSE(w.cmdOk->isEnabled()) << "OK must be disabled when the host forbids changes";
        EXPECT_TRUE(w.cmdCancel->isEnabled()) << "Cancel is the way out";
        EXPECT_TRUE(w.txtNote->isReadOnly());
        QTest::keyClicks(w.txtNote, u"zz"_s);
        EXPECT_EQ(w.txtNote->toPlainText(), note) << "typing must not change a read-only note";
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        EXPECT_NE(w.result(), QDialog::Accepted) << "a disabled OK must not close the window";
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
        EXPECT_EQ(state.NoteText, note);
        EXPECT_FALSE(state.NoteEdited);
    }
}

} // namespace
