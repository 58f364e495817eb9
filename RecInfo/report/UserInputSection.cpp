// SPDX-License-Identifier: MIT
// User input: the host's questions and the user's answers. Any error ends the section with one
// line break in its place; the report goes on.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

constexpr std::int32_t Question = 1;
constexpr std::int32_t Answer = 2;

} // namespace

void UserInputSection(QString& report, std::int16_t index)
{
    try {
        const SafeArray& query = dataSet(index).UserQuery;
        appendHeading(report, Label(LabelId::UserInput));
        if (!query.at(Question, 0).toString().isEmpty()) {
            for (std::int32_t i = 0; i <= query.upperBound(2); ++i)
                report += TAB % query.at(Question, i).toString() % TAB % query.at(Answer, i).toString() % CRLF;
        }
        report += CRLF % CRLF;
    } catch (const RuntimeError&) {
        report += CRLF;
    }
}

} // namespace vxRecInfo::RecInfoCode
