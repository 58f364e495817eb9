// SPDX-License-Identifier: MIT
#include "ReportFixture.h"

#include "hostclasses/DefaultHostClasses.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

// The Time section's rows and forms are pinned by the golden reports of tests/data/reports/time.cases.

namespace {

// The default unit converter as a host would have it that pads its texts with blanks.
class PaddedUnitConverter final : public DispatchObject<IDispatch>
{
public:
    const TypeInfo& GetTypeInfo() const override { return m_default->GetTypeInfo(); }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        return u"  "_s + lateGet(m_default.get(), member.name, args).toString() + u"  "_s;
    }

private:
    const ComPtr<IDispatch> m_default = createDefaultUnitConverter().as<IDispatch>();
};

using TimeSectionTest = ReportFixture;

} // namespace

TEST_F(TimeSectionTest, HostDurationTextsAreTrimmedInTimeRows)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::UnitConverterClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<PaddedUnitConverter>()); }});
    const auto i = add([](RecordInfo& r) { r.put_ContinuousMemory(true); });
    const QString text = build([&](QString& s) { TimeSection(s, i, DetailsOn, false); });
    for (const QString& trimmed : {row(u"Elapsed Time (from Start):"_s, u"1 Day 02:30:00"_s),
                                   row(u"Elapsed Time (in Memory):"_s, u"2 Days 04:30:00"_s),
                                   row(u"Delay Interval Before Start"_s, u"00:15:00"_s)})
        EXPECT_TRUE(text.contains(trimmed + u"\r\n"_s)) << trimmed << " missing from\n" << text;
    EXPECT_TRUE(build([&](QString& s) { MeasurementsSection(s, i, DetailsOff); })
                    .contains(row(u"Sample Interval:"_s, u"  00:01:00  "_s) + u"\r\n"_s))
        << "the sample interval is the host's text as it stands";
    registerDefaultHostClasses();
}
