// SPDX-License-Identifier: MIT
#include "frmRecImport.h"

#include "ClassicKeys.h"
#include "JapaneseFont.h"
#include "ModalService.h"
#include "Twips.h"
#include "WindowParts.h"
#include "frmNote.h"

#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "report/RecInfoCode.h"
#include "support/ErrorLog.h"
#include "support/Labels.h"
#include "support/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vxRecInfo {

frmRecImport::frmRecImport(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRecImport"));
    setModal(true);
    setDesignFont(this);
    cboTrace = new QComboBox(this);
    cboTrace->setObjectName(QStringLiteral("cboTrace"));
    cboTimeZone = new QComboBox(this);
    cboTimeZone->setObjectName(QStringLiteral("cboTimeZone"));
    cboTimeZone->setEditable(true);
    cboTimeZone->setInsertPolicy(QComboBox::NoInsert);
    // Design captions, until the labels of the user's language replace them at load.
    lblFile = new QLabel(QStringLiteral("File to Import"), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblTimeZone = new QLabel(QStringLiteral("Logger Time Zone"), this);
    lblTimeZone->setObjectName(QStringLiteral("lblTimeZone"));
    txtInfoView = new RichTextView(this);
    txtInfoView->setObjectName(QStringLiteral("txtInfo"));
    txtInfoView->setModel(&m_box);
    cmdNote = commandButton(this, "cmdNote", QStringLiteral("Note"));
    cmdCancel = commandButton(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdImport = commandButton(this, "cmdImport", QStringLiteral("Import"));
    chkDetails = new QCheckBox(QStringLiteral("Details"), this);
    chkDetails->setObjectName(QStringLiteral("chkDetails"));
    // Tab order: cboTrace, cboTimeZone, cmdImport, cmdCancel, cmdNote, chkDetails, then the rest.
    setTabOrder(cboTrace, cboTimeZone);
    setTabOrder(cboTimeZone, cmdImport);
    setTabOrder(cmdImport, cmdCancel);
    setTabOrder(cmdCancel, cmdNote);
    setTabOrder(cmdNote, chkDetails);
    setTabOrder(chkDetails, txtInfoView);
    // The labels name their boxes for assistive technology.
    lblFile->setBuddy(cboTrace);
    lblTimeZone->setBuddy(cboTimeZone);
    useClassicKeys(this);
    resizeInTwips(this, ImportLayout::ClientWidth, ImportLayout::ClientHeight);
    relayOut();

    connect(cboTrace, &QComboBox::activated, this, [this] { reportingErrors([this] { cboTrace_Click(); }); });
    connect(chkDetails, &QCheckBox::clicked, this, [this] { reportingErrors([this] { chkDetails_Click(); }); });
    connect(cboTimeZone, &QComboBox::activated, this, [this] {
        reportingErrors([this] { cboTimeZone_Click(); });
        showZoneStart();
    });
    // Typed text counts only when it names a listed zone exactly.
    connect(cboTimeZone->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const int entry = cboTimeZone->findText(text, Qt::MatchExactly);
        if (entry < 0)
            return;
        QSignalBlocker blocker(cboTimeZone);
        cboTimeZone->setCurrentIndex(entry);
        cboTimeZone->setToolTip(cboTimeZone->currentText());
        reportingErrors([this] { cboTimeZone_Click(); });
    });
    connect(cmdNote, &QPushButton::clicked, this, [this] { reportingErrors([this] { cmdNote_Click(); }); });
    connect(cmdImport, &QPushButton::clicked, this, &frmRecImport::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRecImport::cmdCancel_Click);
}

void frmRecImport::load()
{
    try {
        m_layout = ImportLayout{};
        m_box.setDefaultFont(QStringLiteral("Arial"), 10);
        const int frame = frameGeometry().width() - width();
        resize(toPixelsX(this, 9560) - frame, height());
        relayOut();
        fillDatasetList(cboTrace);
        {
            QSignalBlocker blocker(cboTrace);
            cboTrace->setCurrentIndex(0);
        }
        cboTrace_Click();
        LoadTimeZoneInfo();
        LoadResLabels();
        placeAtFourTenths(this);
        ApplyJapaneseFont(this);
    } catch (const RuntimeError& e) {
        showMessage(QStringLiteral("RecImport form load error\r\n") + e.description(), MsgBox::OKOnly,
                    applicationTitle());
    }
}

void frmRecImport::LoadTimeZoneInfo()
{
    IDispatch* zones = timeZoneService();
    const Variant names = lateGet(zones, QStringLiteral("TimeArray"));
    const SafeArray& array = names.array();
    {
        QSignalBlocker blocker(cboTimeZone);
        for (std::int32_t i = 1; i <= array.upperBound(); ++i) {
            const QString name = array.at(i).toString();
            cboTimeZone->addItem(name, i);
            cboTimeZone->setItemData(cboTimeZone->count() - 1, name, Qt::ToolTipRole);
        }
        cboTimeZone->setCurrentIndex(-1); // the first entry added is not a choice: only the system's zone is
    }
    const std::int32_t system = lateGet(zones, QStringLiteral("MySystemTZPointer")).toLong();
    for (int entry = 0; entry < cboTimeZone->count(); ++entry) {
        if (cboTimeZone->itemData(entry).toInt() == system) {
            {
                QSignalBlocker blocker(cboTimeZone);
                cboTimeZone->setCurrentIndex(entry);
            }
            cboTimeZone_Click();
        }
    }
    showZoneStart();
    ModuleState::current().TimeZone = Variant(system).toInteger();
}

// A zone's name is longer than the box in some languages; its start tells zones apart, "(UTC+01:00)".
void frmRecImport::showZoneStart()
{
    cboTimeZone->setToolTip(cboTimeZone->currentText());
    cboTimeZone->lineEdit()->setCursorPosition(0);
}

void frmRecImport::LoadResLabels()
{
    cmdNote->setText(Label(LabelId::Note));
    cmdImport->setText(Label(LabelId::Import));
    setWindowTitle(Label(LabelId::Import));
    txtInfoView->setAccessibleName(windowTitle()); // a screen reader's name for the report
    lblFile->setText(Label(LabelId::FileToImport));
    lblTimeZone->setText(Label(LabelId::LoggerTimeZone));
    chkDetails->setText(Label(LabelId::Details));
}

Variant frmRecImport::detailsValue() const
{
    return checkBoxValue(chkDetails);
}

int frmRecImport::datasetListCount() const
{
    return cboTrace->count();
}

std::int16_t frmRecImport::selectedDataset() const
{
    return datasetOfEntry(cboTrace, cboTrace->currentIndex());
}

void frmRecImport::showReport()
{
    RecInfoCode::BuildReport(*this, selectedDataset(), false, QString(), 0, 0, 0, 0, true);
}

void frmRecImport::cboTrace_Click()
{
    showReport();
}

void frmRecImport::chkDetails_Click()
{
    showReport();
}

void frmRecImport::cboTimeZone_Click()
{
    const int entry = cboTimeZone->currentIndex();
    if (entry < 0)
        return; // typed text that names no zone changes nothing
    ModuleState::current().TimeZone = Variant(cboTimeZone->itemData(entry).toInt()).toInteger();
    showReport();
}

void frmRecImport::cmdNote_Click()
{
    ModuleState& state = ModuleState::current();
    state.NoteIndex = selectedDataset();
    state.NoteText = state.NoteArray.at(state.NoteIndex);
    frmNote note(this);
    modalService().showModal(note);
    state.NoteChanged.at(state.NoteIndex) = state.NoteEdited;
    state.NoteArray.at(state.NoteIndex) = state.NoteText;
}

void frmRecImport::cmdImport_Click()
{
    ModuleState& state = ModuleState::current();
    state.ImportFileSelected = true;
    state.ImportUserSelectedTimeZone = state.TimeZone;
    accept();
}

void frmRecImport::cmdCancel_Click()
{
    reject();
}

void frmRecImport::relayOut()
{
    using L = ImportLayout;
    layOutWindow(this, m_layout,
                 {{cboTrace, &L::cboTrace}, {cboTimeZone, &L::cboTimeZone}, {lblFile, &L::lblFile},
                  {lblTimeZone, &L::lblTimeZone}, {txtInfoView, &L::txtInfo}, {cmdNote, &L::cmdNote},
                  {cmdCancel, &L::cmdCancel}, {cmdImport, &L::cmdImport}, {chkDetails, &L::chkDetails}});
}

void frmRecImport::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    relayOut();
}

} // namespace vxRecInfo
