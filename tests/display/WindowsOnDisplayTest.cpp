// SPDX-License-Identifier: MIT
// The windows on a real X server, driven by the server's own input events (XTEST, by xdotool):
// what a user does with the mouse and keyboard, the clipboard as another program reads it
// (xclip), the window system's resize and Qt's modality; and the committed screenshots against
// what the windows draw now.

#include "XdoInput.h"
#include "report/ReportFixture.h"

#include "printing/Printer.h"
#include "windows/ModalService.h"
#include "windows/RichTextView.h"
#include "windows/WindowLayouts.h"
#include "windows/frmNote.h"
#include "windows/frmPrinterDlg.h"
#include "windows/frmRecImport.h"
#include "windows/frmStatistics.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

QString focused()
{
    const QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : u"(none)"_s;
}

// What another program reads from the clipboard, as type.
QByteArray clipboardAs(const QString& type)
{
    QProcess xclip;
    xclip.start(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s, u"-t"_s, type});
    // The application answers the request from its event loop: keep it turning.
    EXPECT_TRUE(QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 5000)) << "xclip hangs";
    return xclip.readAllStandardOutput();
}

// What LibreOffice makes of a document (a paste is read by the same filters), written as XHTML.
QString asLibreOfficeReadsIt(const QByteArray& document, const QString& suffix)
{
    QTemporaryDir work;
    QFile in(work.filePath(u"pasted."_s + suffix));
    if (!in.open(QIODevice::WriteOnly) || in.write(document) != document.size())
        return {};
    in.close();
    QProcess soffice;
    soffice.start(u"soffice"_s, {u"--headless"_s, u"-env:UserInstallation=file://"_s + work.filePath(u"profile"_s),
                                 u"--convert-to"_s, u"xhtml:XHTML Writer File:UTF8"_s, u"--outdir"_s,
                                 work.filePath(u"out"_s), in.fileName()});
    if (!soffice.waitForFinished(120000))
        return {};
    QFile out(work.filePath(u"out/pasted.xhtml"_s));
    return out.open(QIODevice::ReadOnly) ? QString::fromUtf8(out.readAll()) : QString();
}

class DisplayTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        ASSERT_TRUE(input.isValid()) << "xdotool cannot reach the X server at " << qgetenv("DISPLAY").constData();
        ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s);
        std::vector<Variant> settings(7, Variant(false));
        settings[6] = true; // printing from the window
        ASSERT_EQ(record().put_UserSettings(arrayOfValues(VarType::Variant, settings)), S_OK);
        ASSERT_EQ(record().put_NoteChangeAllowed(true), S_OK);
        add([](RecordInfo& r) { r.put_Note(u"dented"_s); });
        add([](RecordInfo& r) { r.put_DataSetDesc(u"Truck 8"_s); });
        setPrinterListSource([] { return QStringList{Printer::PdfPrinterName}; });
        ASSERT_TRUE(setCurrentPrinter(Printer::PdfPrinterName));
        state().ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, {false, false});
    }
    void TearDown() override
    {
        setPrinterListSource({});
        ReportFixture::TearDown();
    }
    static ModuleState& state() { return ModuleState::current(); }

    // Shown where the pointer is not, with the keyboard focus.
    static void showActive(QWidget& w)
    {
        w.move(40, 40);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << w.objectName().toStdString();
    }
    // The focus after each of count Tab presses (Shift+Tab when back).
    QStringList tabbing(int count, bool back = false)
    {
        QStringList seen;
        for (int i = 0; i < count; ++i) {
            const QString before = focused();
            back ? input.key("shift+Tab") : input.key("Tab");
            (void)QTest::qWaitFor([&] { return focused() != before; }, 1000);
            seen << focused();
        }
        return seen;
    }
    // Runs script while dialog is shown modally as the component shows it; the dialog's result.
    // Whatever the script leaves open is closed, so that a failing script cannot hang the test.
    int modal(QDialog& dialog, const std::function<void()>& script)
    {
        QTimer::singleShot(0, &dialog, [&] {
            if (QTest::qWaitForWindowActive(&dialog))
                script();
            else
                ADD_FAILURE() << "the modal window never became active";
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the script left " << dialog.objectName().toStdString() << " open";
                dialog.done(-1);
            }
        });
        return modalService().showModal(dialog);
    }

    XdoInput input;
};

