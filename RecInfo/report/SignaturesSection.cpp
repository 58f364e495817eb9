// SPDX-License-Identifier: MIT
// Signatures: the electronic signatures of the recording with their signing times in the
// user's zone. No error trap: a signature array of the wrong shape fails the report.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "automation/BasicText.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

constexpr std::int32_t FirstText = 0;
constexpr std::int32_t SigningTime = 1;
constexpr std::int32_t SecondText = 2;

} // namespace

void SignaturesSection(QString& report, std::int16_t index)
{
    const SafeArray& signatures = dataSet(index).SignatureRead;
    appendHeading(report, Label(LabelId::Signatures));
    IDispatch* zones = timeZoneService();
    const std::int16_t zone = ModuleState::current().TimeZone;
    // Entry 0 is not a signature: the rows start at 1.
    for (std::int32_t i = 1; i <= signatures.upperBound(2); ++i) {
        const Date signedAt(basicVal(signatures.at(SigningTime, i).toString()));
        const Variant local = lateGet(zones, QStringLiteral("GMT2Time"), {signedAt, zone});
        const QString zoneName = lateGet(zones, QStringLiteral("TimeZoneName"), {signedAt}).toString();
        report += TAB % signatures.at(FirstText, i).toString() % TAB % signatures.at(SecondText, i).toString() % TAB
            % local.toString() % QStringLiteral("  ") % zoneName % CRLF;
    }
}

} // namespace vxRecInfo::RecInfoCode
