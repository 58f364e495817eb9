#include "component/RecordFixture.h"

#include "automation/ClassRegistry.h"
#include "component/DefaultHostClasses.h"
#include "component/HostObjects.h"
#include "printing/Printer.h"
#include "printing/frmPrinterDlg.h"
#include "support/MessageService.h"
#include "windows/ModalService.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

// Records the properties dialogs asked for instead of opening them.
class ScriptedModal final : public ModalService
{
public:
    explicit ScriptedModal(QStringList* log) : m_log(log) {}
    int showModal(QDialog&) override { return 0; }
    void showPrinterProperties(QWidget*, Printer& printer) override { m_log->append(printer.DeviceName()); }

private:
    QStringList* m_log;
};

// Answers like a host's settings but refuses to store a default printer.
class RefusingHostSettings final : public DispatchObject<IDispatch>
{
public:
    const TypeInfo& GetTypeInfo() const override
    {
        static const TypeInfo info(QStringLiteral("_Refusing"), QUuid::createUuid(),
                                   {method(1, QStringLiteral("RestoreParameters"), 1, {}),
                                    propertyGet(2, QStringLiteral("ResOffset"), 2, VarType::Long),
                                    propertyGet(3, QStringLiteral("DefaultPrinter"), 3, VarType::String),
                                    propertyLet(4, QStringLiteral("DefaultPrinter"), 3, VarType::String)});
        return info;
    }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>&) override
    {
        if (member.dispId == 2)
            return 0;
        if (member.kind == MemberKind::PropertyPut)
            throw RuntimeError(Err::PathFileAccessError, QStringLiteral("settings are read-only"));
        return QStringLiteral("Alpha");
    }
};

class PrinterDialogTest : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        m_previousModal = setModalService(std::make_unique<ScriptedModal>(&properties));
    }
    void TearDown() override
    {
        setPrinterListSource({});
        setModalService(std::move(m_previousModal));
        RecordFixture::TearDown();
    }

    void installed(QStringList names, const QString& current = {})
    {
        setPrinterListSource([names] { return names; });
        if (!current.isEmpty()) {
            ASSERT_TRUE(setCurrentPrinter(current));
        }
    }
    void hostDefault(const QString& name)
    {
        writeSetting(QStringLiteral("HostSettings/DefaultPrinter"), name);
        lateCall(hostSettings(), QStringLiteral("RestoreParameters"));
    }
    QString storedDefault() { return lateGet(createHostSettings().get(), QStringLiteral("DefaultPrinter")).toString(); }

    QStringList properties;
    std::unique_ptr<ModalService> m_previousModal;
};

} // namespace

TEST_F(PrinterDialogTest, LayoutAndCaptions)
{
    installed({QStringLiteral("Alpha")});
    frmPrinterDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Print"));
    EXPECT_EQ(dlg.cmdOk->text(), QStringLiteral("Ok"));
    EXPECT_EQ(dlg.cmdProperties->text(), QStringLiteral("Properties"));
    const double perPixel = 1440.0 / dlg.logicalDpiX();
    EXPECT_NEAR(dlg.cmdOk->x() * perPixel, 3900, perPixel);
    EXPECT_NEAR(dlg.cboPrinter->width() * perPixel, 5145, perPixel);
    EXPECT_EQ(dlg.findChild<QComboBox*>(QStringLiteral("cboPrinter")), dlg.cboPrinter);
    EXPECT_TRUE(dlg.cmdOk->font().bold());
}

TEST_F(PrinterDialogTest, NoPrinterGivesMinusOne)
{
    installed({});
    frmPrinterDlg dlg;
    EXPECT_EQ(dlg.cboPrinter->count(), 0);
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::NoPrinter);
}

TEST_F(PrinterDialogTest, UnknownDefaultSelectsTheFirstEntryAndKeepsTheCurrentPrinter)
{
    installed({QStringLiteral("Alpha"), QStringLiteral("Beta")}, QStringLiteral("Beta"));
    hostDefault(QStringLiteral("Gamma"));
    frmPrinterDlg dlg;
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::Loaded);
    EXPECT_EQ(dlg.cboPrinter->currentIndex(), 0);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Beta")) << "loading must not switch to entry 0";
    QTest::mouseClick(dlg.cmdOk, Qt::LeftButton);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha"));
    EXPECT_EQ(storedDefault(), QStringLiteral("Alpha")) << "OK writes the chosen printer as the host's default";
}

TEST_F(PrinterDialogTest, CancelMakesTheDefaultCurrentAgain)
{
    installed({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    hostDefault(QStringLiteral("Alpha"));
    frmPrinterDlg dlg;
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha")) << "loading makes the default current";
    dlg.cboPrinter->setCurrentIndex(1);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Beta"));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Alpha"));
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::Cancelled);
    EXPECT_EQ(storedDefault(), QStringLiteral("Alpha"));
}

TEST_F(PrinterDialogTest, OkIsRememberedByTheNextDialog)
{
    installed({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    hostDefault(QStringLiteral("Alpha"));
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
    installed({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    hostDefault(QStringLiteral("Alpha"));
    frmPrinterDlg dlg;
    dlg.cboPrinter->setCurrentIndex(1);
    QTest::mouseClick(dlg.cmdProperties, Qt::LeftButton);
    EXPECT_EQ(properties, QStringList{QStringLiteral("Beta")}) << "the properties of the chosen printer";
    dlg.cboPrinter->setCurrentIndex(0);
    QTest::mouseClick(dlg.cmdOk, Qt::LeftButton);
    EXPECT_EQ(currentPrinter().DeviceName(), QStringLiteral("Beta")) << "the switch skips the default's entry";
    EXPECT_EQ(storedDefault(), QStringLiteral("Alpha"));
}

TEST_F(PrinterDialogTest, HandlerErrorsAreLoggedAndTheDialogGoesOn)
{
    installed({QStringLiteral("Alpha")});
    // A host whose settings store refuses the default printer.
    ClassRegistry::instance().registerClass(
        {HostClasses::HostSettingsClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<RefusingHostSettings>()); }});
    ModuleState::current().HostSettings.reset();
    frmPrinterDlg dlg;
    EXPECT_EQ(PrinterDialogResult(), PrinterDialog::Loaded);
    QTest::mouseClick(dlg.cmdOk, Qt::LeftButton);
    registerDefaultHostClasses();
    ASSERT_EQ(shown.size(), 1u) << "the error of OK must reach the user";
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Error Occurred: 75\r\n")));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Module: frmPrinterDlg\r\nFunction: cmdOk_Click")));
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << "after logging, OK still closes the dialog";
}
