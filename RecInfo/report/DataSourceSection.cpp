// SPDX-License-Identifier: MIT
// Data source: where an imported recording came from; nothing for a recording from a logger.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

void DataSourceSection(QString& report, std::int16_t index)
{
    const DataSetRecord& d = dataSet(index);
    if (d.DataSource.isEmpty())
        return;
    appendHeading(report, Label(LabelId::DataSource));
    report += TAB % d.DataSource % CRLF;
    report += CRLF;
}

} // namespace vxRecInfo::RecInfoCode
