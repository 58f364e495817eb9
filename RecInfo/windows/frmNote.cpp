// SPDX-License-Identifier: MIT
#include "frmNote.h"

#include "ClassicKeys.h"
#include "JapaneseFont.h"
#include "Twips.h"

#include "component/ModuleState.h"
#include "support/Labels.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace vxRecInfo {

frmNote::frmNote(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNote"));
    setModal(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    setFont(font);
    txtNote = new QPlainTextEdit(this);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtNote->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves along the window's controls; Ctrl+Tab types a tab (eventFilter).
    txtNote->setTabChangesFocus(true);
    txtNote->installEventFilter(this);
    cmdOk = new QPushButton(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    setTabOrder(txtNote, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    useClassicKeys(this);
    resizeInTwips(this, NoteLayout::ClientWidth, NoteLayout::ClientHeight);
    relayOut(false);

    ModuleState& state = ModuleState::current();
    connect(txtNote, &QPlainTextEdit::textChanged, this, [] { ModuleState::current().NoteEdited = true; });
    connect(cmdOk, &QPushButton::clicked, this, &frmNote::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNote::cmdCancel_Click);

    LoadResLabels();
    // Filling the box is a change like any other: a non-empty note raises NoteEdited (Qt
    // would signal a change for an empty one too, which a text box does not).
    {
        QSignalBlocker blocker(txtNote);
        txtNote->setPlainText(state.NoteText);
    }
    m_loadedText = state.NoteText;
    m_loadedBoxText = txtNote->document()->toRawText();
    if (!state.NoteText.isEmpty())
        state.NoteEdited = true;
    placeCentred(this);
    ApplyJapaneseFont(this);
    cmdOk->setEnabled(state.NoteChangeAllowed);
    txtNote->setReadOnly(!state.NoteChangeAllowed);
}

void frmNote::LoadResLabels()
{
    setWindowTitle(Label(LabelId::RecordingNote));
    txtNote->setAccessibleName(windowTitle()); // the box has no caption of its own
    cmdOk->setText(Label(LabelId::Ok));
    cmdCancel->setText(Label(LabelId::Cancel));
}

void frmNote::cmdOk_Click()
{
    ModuleState& state = ModuleState::current();
    if (state.NoteEdited)
        state.NoteText = boxText();
    accept();
}

// The box keeps line breaks as paragraphs: a box showing what it was given gives back exactly
// that text, a changed one (typed into, or set by an assistive tool or by code) has CR LF at
// every line break, as Enter types it in a text box.
QString frmNote::boxText() const
{
    QString text = txtNote->document()->toRawText();
    if (text == m_loadedBoxText)
        return m_loadedText;
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

bool frmNote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtNote && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            if (!txtNote->isReadOnly())
                txtNote->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNote::cmdCancel_Click()
{
    ModuleState::current().NoteEdited = false;
    reject();
}

void frmNote::relayOut(bool resize)
{
    layOutWindow(this, m_layout,
                 {{txtNote, &NoteLayout::txtNote}, {cmdOk, &NoteLayout::cmdOk}, {cmdCancel, &NoteLayout::cmdCancel}},
                 resize);
}

void frmNote::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    relayOut();
}

} // namespace vxRecInfo
