// SPDX-License-Identifier: MIT
#pragma once
// The Import window: the report of each logger file about to be imported, in the time zone the
// user chooses for the logger's clock; Import confirms, Cancel abandons.

#include "RichTextView.h"
#include "WindowLayouts.h"

#include "report/ReportTarget.h"
#include "richtext/RichTextBox.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace vxRecInfo {

class frmRecImport : public QDialog, public ReportTarget
{
    Q_OBJECT

public:
    explicit frmRecImport(QWidget* parent = nullptr);

    // Form_Load, under its trap: an error shows "RecImport form load error" and the window
    // opens with what was done.
    void load();

    QComboBox* cboTrace;
    QComboBox* cboTimeZone;
    QLabel* lblFile;
    QLabel* lblTimeZone;
    RichTextView* txtInfoView;
    QPushButton* cmdNote;
    QPushButton* cmdCancel;
    QPushButton* cmdImport;
    QCheckBox* chkDetails;
    const ImportLayout& layoutTwips() const { return m_layout; }

    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override;
    QString windowName() const override { return QStringLiteral("frmRecImport"); }
    int datasetListCount() const override;

    void cboTrace_Click();
    void chkDetails_Click();
    void cboTimeZone_Click();
    void cmdNote_Click();
    void cmdImport_Click();
    void cmdCancel_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadResLabels();
    void LoadTimeZoneInfo();
    void showZoneStart();
    void showReport();
    std::int16_t selectedDataset() const;
    void relayOut();

    RichTextBox m_box;
    ImportLayout m_layout;
};

} // namespace vxRecInfo