// Where the report shows box position at, on the screen.
QPoint onScreen(RichTextView& view, qsizetype at, double across)
{
    const QRect cell = view.characterRect(at);
    EXPECT_FALSE(cell.isEmpty()) << "position " << at;
    return view.viewport()->mapToGlobal(QPoint(cell.left() + int(cell.width() * across), cell.center().y()));
}

TEST_F(DisplayTest, ReportIsSelectedByMouseAndCopiedForOtherPrograms)
{
    frmStatistics w;
    w.load();
    showActive(w);
    RichTextView& view = *w.txtInfoView;
    const QString text = view.model()->Text();
    const qsizetype serial = text.indexOf(u"\t4711"_s);
    ASSERT_GT(serial, 0);
    const qsizetype start = text.lastIndexOf(u'\n', serial) + 1, end = text.indexOf(u'\r', serial);
    const QString line = text.mid(start, end - start);
    EXPECT_TRUE(line.startsWith(u'\t')) << line;

    // A drag over one row selects it, tabs and all.
    input.moveTo(onScreen(view, start, 0.1));
    input.press();
    input.moveTo(onScreen(view, serial + 2, 0.5));
    input.moveTo(onScreen(view, end - 1, 0.9));
    input.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.selectedText() == line; }, 2000)) << view.selectedText();
    EXPECT_EQ(focused(), u"txtInfo"_s) << "a click in the report gives it the focus";

    // Ctrl+C: another program reads plain text, RTF and HTML.
    QGuiApplication::clipboard()->clear();
    input.key("ctrl+c");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == line; }, 2000));
    const QByteArray targets = clipboardAs(u"TARGETS"_s);
    for (const char* type : {"UTF8_STRING", "text/rtf", "application/rtf", "text/html"})
        EXPECT_TRUE(targets.contains(type)) << type << " not offered:\n" << targets.constData();
    EXPECT_EQ(QString::fromUtf8(clipboardAs(u"UTF8_STRING"_s)), line);
    const QByteArray rtf = clipboardAs(u"text/rtf"_s);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1") && rtf.contains("4711")) << rtf.constData();
    EXPECT_TRUE(clipboardAs(u"text/html"_s).contains("4711"));

    // The whole report pasted into a word processor keeps its fonts and colours.
    input.key("ctrl+a");
    input.key("ctrl+c");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text().size() > line.size(); }, 2000));
    const QByteArray whole = clipboardAs(u"text/rtf"_s);
    const QRegularExpression colour(u"\\\\red(\\d+)\\\\green(\\d+)\\\\blue(\\d+);"_s);
    QStringList colours;
    for (const auto& m : colour.globalMatch(QString::fromLatin1(whole)))
        if (m.captured(0) != u"\\red0\\green0\\blue0;"_s)
            colours << QColor(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).name();
    ASSERT_FALSE(colours.isEmpty()) << "a report has coloured headings";
    for (const auto& [document, suffix] : {std::pair{whole, u"rtf"_s}, std::pair{clipboardAs(u"text/html"_s), u"html"_s}}) {
        const QString read = asLibreOfficeReadsIt(document, suffix);
        ASSERT_TRUE(read.contains(u"4711"_s)) << suffix.toStdString() << " not read:\n" << read.left(400);
        EXPECT_TRUE(read.contains(u"font-family:Arial"_s)) << suffix.toStdString();
        for (const QString& c : colours)
            EXPECT_TRUE(read.contains(u"color:"_s + c)) << suffix.toStdString() << " lost " << c.toStdString();
    }
    // A double-click takes a word. Before the wheel: a notch still on its way to the window
    // would move the word from under the pointer.
    const QPoint word = onScreen(view, serial + 2, 0.5);
    input.click(word);
    input.click(word);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.selectedText() == u"4711"_s; }, 2000)) << view.selectedText();

    // The wheel scrolls; the selection stays.
    const int top = view.verticalScrollBar()->value();
    input.moveTo(word);
    for (int i = 0; i < 3; ++i) {
        input.press(5);
        input.release(5);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.verticalScrollBar()->value() > top; }, 2000));
    EXPECT_EQ(view.selectedText(), u"4711"_s);

    // The context menu comes up under the pointer and goes with Esc.
    input.click(word, 3);
    QMenu* menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }, 2000));
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text() + (action->isEnabled() ? u""_s : u" (off)"_s);
    EXPECT_EQ(items, (QStringList{u"&Copy"_s, u"Select All"_s}));
    input.key("Escape");
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, 2000));
    EXPECT_TRUE(w.isVisible()) << "Esc closes the menu, not the window";
}

