// Resize rules of the three windows in twips, a shown window applying them, and the note
// window's outcomes.

#include "component/RecordFixture.h"

#include "component/ModuleState.h"
#include "windows/WindowLayouts.h"
#include "windows/frmNote.h"
#include "windows/frmRecImport.h"
#include "windows/frmStatistics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

// --- Resize rules ---

QString rectLine(const char* name, const TwipsRect& r)
{
    QString line = u"  "_s + QLatin1String(name);
    for (const double v : {r.left, r.top, r.width, r.height})
        line += u' ' + QString::number(v, 'g', 10);
    return line + u'\n';
}

// One case of window-layouts.txt: "Window client-width client-height [outer-width] [from w h]".
// The controls that are laid out at any height start disturbed, so a rule that skips one shows.
QString layOut(const QStringList& words)
{
    QList<double> n;
    for (const QString& w : words.mid(1))
        if (w != u"from"_s)
            n << w.toDouble();
    const bool from = words.contains(u"from"_s);
    QString out;
    if (words[0] == u"Statistics"_s) {
        StatisticsLayout l;
        if (from)
            l.resize(n[2], n[3]);
        l.cmdOk.left = l.cmdPrint.left = l.cmdNote.left = l.cboTrace.left = l.cboTrace.width = 1;
        l.resize(n[0], n[1]);
        for (const auto& [name, r] : {std::pair{"cboTrace", l.cboTrace}, {"cmdNote", l.cmdNote}, {"cmdPrint", l.cmdPrint},
                                      {"cmdOk", l.cmdOk}, {"txtInfo", l.txtInfo}, {"chkDetails", l.chkDetails}})
            out += rectLine(name, r);
    } else if (words[0] == u"Import"_s) {
        ImportLayout l;
        if (from)
            l.resize(n[3], n[4], n[3] + 120);
        l.cmdImport.left = l.cmdCancel.left = l.cmdNote.left = l.lblFile.left = 1;
        l.resize(n[0], n[1], n[2]);
        for (const auto& [name, r] :
             {std::pair{"cboTrace", l.cboTrace}, {"cboTimeZone", l.cboTimeZone}, {"lblFile", l.lblFile},
              {"lblTimeZone", l.lblTimeZone}, {"txtInfo", l.txtInfo}, {"cmdNote", l.cmdNote},
              {"cmdCancel", l.cmdCancel}, {"cmdImport", l.cmdImport}, {"chkDetails", l.chkDetails}})
            out += rectLine(name, r);
    } else {
        NoteLayout l;
        if (from)
            l.resize(n[2], n[3]);
        l.resize(n[0], n[1]);
        for (const auto& [name, r] : {std::pair{"txtNote", l.txtNote}, {"cmdOk", l.cmdOk}, {"cmdCancel", l.cmdCancel}})
            out += rectLine(name, r);
    }
    return out;
}

// The reviewed file lists each case followed by the rectangles it must give, in twips.
TEST(WindowLayoutTest, ResizeRulesGiveTheReviewedRectangles)
{
    QFile file(QStringLiteral(VX_TEST_DATA_DIR "/layouts/window-layouts.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
    const QString reviewed = QString::fromUtf8(file.readAll());
    QString actual;
    for (const QString& line : reviewed.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u"  "_s))
            continue;
        actual += line + u'\n';
        if (!line.startsWith(u'#'))
            actual += layOut(line.split(u' ', Qt::SkipEmptyParts));
    }
    EXPECT_EQ(actual.toStdString(), reviewed.toStdString());
}

// --- A shown window applies its layout ---

using ShownWindowLayoutTest = RecordFixture;

