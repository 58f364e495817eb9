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

// Buttons keep 30 twips between them (cmdPrint 1245 left of cmdOk, cmdNote 2490) and the list
// ends 120 before cmdNote. A row with a `from` size was laid out at that size first; every row
// starts with the buttons and the list disturbed, which are laid out at any height.
TEST(StatisticsLayoutTest, ButtonsFollowTheReportBoxStopAt3800AndMinimisedKeepsTheBoxes)
{
    struct Case {
        double clientWidth, clientHeight, boxWidth, boxHeight, detailsTop, okLeft, fromWidth = 0, fromHeight = 0;
    };
    const Case cases[] = {
        {9240, 5790, 8805, 4845, 5490, 7800},    // the design size gives the design geometry
        {12000, 8000, 11565, 7055, 7700, 10560}, // wider: cmdOk ends where the box ends
        {5241, 5790, 4806, 4845, 5490, 3801},    // one twip above the minimum: no clamp yet
        {5240, 5790, 4805, 4845, 5490, 3800},    // at the minimum
        {3000, 5790, 2565, 4845, 5490, 3800},    // below it cmdOk stays at 3800
        {9240, 1301, 8805, 356, 1001, 7800},     // just above the height threshold the box still follows
        {6000, 1300, 11565, 7055, 7700, 10560, 12000, 8000}, // minimised: the boxes keep their size
        {6000, 200, 11565, 7055, 7700, 10560, 12000, 8000},
        {6000, 0, 11565, 7055, 7700, 10560, 12000, 8000},
    };
    for (const Case& c : cases) {
        StatisticsLayout l;
        if (c.fromWidth > 0)
            l.resize(c.fromWidth, c.fromHeight);
        l.cmdOk.left = l.cmdPrint.left = l.cmdNote.left = l.cboTrace.left = l.cboTrace.width = 1;
        l.resize(c.clientWidth, c.clientHeight);
        SCOPED_TRACE(::testing::Message() << "client " << c.clientWidth << " x " << c.clientHeight);
        EXPECT_TRUE(sameRect(l.txtInfo, {210, 600, c.boxWidth, c.boxHeight})) << "report box";
        EXPECT_TRUE(sameRect(l.chkDetails, {260, c.detailsTop, 3255, 255})) << "details box";
        EXPECT_TRUE(sameRect(l.cmdOk, {c.okLeft, 60, 1215, 435})) << "OK button";
        EXPECT_TRUE(sameRect(l.cmdPrint, {c.okLeft - 1245, 60, 1215, 435})) << "Print button";
        EXPECT_TRUE(sameRect(l.cmdNote, {c.okLeft - 2490, 60, 1215, 435})) << "Note button";
        EXPECT_TRUE(sameRect(l.cboTrace, {210, 120, c.okLeft - 2820, 315})) << "dataset list";
    }
}

// --- Import window ---

