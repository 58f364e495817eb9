// SPDX-License-Identifier: MIT
#include "frmPrinterDlg.h"

#include "ClassicKeys.h"
#include "JapaneseFont.h"
#include "ModalService.h"
#include "Twips.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "printing/Printer.h"
#include "support/ErrorLog.h"
#include "support/Labels.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace vxRecInfo {

namespace {

QString defaultPrinter()
{
    return lateGet(hostSettings(), QStringLiteral("DefaultPrinter")).toString();
}

QPushButton* button(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    b->setFont(font);
    return b;
}

} // namespace

std::int16_t& PrinterDialogResult()
{
    return ModuleState::current().PrinterDialogResult;
}

frmPrinterDlg::frmPrinterDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrinterDlg"));
    setModal(true);
    cboPrinter = new QComboBox(this);
    cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    cboPrinter->setEditable(true);
    cboPrinter->setInsertPolicy(QComboBox::NoInsert);
    cboPrinter->setCompleter(nullptr); // typed text stays as typed: printer names match exactly
    cmdOk = button(this, "cmdOk");
    cmdCancel = button(this, "cmdCancel");
    cmdProperties = button(this, "cmdProperties");

    setFixedSize(toPixelsX(this, 5685), toPixelsY(this, 3195));
    placeInTwips(cboPrinter, 270, 240, 5145, 315);
    placeInTwips(cmdOk, 3900, 2310, 1500, 435);
    placeInTwips(cmdCancel, 2070, 2310, 1500, 435);
    placeInTwips(cmdProperties, 270, 2310, 1500, 435);
    setTabOrder(cboPrinter, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdProperties);
    useClassicKeys(this, cmdCancel);

    connect(cmdOk, &QPushButton::clicked, this, &frmPrinterDlg::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrinterDlg::cmdCancel_Click);
    connect(cmdProperties, &QPushButton::clicked, this, &frmPrinterDlg::cmdProperties_Click);
    load();
    // The list's change notification is that of its text, raised when the user edits it, not
    // when an entry is picked: a picked entry becomes current only through Properties or OK.
    connect(cboPrinter->lineEdit(), &QLineEdit::textEdited, this, &frmPrinterDlg::cboPrinter_Change);
}

void frmPrinterDlg::LoadResLabels()
{
    setWindowTitle(Label(LabelId::Print));
    cmdOk->setText(Label(LabelId::Ok));
    cmdCancel->setText(Label(LabelId::Cancel));
    cmdProperties->setText(Label(LabelId::Properties));
}

void frmPrinterDlg::load()
{
    ApplyJapaneseFont(this);
    try {
        LoadResLabels();
        placeAtFourTenths(this);
        PrinterDialogResult() = PrinterDialog::Loaded;
        const QString chosen = defaultPrinter();
        int remembered = -1;
        for (const QString& name : Printers()) {
            cboPrinter->addItem(name);
            if (name == chosen) {
                remembered = cboPrinter->count() - 1;
                setCurrentPrinter(name);
            }
        }
        const int entry = remembered < 0 ? 0 : remembered;
        // Selecting entry 0 of an empty list fails, as it does for a system without printers.
        if (entry >= cboPrinter->count())
            throw RuntimeError(Err::InvalidPropertyValue);
        cboPrinter->setCurrentIndex(entry);
    } catch (const RuntimeError&) {
        PrinterDialogResult() = PrinterDialog::NoPrinter;
    }
}

template <class Handler>
void frmPrinterDlg::trapped(const char* handlerName, Handler handler)
{
    try {
        handler();
    } catch (const RuntimeError& e) {
        LogError(true, QString::number(e.number()), e.description(), QStringLiteral("frmPrinterDlg"),
                 QString::fromLatin1(handlerName));
    }
}

// The printer switch: the selected entry becomes current unless it is the host's default.
void frmPrinterDlg::switchPrinter()
{
    const QString entry = cboPrinter->currentText();
    if (entry == defaultPrinter())
        return;
    for (const QString& name : Printers()) {
        if (name == entry) {
            setCurrentPrinter(name);
            return;
        }
    }
}

void frmPrinterDlg::cboPrinter_Change()
{
    trapped("cboPrinter_Change", [this] { switchPrinter(); });
}

// Each step of a handler is trapped on its own: a failed step is logged once and the handler
// goes on with the next.
void frmPrinterDlg::cmdProperties_Click()
{
    trapped("cmdProperties_Click", [this] { switchPrinter(); });
    trapped("cmdProperties_Click", [this] { modalService().showPrinterProperties(this, currentPrinter()); });
}

void frmPrinterDlg::cmdOk_Click()
{
    trapped("cmdOk_Click", [this] { switchPrinter(); });
    trapped("cmdOk_Click",
            [this] { latePut(hostSettings(), QStringLiteral("DefaultPrinter"), cboPrinter->currentText()); });
    QDialog::accept();
}

void frmPrinterDlg::cmdCancel_Click()
{
    trapped("cmdCancel_Click", [] {
        const QString chosen = defaultPrinter();
        if (currentPrinter().DeviceName() != chosen) {
            for (const QString& name : Printers()) {
                if (name == chosen) {
                    setCurrentPrinter(name);
                    break;
                }
            }
        }
    });
    PrinterDialogResult() = PrinterDialog::Cancelled;
    QDialog::reject();
}

} // namespace vxRecInfo