// Shown at a size in pixels, each child's geometry must be its twips rectangle of the layout resized
// to that size, to a pixel.
TEST_F(ShownWindowLayoutTest, ResizingAShownWindowMovesItsControls)
{
    const auto expectPlaced = [](QWidget& w, QSize size, auto layOut,
                                 std::initializer_list<std::pair<const QWidget*, const TwipsRect*>> children) {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(w.size(), size);
        const double tx = 1440.0 / w.logicalDpiX(), ty = 1440.0 / w.logicalDpiY();
        layOut(size.width() * tx, size.height() * ty, w.frameGeometry().width() * tx);
        for (const auto& [child, r] : children) {
            const QRect g = child->geometry();
            const std::string what = (w.objectName() + u'.' + child->objectName()).toStdString();
            EXPECT_NEAR(g.x(), r->left / tx, 1.0) << what << " left";
            EXPECT_NEAR(g.y(), r->top / ty, 1.0) << what << " top";
            EXPECT_NEAR(g.width(), r->width / tx, 1.0) << what << " width";
            EXPECT_NEAR(g.height(), r->height / ty, 1.0) << what << " height";
        }
    };
    frmNote note;
    NoteLayout n;
    expectPlaced(note, {900, 640}, [&](double cw, double ch, double) { n.resize(cw, ch); },
                 {{note.txtNote, &n.txtNote}, {note.cmdOk, &n.cmdOk}, {note.cmdCancel, &n.cmdCancel}});
    frmStatistics statistics;
    StatisticsLayout s;
    expectPlaced(statistics, {1000, 700}, [&](double cw, double ch, double) { s.resize(cw, ch); },
                 {{statistics.txtInfoView, &s.txtInfo}, {statistics.cmdOk, &s.cmdOk}, {statistics.cmdNote, &s.cmdNote},
                  {statistics.cboTrace, &s.cboTrace}, {statistics.chkDetails, &s.chkDetails}});
    frmRecImport import;
    ImportLayout i;
    expectPlaced(import, {1100, 700}, [&](double cw, double ch, double ww) { i.resize(cw, ch, ww); },
                 {{import.txtInfoView, &i.txtInfo}, {import.cmdImport, &i.cmdImport}, {import.cmdCancel, &i.cmdCancel},
                  {import.cboTimeZone, &i.cboTimeZone}, {import.lblFile, &i.lblFile}});
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
        bool allowed = true; // NoteChangeAllowed
        const char* putByCode = nullptr; // then the box's text is replaced, as an assistive tool does
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
        // The host forbids changes: the box is read-only, OK disabled, Cancel the way out.
        {"typing into a locked note", "locked", false, "zz", Close::Cancel, "locked", false, false},
        {"typing into a locked empty note", "", true, "zz", Close::Cancel, "", false, false},
        // Tab moves the focus on; the note gets no tab.
        {"Tab types nothing into the note", "", false, "x\ty", Close::Ok, "xy", true},
        // However the box's text changed, OK takes it (with CR LF at its line breaks).
        {"text put into the box by code, OK", "abc", false, "", Close::Ok, "new\r\nline", true, true, "new\nline"},
        {"text put into the box by code, Cancel", "abc", false, "", Close::Cancel, "abc", false, true, "new"},
        {"the same text put back by code keeps the note as given", "a\nb", false, "", Close::Ok, "a\nb", true, true, "a\nb"},
    };
    for (const Case& c : cases) {
        ModuleState& state = ModuleState::current();
        state.NoteChangeAllowed = c.allowed;
        state.NoteText = QString::fromUtf8(c.note);
        state.NoteEdited = c.editedBefore;
        frmNote w;
        EXPECT_EQ(w.txtNote->toPlainText(), QString::fromUtf8(c.note)) << c.what << ": the box must show the note";
        EXPECT_EQ(w.cmdOk->isEnabled(), c.allowed) << c.what << ": OK only where the host allows changes";
        EXPECT_EQ(w.txtNote->isReadOnly(), !c.allowed) << c.what;
        QTest::keyClicks(w.txtNote, QString::fromUtf8(c.typed));
        if (c.putByCode)
            w.txtNote->setPlainText(QString::fromUtf8(c.putByCode));
        if (c.close == Close::Escape)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            QTest::mouseClick(c.close == Close::Ok ? w.cmdOk : w.cmdCancel, Qt::LeftButton);
        EXPECT_EQ(state.NoteText, QString::fromUtf8(c.noteAfter)) << c.what << ": the caller gets the wrong note";
        EXPECT_EQ(state.NoteEdited, c.editedAfter) << c.what << ": the caller misjudges whether the note changed";
        EXPECT_EQ(w.result(), c.close == Close::Ok ? QDialog::Accepted : QDialog::Rejected) << c.what;
        EXPECT_FALSE(w.isVisible()) << c.what << ": the window must close";
    }
    // Ctrl+Tab puts a tab into the note, as in a classic multi-line box.
    ModuleState::current().NoteText = u"ab"_s;
    ModuleState::current().NoteChangeAllowed = true;
    frmNote w;
    w.txtNote->moveCursor(QTextCursor::End);
    QTest::keyClick(w.txtNote, Qt::Key_Tab, Qt::ControlModifier);
    w.cmdOk_Click();
    EXPECT_EQ(ModuleState::current().NoteText, u"ab\t"_s);
}

} // namespace