// Up to an outer width of 9500 both lists take 62 % of the client width; wider, the labels end
// where the report box ends. Either way a label starts 150 twips right of its list (360 from
// the list's width). Cancel stays 30 twips left of Import, Note 120 left of Cancel; Import stops
// at 4800.
TEST(ImportLayoutTest, ListsSwitchAt9500ButtonRowStopsAt4800AndMinimisedKeepsTheBoxes)
{
    struct Case {
        const char* what;
        double clientWidth, clientHeight, windowWidth;
        double listWidth, importLeft, buttonTop, boxWidth, boxHeight, fromWidth = 0, fromHeight = 0;
    };
    const Case cases[] = {
        {"outer width 9500: proportional lists", 9380, 6165, 9500, 9380 * 0.62, 7940, 5640, 8945, 4455},
        {"one twip wider: labels end at the report box", 9381, 6165, 9501, 5991, 7941, 5640, 8946, 4455},
        {"narrow window", 4000, 6165, 4120, 4000 * 0.62, 4800, 5640, 3565, 4455},
        {"wide window", 15000, 6165, 15120, 11610, 13560, 5640, 14565, 4455},
        {"the switch looks at the outer width only", 9600, 6165, 9500, 9600 * 0.62, 8160, 5640, 9165, 4455},
        {"design size", 9240, 6165, 9360, 9240 * 0.62, 7800, 5640, 8805, 4455},
        {"wider and taller", 12000, 8000, 12120, 8610, 10560, 7475, 11565, 6290},
        {"one twip above the minimum", 6241, 6165, 6361, 6241 * 0.62, 4801, 5640, 5806, 4455},
        {"exactly at the minimum", 6240, 6165, 6360, 6240 * 0.62, 4800, 5640, 5805, 4455},
        {"narrower: clamped", 3000, 6165, 3120, 3000 * 0.62, 4800, 5640, 2565, 4455},
        {"minimised: boxes and button tops keep", 5000, 1300, 5120, 5000 * 0.62, 10560, 7475, 11565, 6290, 12000, 8000},
    };
    for (const Case& c : cases) {
        ImportLayout l;
        if (c.fromWidth > 0)
            l.resize(c.fromWidth, c.fromHeight, c.fromWidth + 120);
        l.cmdImport.left = l.cmdCancel.left = l.cmdNote.left = l.lblFile.left = 1; // laid out at any height
        l.resize(c.clientWidth, c.clientHeight, c.windowWidth);
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(sameRect(l.txtInfo, {210, 1050, c.boxWidth, c.boxHeight})) << "report box";
        EXPECT_EQ(l.cmdImport.left, c.importLeft) << "Import button";
        EXPECT_EQ(l.cmdCancel.left, c.importLeft - 1245) << "Cancel button";
        EXPECT_EQ(l.cmdNote.left, c.importLeft - 2580) << "Note button";
        for (const TwipsRect* r : {&l.cmdImport, &l.cmdCancel, &l.cmdNote, &l.chkDetails})
            EXPECT_EQ(r->top, c.buttonTop) << "buttons and the details box follow the bottom edge";
        EXPECT_TRUE(sameRect(l.cboTrace, {210, 120, c.listWidth, 315})) << "dataset list";
        EXPECT_TRUE(sameRect(l.cboTimeZone, {210, 540, c.listWidth, 315})) << "time-zone list";
        EXPECT_TRUE(sameRect(l.lblFile, {c.listWidth + 360, 150, 2805, 280})) << "file label";
        EXPECT_TRUE(sameRect(l.lblTimeZone, {c.listWidth + 360, 630, 2805, 280})) << "time-zone label";
    }
}

// --- Recording note window ---

TEST(NoteLayoutTest, OkEndsWithTheBoxStopsAt2200CancelKeeps1800AndMinimisedKeepsTheBox)
{
    struct Case {
        double clientWidth, clientHeight;
        TwipsRect txtNote;
        double okLeft, buttonTop, fromWidth = 0, fromHeight = 0;
    };
    const Case cases[] = {
        {8250, 6120, {390, 330, 7515, 4935}, 6270, 5520}, // design size: flush with the box, not the design 6240
        {10000, 8000, {390, 330, 9265, 6815}, 8020, 7400}, // larger
        {3681, 6120, {390, 330, 2946, 4935}, 2200, 5520},  // would end at 1701: clamped
        {3000, 6120, {390, 330, 2265, 4935}, 2200, 5520},  // clamped
        {4180, 1301, {390, 330, 3445, 116}, 2200, 701},    // just above the threshold: clamp exactly at 2200
        {4181, 6120, {390, 330, 3446, 4935}, 2201, 5520},  // one twip above the minimum
        // Minimised: the box keeps its size, the buttons follow the bottom edge.
        {5000, 1300, {390, 330, 9265, 6815}, 8020, 700, 10000, 8000},
        {5000, 900, {390, 330, 9265, 6815}, 8020, 300, 10000, 8000},
    };
    for (const Case& c : cases) {
        NoteLayout l;
        if (c.fromWidth > 0)
            l.resize(c.fromWidth, c.fromHeight);
        l.resize(c.clientWidth, c.clientHeight);
        SCOPED_TRACE(::testing::Message() << "client " << c.clientWidth << " x " << c.clientHeight);
        EXPECT_TRUE(sameRect(l.txtNote, c.txtNote)) << "note box";
        EXPECT_TRUE(sameRect(l.cmdOk, {c.okLeft, c.buttonTop, 1635, 375})) << "OK button";
        EXPECT_TRUE(sameRect(l.cmdCancel, {c.okLeft - 1800, c.buttonTop, 1635, 375})) << "Cancel button";
    }
}

