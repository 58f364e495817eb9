// SPDX-License-Identifier: MIT
// Resize rules of the three windows in twips (a shown window applies them: tests/display/), and
// the note window's outcomes (its Tab and Ctrl+Tab: tests/display/).

#include "component/RecordFixture.h"

#include "CaseTable.h"
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
    for (const CaseRow& c : caseTable("note-window-outcomes.tsv", 9)) {
        const std::string what = c.text(0);
        const QString& close = c[4];
        const bool allowed = c.integer(7) == 1;
        ModuleState& state = ModuleState::current();
        state.NoteChangeAllowed = allowed;
        state.NoteText = c[1];
        state.NoteEdited = c.integer(2) == 1;
        frmNote w;
        EXPECT_EQ(w.txtNote->toPlainText(), c[1]) << what << ": the box must show the note";
        EXPECT_EQ(w.cmdOk->isEnabled(), allowed) << what << ": OK only where the host allows changes";
        EXPECT_EQ(w.txtNote->isReadOnly(), !allowed) << what;
        QTest::keyClicks(w.txtNote, c[3]);
        if (c[8] != QLatin1String("-"))
            w.txtNote->setPlainText(c[8]);
        if (close == QLatin1String("Escape"))
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            QTest::mouseClick(close == QLatin1String("Ok") ? w.cmdOk : w.cmdCancel, Qt::LeftButton);
        EXPECT_EQ(state.NoteText, c[5]) << what << ": the caller gets the wrong note";
        EXPECT_EQ(state.NoteEdited, c.integer(6) == 1) << what << ": the caller misjudges whether the note changed";
        EXPECT_EQ(w.result(), close == QLatin1String("Ok") ? QDialog::Accepted : QDialog::Rejected) << what;
        EXPECT_FALSE(w.isVisible()) << what << ": the window must close";
    }
}

} // namespace
