// Resize rules of the three windows in twips (a shown window applies them: tests/display/), and
// the note window's outcomes (its Tab and Ctrl+Tab: tests/display/).

#include "component/RecordFixture.h"

#include "component/ModuleState.h"
#include "windows/WindowLayouts.h"
#include "windows/frmNote.h"

#include <QFile>
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
}

} // namespace
