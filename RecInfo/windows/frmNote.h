// SPDX-License-Identifier: MIT
#pragma once
// The Recording Note window: shows a note and, when the host allows it, lets the user edit it.
// It exchanges the note through the module values NoteText and NoteEdited.

#include "WindowLayouts.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace vxRecInfo {

class frmNote : public QDialog
{
    Q_OBJECT

public:
    explicit frmNote(QWidget* parent = nullptr);

    QPlainTextEdit* txtNote;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    const NoteLayout& layoutTwips() const { return m_layout; }

    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadResLabels();
    void relayOut(bool resize = true);
    QString boxText() const;

    NoteLayout m_layout;
    QString m_loadedText;
    QString m_loadedBoxText; // the box's own form of it, paragraphs for line breaks
};

} // namespace vxRecInfo
