// SPDX-License-Identifier: MIT
// Note: the recording note, in printed and exported reports only.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "component/ModuleState.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

void NoteSection(QString& report, std::int16_t index)
{
    report += CRLF;
    appendHeading(report, Label(LabelId::Note));
    report += ModuleState::current().NoteArray.at(index) % CRLF;
}

} // namespace vxRecInfo::RecInfoCode
