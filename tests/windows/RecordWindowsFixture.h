// SPDX-License-Identifier: MIT
#pragma once
// The record services and windows driven through RecordInfo with scripted modal windows: nothing
// blocks, every window is clicked by the script.

#include "report/ReportFixture.h"

#include "PdfReader.h"

#include "automation/ClassRegistry.h"
#include "hostclasses/DefaultHostClasses.h"
#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "printing/Printer.h"
#include "windows/frmPrinterDlg.h"
#include "windows/ModalService.h"
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

namespace vxRecInfo::testing {

using Script = std::function<void(QDialog&)>;

// Each modal window runs the next script of the queue instead of an event loop; a printer's
// properties are only noted.
struct ScriptedWindows final : ModalService {
    std::deque<Script> scripts;
    QStringList properties;
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
    void showPrinterProperties(QWidget*, Printer& printer) override { properties.append(printer.DeviceName()); }
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
        m_windows = windows.get();
        m_previousModal = setModalService(std::move(windows));
        ASSERT_TRUE(m_pdfDir.isValid());
        qputenv("VXRECINFO_PDF_DIR", m_pdfDir.path().toLocal8Bit());
        printers({Pdf});
        ASSERT_TRUE(setCurrentPrinter(Pdf));
        writeSetting(u"HostSettings/DefaultPrinter"_s, Pdf);
    }
    void TearDown() override
    {
        EXPECT_TRUE(m_windows->scripts.empty()) << m_windows->scripts.size() << " scripted window(s) never opened";
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
        m_windows->scripts.push_back([script](QDialog& dialog) {
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

    ScriptedWindows* m_windows = nullptr;
    QTemporaryDir m_pdfDir;

private:
    std::unique_ptr<ModalService> m_previousModal;
};

inline ModuleState& state()
{
    return ModuleState::current();
}

} // namespace vxRecInfo::testing
