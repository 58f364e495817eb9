// SPDX-License-Identifier: MIT
#pragma once
// The Statistics and Info window: the record report of one dataset at a time, the summary or
// the detailed form, its note, and printing it. Its batch operation (PrintAllRec) is that of
// report/BatchReports.h run on its own list and box; the services run them without the window.

#include "RichTextView.h"
#include "WindowLayouts.h"

#include "report/BatchReports.h"
#include "richtext/RichTextBox.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vxRecInfo {

class frmStatistics : public QDialog, public DatasetList
{
    Q_OBJECT

public:
    explicit frmStatistics(QWidget* parent = nullptr);

    // Form_Load; its errors reach the caller.
    void load() override;

    QComboBox* cboTrace;
    QPushButton* cmdNote;
    QPushButton* cmdPrint;
    QPushButton* cmdOk;
    RichTextView* txtInfoView;
    QCheckBox* chkDetails;
    const StatisticsLayout& layoutTwips() const { return m_layout; }

    // ReportTarget
    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override;
    QString windowName() const override { return QStringLiteral("frmStatistics"); }
    int datasetListCount() const override;
    // DatasetList
    std::int16_t datasetOf(int entry) const override;
    void selectEntry(int entry) override;
    void tickDetails() override;
    void boundToPrinter(std::int32_t lineWidth) override;

    void cboTrace_Click();
    void chkDetails_Click();
    void cmdNote_Click();
    void cmdPrint_Click();
    void cmdOk_Click();

    void PrintAllRec(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName,
                     bool RTFOnly, QString& RTF_Text, bool EnablePageNumbering);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadResLabels();
    std::int16_t selectedDataset() const;
    void showReport();
    void setOuterWidthTwips(double twips);
    void relayOut(bool resize = true);

    RichTextBox m_box;
    StatisticsLayout m_layout;
};

} // namespace vxRecInfo
