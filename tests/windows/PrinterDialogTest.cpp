// SPDX-License-Identifier: MIT
// The printer dialog on its own, with the scripted windows of the record window tests.

#include "RecordWindowsFixture.h"

#include <QFile>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

// Host settings that read the default printer for the load and then fail to read it, refuse
// to store one, and keep their error log in a test folder.
class FailingHostSettings final : public DispatchObject<IDispatch>
{
public:
    static inline QString folder;
    static inline int reads = 0;
    const TypeInfo& GetTypeInfo() const override
    {
        static const TypeInfo info(QStringLiteral("_Failing"), QUuid::createUuid(),
                                   {method(1, QStringLiteral("RestoreParameters"), 1, {}),
                                    propertyGet(2, QStringLiteral("ResOffset"), 2, VarType::Long),
                                    propertyGet(3, QStringLiteral("DefaultPrinter"), 3, VarType::String),
                                    propertyLet(4, QStringLiteral("DefaultPrinter"), 3, VarType::String),
                                    propertyGet(5, QStringLiteral("RFIDPath"), 4, VarType::String)});
        return info;
    }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>&) override
    {
        switch (member.dispId) {
        case 2: return 0;
        case 4: return folder;
        default: break;
        }
        if (member.kind == MemberKind::PropertyPut)
            throw RuntimeError(Err::PathFileAccessError, QStringLiteral("settings are read-only"));
        if (++reads > 1)
            throw RuntimeError(Err::InvalidProcedureCall, QStringLiteral("settings are gone"));
        return QStringLiteral("Alpha");
    }
};

class PrinterDialogTest : public RecordWindowsTest
{
protected:
    // Alpha and Beta installed, `current` the current printer, `host` the host's default printer.
    void printers(const QString& host, const QString& current = {})
    {
        RecordWindowsTest::printers({QStringLiteral("Alpha"), QStringLiteral("Beta")});
        if (!current.isEmpty()) {
            ASSERT_TRUE(setCurrentPrinter(current));
        }
        restoreSetting(QStringLiteral("HostSettings/DefaultPrinter"), host);
    }
    QString storedDefault() { return lateGet(createHostSettings().get(), QStringLiteral("DefaultPrinter")).toString(); }
    const QStringList& properties() const { return m_windows->properties; }
};

} // namespace

TEST_F(PrinterDialogTest, UnknownDefaultSelectsTheFirstEntryAndKeepsTheCurrentPrinter)
{
    printers(QStringLiteral("Gamma"), QStringLiteral("Beta"));
    frmPrinterDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Print"));
    EXPECT_EQ(dlg.cmdOk->text(), QStringLiteral("Ok"));
    EXPECT_EQ(dlg.cmdProperties->text(), QStringLiteral("Properties"));
    EXPECT_TRUE(dlg.cmdOk->font().bold());
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::Loaded);
    EXPECT_EQ(dlg.cboPrinter->currentIndex(), 0);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Beta")) << "loading must not switch to entry 0";
    QTest::keyClick(dlg.cmdOk, Qt::Key_Space); // keys other than Enter are the focused button's own
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha"));
    EXPECT_EQ(storedDefault(), QStringLiteral("Alpha")) << "OK writes the chosen printer as the host's default";
}

TEST_F(PrinterDialogTest, EditedTextSwitchesAPickedEntryWaitsAndEscCancels)
{
    printers(QStringLiteral("Alpha"));
    frmPrinterDlg dlg;
    dlg.show();
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha")) << "loading makes the default current";
    ASSERT_TRUE(dlg.cboPrinter->isEditable()) << "the printer list is a drop-down combo box";
    QTest::keyClick(dlg.cboPrinter->lineEdit(), Qt::Key_Down);
    ASSERT_EQ(dlg.cboPrinter->currentIndex(), 1);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha")) << "picking an entry switches nothing yet";
    dlg.cboPrinter->lineEdit()->clear();
    QTest::keyClicks(dlg.cboPrinter->lineEdit(), QStringLiteral("Beta"));
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Beta")) << "editing the text switches at once";
    QTest::keyClick(dlg.cboPrinter->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible()) << "Enter in the list must not press a button";
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha"));
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::Cancelled) << "Esc is the Cancel button";
    EXPECT_EQ(storedDefault(), QStringLiteral("Alpha"));
}

TEST_F(PrinterDialogTest, OkIsRememberedByTheNextDialog)
{
    printers(QStringLiteral("Alpha"));
    {
        frmPrinterDlg dlg;
        dlg.cboPrinter->setCurrentIndex(1);
        QTest::mouseClick(dlg.cmdOk, Qt::LeftButton);
    }
    EXPECT_EQ(storedDefault(), QStringLiteral("Beta"));
    frmPrinterDlg next;
    EXPECT_EQ(next.cboPrinter->currentText(), QStringLiteral("Beta"));
}

TEST_F(PrinterDialogTest, PropertiesThenDefaultEntryKeepsTheOtherPrinter)
{
    printers(QStringLiteral("Alpha"));
    frmPrinterDlg dlg;
    dlg.cboPrinter->setCurrentIndex(1);
    QTest::mouseClick(dlg.cmdProperties, Qt::LeftButton);
    EXPECT_EQ(properties(), QStringList{QStringLiteral("Beta")}) << "the properties of the chosen printer";
    dlg.cboPrinter->setCurrentIndex(0);
    QTest::mouseClick(dlg.cmdOk, Qt::LeftButton);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Beta")) << "the switch skips the default's entry";
    EXPECT_EQ(storedDefault(), QStringLiteral("Alpha"));
}

TEST_F(PrinterDialogTest, HandlersLogAFailedStepAndGoOnWithTheNext)
{
    printers({});
    FailingHostSettings::folder = m_dir.path() + QLatin1Char('/');
    FailingHostSettings::reads = 0;
    ClassRegistry::instance().registerClass(
        {HostClasses::HostSettingsClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<FailingHostSettings>()); }});
    ModuleState::current().HostSettings.reset();
    frmPrinterDlg dlg;
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::Loaded);
    dlg.cboPrinter->setCurrentIndex(1);
    QTest::mouseClick(dlg.cmdProperties, Qt::LeftButton);
    QTest::mouseClick(dlg.cmdOk, Qt::LeftButton);
    registerDefaultHostClasses();
    EXPECT_EQ(properties(), QStringList{QStringLiteral("Alpha")}) << "the properties dialog opens after a failed switch";
    std::vector<QString> where;
    for (const auto& s : shown)
        where.push_back(s.text.section(QStringLiteral("Function: "), 1));
    EXPECT_EQ(where, (std::vector<QString>{QStringLiteral("cmdProperties_Click"), QStringLiteral("cmdOk_Click"),
                                           QStringLiteral("cmdOk_Click")}))
        << "each failed step is logged once and the handler goes on with the next";
    EXPECT_TRUE(shown.back().text.startsWith(QStringLiteral("Error Occurred: 75\r\n"))) << "OK still tries to store";
    QFile log(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << "the error log belongs in the host's data folder";
    EXPECT_EQ(log.readAll().count("\r\n"), 3);
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << "after logging, OK still closes the dialog";
}