// --- A shown window applies its layout ---

class ShownWindowLayoutTest : public RecordFixture
{
protected:
    // Each child's pixel geometry must be its twips rectangle at the screen's twips per pixel.
    static void expectPlaced(std::initializer_list<std::pair<const QWidget*, TwipsRect>> children)
    {
        for (const auto& [child, r] : children) {
            const QRect g = child->geometry();
            const std::string what = (child->window()->objectName() + u'.' + child->objectName()).toStdString();
            EXPECT_NEAR(g.x(), r.left / tx(*child), 1.0) << what << " left";
            EXPECT_NEAR(g.y(), r.top / ty(*child), 1.0) << what << " top";
            EXPECT_NEAR(g.width(), r.width / tx(*child), 1.0) << what << " width";
            EXPECT_NEAR(g.height(), r.height / ty(*child), 1.0) << what << " height";
        }
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
        expectPlaced({{w.txtNote, l.txtNote}, {w.cmdOk, l.cmdOk}, {w.cmdCancel, l.cmdCancel}});
    }
    {
        frmStatistics w;
        showAndResize(w, {1000, 700});
        StatisticsLayout l;
        l.resize(1000 * tx(w), 700 * ty(w));
        expectPlaced({{w.txtInfoView, l.txtInfo}, {w.cmdOk, l.cmdOk}, {w.cmdNote, l.cmdNote}, {w.cboTrace, l.cboTrace},
                      {w.chkDetails, l.chkDetails}});
    }
    {
        frmRecImport w;
        showAndResize(w, {1100, 700});
        ImportLayout l;
        l.resize(1100 * tx(w), 700 * ty(w), w.frameGeometry().width() * tx(w));
        expectPlaced({{w.txtInfoView, l.txtInfo}, {w.cmdImport, l.cmdImport}, {w.cmdCancel, l.cmdCancel},
                      {w.cboTimeZone, l.cboTimeZone}, {w.lblFile, l.lblFile}});
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
        const char* typed; // "\b" is Backspace
        Close close;
        const char* noteAfter;
        bool editedAfter;
    };
    const Case cases[] = {
        {"OK at once on a non-empty note: filling the box is a change", "abc", false, "", Close::Ok, "abc", true},
        {"empty note, type x, OK", "", false, "x", Close::Ok, "x", true},
        {"empty note, type x and delete it, OK", "", false, "x\b", Close::Ok, "", true},
        {"OK at once on an empty note leaves NoteEdited as it was (False)", "", false, "", Close::Ok, "", false},
        {"OK at once on an empty note leaves NoteEdited as it was (True)", "", true, "", Close::Ok, "", true},
        {"edit then Cancel", "abc", false, "def", Close::Cancel, "abc", false},
        {"Cancel clears an earlier NoteEdited", "", true, "", Close::Cancel, "", false},
        // Closing by other means keeps the note but reports the change.
        {"edit then Esc", "abc", false, "q", Close::Escape, "abc", true},
    };
    for (const Case& c : cases) {
        ModuleState& state = ModuleState::current();
        state.NoteChangeAllowed = true;
        state.NoteText = QString::fromUtf8(c.note);
        state.NoteEdited = c.editedBefore;
        frmNote w;
        EXPECT_EQ(w.txtNote->toPlainText(), QString::fromUtf8(c.note)) << c.what << ": the box must show the note";
        QTest::keyClicks(w.txtNote, QString::fromUtf8(c.typed));
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