TEST_F(DisplayTest, TabAndShiftTabFollowEachWindowsOrder)
{
    const auto cycle = [&](QWidget& w, QWidget* first, const QStringList& order) {
        showActive(w);
        first->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return first->hasFocus(); }, 1000));
        QStringList forth = order.mid(1) << order.first();
        EXPECT_EQ(tabbing(int(order.size())), forth) << w.objectName().toStdString();
        QStringList back;
        for (qsizetype i = order.size() - 1; i >= 0; --i)
            back << order[i];
        EXPECT_EQ(tabbing(int(order.size()), true), back) << w.objectName().toStdString() << " backwards";
    };
    frmStatistics statistics;
    statistics.load();
    cycle(statistics, statistics.cmdOk,
          {u"cmdOk"_s, u"cboTrace"_s, u"cmdNote"_s, u"cmdPrint"_s, u"chkDetails"_s, u"txtInfo"_s});
    statistics.hide();
    frmRecImport import;
    import.load();
    cycle(import, import.cboTrace,
          {u"cboTrace"_s, u"cboTimeZone"_s, u"cmdImport"_s, u"cmdCancel"_s, u"cmdNote"_s, u"chkDetails"_s,
           u"txtInfo"_s});
    import.hide();
    frmPrinterDlg printer;
    cycle(printer, printer.cboPrinter, {u"cboPrinter"_s, u"cmdOk"_s, u"cmdCancel"_s, u"cmdProperties"_s});
    printer.hide();

    // In the note box Tab moves on and types nothing; Ctrl+Tab types a tab.
    state().NoteText = u"dented"_s;
    frmNote note;
    cycle(note, note.txtNote, {u"txtNote"_s, u"cmdOk"_s, u"cmdCancel"_s});
    EXPECT_EQ(note.txtNote->toPlainText(), u"dented"_s);
    ASSERT_EQ(focused(), u"txtNote"_s);
    input.key("ctrl+Tab");
    EXPECT_TRUE(QTest::qWaitFor([&] { return note.txtNote->toPlainText().contains(u'\t'); }, 1000));
    EXPECT_EQ(focused(), u"txtNote"_s);
}

TEST_F(DisplayTest, ModalWindowsTakeEnterAndEscAndBlockTheHost)
{
    QPushButton host(u"Host window"_s);
    int hostClicks = 0;
    QObject::connect(&host, &QPushButton::clicked, [&] { ++hostClicks; });
    host.setGeometry(900, 800, 200, 60);
    showActive(host);
    const QPoint hostButton = host.mapToGlobal(host.rect().center());

    // Enter in the note box starts a line; the host gets no click; Enter on OK saves.
    state().NoteText = u"dented"_s;
    frmNote note;
    const int saved = modal(note, [&] {
        input.click(hostButton);
        QTest::qWait(200);
        EXPECT_TRUE(note.isActiveWindow()) << "the host took the focus from a modal window";
        note.txtNote->moveCursor(QTextCursor::End);
        input.key("Return");
        EXPECT_TRUE(QTest::qWaitFor([&] { return note.txtNote->toPlainText() == u"dented\n"_s; }, 1000))
            << note.txtNote->toPlainText();
        EXPECT_TRUE(note.isVisible()) << "Enter in the box is a line break, not OK";
        input.key("Tab");
        EXPECT_TRUE(QTest::qWaitFor([&] { return note.cmdOk->hasFocus(); }, 1000));
        input.key("Return");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !note.isVisible(); }, 1000));
    });
    EXPECT_EQ(saved, QDialog::Accepted);
    EXPECT_EQ(hostClicks, 0) << "a click on the host reached it while a window was modal";
    EXPECT_EQ(state().NoteText, u"dented\r\n"_s);

    // Esc is Cancel where the window has a cancel button (the printer dialog); the Import
    // window has none and stays open until its Cancel is clicked.
    frmPrinterDlg printer;
    const int escaped = modal(printer, [&] {
        input.key("Escape");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !printer.isVisible(); }, 1000));
    });
    EXPECT_EQ(escaped, QDialog::Rejected);
    frmRecImport import;
    import.load();
    const int cancelled = modal(import, [&] {
        input.key("Escape");
        QTest::qWait(200);
        EXPECT_TRUE(import.isVisible()) << "Esc closed the Import window";
        input.click(import.cmdCancel->mapToGlobal(import.cmdCancel->rect().center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !import.isVisible(); }, 1000));
    });
    EXPECT_EQ(cancelled, QDialog::Rejected);
    // Modality ends with the window: the host takes clicks again.
    host.activateWindow();
    input.click(hostButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return hostClicks == 1; }, 2000));
}

