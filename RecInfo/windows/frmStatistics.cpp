// SPDX-License-Identifier: MIT
#include "frmStatistics.h"

#include "ClassicKeys.h"
#include "JapaneseFont.h"
#include "ModalService.h"
#include "Twips.h"
#include "WindowParts.h"
#include "frmNote.h"

#include "automation/SafeArray.h"
#include "component/ModuleState.h"
#include "printing/PRINTR.h"
#include "printing/Printer.h"
#include "windows/frmPrinterDlg.h"
#include "report/RecInfoCode.h"
#include "richtext/PrintEngine.h"
#include "support/ErrorLog.h"
#include "support/Labels.h"
#include "support/MessageService.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <cmath>

namespace vxRecInfo {

frmStatistics::frmStatistics(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStatistics"));
    setModal(true);
    setDesignFont(this);
    cboTrace = new QComboBox(this);
    cboTrace->setObjectName(QStringLiteral("cboTrace"));
    cmdNote = commandButton(this, "cmdNote", QStringLiteral("Note"));
    cmdPrint = commandButton(this, "cmdPrint", QStringLiteral("Print"));
    cmdOk = commandButton(this, "cmdOk", QStringLiteral("Ok"));
    txtInfoView = new RichTextView(this);
    txtInfoView->setObjectName(QStringLiteral("txtInfo"));
    txtInfoView->setModel(&m_box);
    chkDetails = new QCheckBox(this);
    chkDetails->setObjectName(QStringLiteral("chkDetails"));
    // Tab order: cmdOk, cboTrace, cmdNote, cmdPrint, chkDetails, txtInfo.
    setTabOrder(cmdOk, cboTrace);
    setTabOrder(cboTrace, cmdNote);
    setTabOrder(cmdNote, cmdPrint);
    setTabOrder(cmdPrint, chkDetails);
    setTabOrder(chkDetails, txtInfoView);
    useClassicKeys(this);
    resizeInTwips(this, StatisticsLayout::ClientWidth, StatisticsLayout::ClientHeight);
    relayOut(false);

    connect(cboTrace, &QComboBox::activated, this, [this] { reportingErrors([this] { cboTrace_Click(); }); });
    connect(chkDetails, &QCheckBox::clicked, this, [this] { reportingErrors([this] { chkDetails_Click(); }); });
    connect(cmdNote, &QPushButton::clicked, this, [this] { reportingErrors([this] { cmdNote_Click(); }); });
    connect(cmdPrint, &QPushButton::clicked, this, &frmStatistics::cmdPrint_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmStatistics::cmdOk_Click);
}

void frmStatistics::load()
{
    ModuleState& state = ModuleState::current();
    state.TimeZoneService.reset(); // a new instance, made at its first use
    m_layout = StatisticsLayout{};
    m_box.setDefaultFont(QStringLiteral("Arial"), 10);
    setOuterWidthTwips(9560);
    fillDatasetList(cboTrace);
    selectEntry(Batch::clampedListIndexPointer(cboTrace->count()));
    LoadResLabels();
    placeAtFourTenths(this);
    cmdPrint->setEnabled(Batch::printAllowed());
    ApplyJapaneseFont(this);
}

void frmStatistics::LoadResLabels()
{
    cmdNote->setText(Label(LabelId::Note));
    cmdOk->setText(Label(LabelId::Ok));
    setWindowTitle(Label(LabelId::Statistics));
    txtInfoView->setAccessibleName(windowTitle()); // a screen reader's name for the report
    chkDetails->setText(Label(LabelId::Details));
    cmdPrint->setText(Label(LabelId::Print));
}

void frmStatistics::selectEntry(int entry)
{
    if (entry < 0 || entry >= cboTrace->count())
        throw RuntimeError(Err::InvalidPropertyValue);
    {
        QSignalBlocker blocker(cboTrace);
        cboTrace->setCurrentIndex(entry);
    }
    cboTrace_Click();
}

std::int16_t frmStatistics::selectedDataset() const
{
    return datasetOf(cboTrace->currentIndex());
}

std::int16_t frmStatistics::datasetOf(int entry) const
{
    return datasetOfEntry(cboTrace, entry);
}

void frmStatistics::tickDetails()
{
    chkDetails->setChecked(true);
}

void frmStatistics::boundToPrinter(std::int32_t lineWidth)
{
    setOuterWidthTwips(lineWidth + 200);
}

Variant frmStatistics::detailsValue() const
{
    return checkBoxValue(chkDetails);
}

int frmStatistics::datasetListCount() const
{
    return cboTrace->count();
}

void frmStatistics::showReport()
{
    RecInfoCode::BuildReport(*this, selectedDataset(), false, QString(), 0, 0, 0, 0, true);
}

void frmStatistics::cboTrace_Click()
{
    showReport();
}

void frmStatistics::chkDetails_Click()
{
    showReport();
}

void frmStatistics::cmdNote_Click()
{
    ModuleState& state = ModuleState::current();
    state.NoteIndex = selectedDataset();
    state.NoteText = state.NoteArray.at(state.NoteIndex);
    state.NoteEdited = false;
    frmNote note(this);
    modalService().showModal(note);
    if (state.NoteEdited)
        state.NoteChanged.at(state.NoteIndex) = true;
    state.NoteArray.at(state.NoteIndex) = state.NoteText;
}

void frmStatistics::cmdPrint_Click()
{
    QString description;
    try {
        PRINTR::SavedPrinterName() = currentPrinter().DeviceName();
        frmPrinterDlg dialog(this);
        dialog.setWindowTitle(QStringLiteral("Print Statistics"));
        modalService().showModal(dialog);
        const std::int16_t result = PrinterDialogResult();
        if (result == PrinterDialog::Cancelled)
            return;
        if (result == PrinterDialog::Loaded) {
            const QString keptRtf = m_box.TextRTF();
            const double keptWidth = std::round(outerWidthTwips(this));
            RecInfoCode::BuildReport(*this, selectedDataset(), true, QString(), 0, 0, 0, 0, true);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            currentPrinter().setJobInfo(Batch::printJobInfo({selectedDataset()}));
            setOuterWidthTwips(RTBFormat::WYSIWYG_RTF(m_box, 1440, 1440) + 200);
            RTBFormat::PrintRTF(m_box, 1440, 1440, 1440, 1440, false,
                                ModuleState::current().DataSets.at(selectedDataset()).SerialNumber);
            QApplication::restoreOverrideCursor();
            setOuterWidthTwips(keptWidth);
            PRINTR::RestorePrinter();
            m_box.setTargetDevice(nullptr, 0);
            m_box.setTextRTF(keptRtf);
            return;
        }
    } catch (const RuntimeError& e) {
        abortCurrentJob(); // a job cut short leaves no partial file
        if (e.number() == PrinterDialog::Cancelled)
            return;
        description = e.description();
    }
    showMessage(Label(LabelId::PrintingError) + QStringLiteral("\r\n") + description,
                MsgBox::Exclamation | MsgBox::OKOnly, applicationTitle());
}

void frmStatistics::cmdOk_Click()
{
    accept();
}

void frmStatistics::PrintAllRec(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                                QString& PrinterName, bool RTFOnly, QString& RTF_Text, bool EnablePageNumbering)
{
    Batch::PrintAllRec(*this, PJob, StartPageNum, TotalPages, PrinterName, RTFOnly, RTF_Text, EnablePageNumbering);
}

void frmStatistics::setOuterWidthTwips(double twips)
{
    const int frame = frameGeometry().width() - width();
    resize(std::max(1, toPixelsX(this, twips) - frame), height());
    // A hidden window gets its resize event only when shown: lay out now.
    relayOut();
}

void frmStatistics::relayOut(bool resize)
{
    using L = StatisticsLayout;
    layOutWindow(this, m_layout,
                 {{cboTrace, &L::cboTrace}, {cmdNote, &L::cmdNote}, {cmdPrint, &L::cmdPrint}, {cmdOk, &L::cmdOk},
                  {txtInfoView, &L::txtInfo}, {chkDetails, &L::chkDetails}},
                 resize);
}

void frmStatistics::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    relayOut();
}

} // namespace vxRecInfo