// Resized by the window system as a window manager would, each child's geometry is its twips
// rectangle of the layout resized to that size, to a pixel.
TEST_F(DisplayTest, ResizedByTheWindowSystemTheControlsFollow)
{
    const auto expectPlaced = [&](QWidget& w, QSize size, auto layOut,
                                  std::initializer_list<std::pair<const QWidget*, const TwipsRect*>> children) {
        showActive(w);
        input.resizeWindow(w.winId(), size.width(), size.height());
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.size() == size; }, 2000)) << w.width() << "x" << w.height();
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
        w.hide();
    };
    frmNote note;
    NoteLayout n;
    expectPlaced(note, {900, 640}, [&](double cw, double ch, double) { n.resize(cw, ch); },
                 {{note.txtNote, &n.txtNote}, {note.cmdOk, &n.cmdOk}, {note.cmdCancel, &n.cmdCancel}});
    frmStatistics statistics;
    statistics.load();
    StatisticsLayout s;
    expectPlaced(statistics, {1000, 700}, [&](double cw, double ch, double) { s.resize(cw, ch); },
                 {{statistics.txtInfoView, &s.txtInfo}, {statistics.cmdOk, &s.cmdOk}, {statistics.cmdNote, &s.cmdNote},
                  {statistics.cboTrace, &s.cboTrace}, {statistics.chkDetails, &s.chkDetails}});
    frmRecImport import;
    import.load();
    ImportLayout i;
    expectPlaced(import, {1100, 700}, [&](double cw, double ch, double ww) { i.resize(cw, ch, ww); },
                 {{import.txtInfoView, &i.txtInfo}, {import.cmdImport, &i.cmdImport}, {import.cmdCancel, &i.cmdCancel},
                  {import.cboTimeZone, &i.cboTimeZone}, {import.lblFile, &i.lblFile}});
}

// The share of pixels that differ by more than a little in some channel (antialiasing, hinting).
double differingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            differing += std::max({std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                                   std::abs(qBlue(p[col]) - qBlue(q[col]))})
                         > 32;
    }
    return double(differing) / (double(x.width()) * x.height());
}

TEST(Screenshots, AreTheCommittedPicturesAndTheSameEveryTime)
{
    const QString committed = QStringLiteral(VX_SOURCE_DIR "/docs/screenshots");
    const QStringList names = QDir(committed).entryList({u"*.png"_s}, QDir::Files, QDir::Name);
    ASSERT_EQ(names.size(), 8);
    QTemporaryDir runs;
    ASSERT_TRUE(runs.isValid());
    for (const QString& run : {u"one"_s, u"two"_s}) {
        QProcess recinfo;
        recinfo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        recinfo.start(QStringLiteral(VX_RECINFO),
                      {u"screenshots"_s, QStringLiteral(VX_SOURCE_DIR "/samples/rf-network-alarms.json"), runs.filePath(run)});
        ASSERT_TRUE(recinfo.waitForFinished(60000));
        ASSERT_EQ(recinfo.exitCode(), 0);
    }
    for (const QString& name : names) {
        QFile one(runs.filePath(u"one/"_s + name)), two(runs.filePath(u"two/"_s + name));
        ASSERT_TRUE(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(one.readAll() == two.readAll()) << name.toStdString() << " differs between two runs";
        const double share = differingShare(QImage(one.fileName()), QImage(committed + u'/' + name));
        EXPECT_LT(share, 0.005) << name.toStdString() << ": " << share * 100
                                << " % of the pixels differ from the committed picture; make screenshots";
    }
}

} // namespace
