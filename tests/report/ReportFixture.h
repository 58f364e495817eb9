// SPDX-License-Identifier: MIT
#pragma once
// Report tests: a fresh apartment with two known time zones and US English texts, a recording
// message service, and a dataset that commits with sensible values for a two-channel "A" logger
// (channel arrays with lower bound 1), which each test adjusts before committing.

#include "CaseTable.h"
#include "ErrorOf.h"
#include "component/RecordFixture.h"

#include "component/DataSetFields.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "report/RecInfoCode.h"
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "automation/BasicText.h"
#include "support/Helpers.h"
#include "support/Labels.h"
#include "support/MessageService.h"

#include <QHash>
#include <QLocale>

#include <functional>
#include <ostream>

// Readable report text in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << text.toStdString();
}

namespace vxRecInfo::testing {

using namespace vxRecInfo::RecInfoCode;
using namespace Qt::Literals::StringLiterals;

// TAB + label + TAB + value: the shape of almost every report row.
inline QString row(const QString& label, const QString& value)
{
    return u"\t"_s + label + u"\t"_s + value;
}
inline QStringList linesStartingWith(const QString& report, const QString& prefix)
{
    QStringList found;
    for (const QString& line : report.split(u"\r\n"_s))
        if (line.startsWith(prefix))
            found << line;
    return found;
}
inline Variant perChannel(VarType type, const std::vector<Variant>& values)
{
    return arrayOfValues(type, values, 1);
}
inline Date at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return Date::fromDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Runs one section on cleared run lists and returns its text.
template <class Section>
QString build(Section section)
{
    RTBFormat::ClearRTBFormat();
    QString report;
    section(report);
    return report;
}

inline const Variant DetailsOn{std::int16_t(1)};
inline const Variant DetailsOff{std::int16_t(0)};

class ReportFixture : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        m_locale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        writeSetting(u"TimeZoneService/TimeZones"_s, QStringList{u"Europe/Berlin"_s, u"America/New_York"_s});
        writeSetting(u"TimeZoneService/SystemTimeZone"_s, u"Europe/Berlin"_s);
    }
    void TearDown() override
    {
        m_record.reset();
        QLocale::setDefault(m_locale);
        RecordFixture::TearDown();
    }

    // Settings are read when the first record of an apartment is made: write them before.
    RecordInfo& record()
    {
        if (!m_record)
            m_record = RecordInfo::create();
        return *m_record;
    }
    // A new apartment, so that settings written from now on take effect.
    void restart()
    {
        m_record.reset();
        ModuleState::endApartment();
        m_count = 0;
    }

    // Commits the default dataset as tweak changes it; returns its index.
    std::int16_t add(const std::function<void(RecordInfo&)>& tweak = {})
    {
        RecordInfo& r = record();
        defaults(r);
        if (tweak)
            tweak(r);
        EXPECT_EQ(r.AddDataSet(), S_OK) << "the dataset must commit: " << lastErrorInfo().description;
        return m_count++;
    }

    // The dataset of report-dataset.tsv, with signatures and user queries of three rows.
    static void defaults(RecordInfo& r)
    {
        static const QHash<QString, VarType> elements{
#define VX_NO_SCALAR(...)
#define VX_ELEMENT(name, slot, dispId, element, ...) {QStringLiteral(#name), VarType::element},
            VX_DATASET_FIELDS(VX_NO_SCALAR, VX_ELEMENT)
#undef VX_NO_SCALAR
#undef VX_ELEMENT
        };
        for (const CaseRow& c : caseTable("report-dataset.tsv", 2)) {
            Variant value = c[1] == u"(Empty)"_s ? Variant() : Variant(c[1]);
            if (const auto element = elements.constFind(c[0]); element != elements.cend() && !value.isEmpty()) {
                std::vector<Variant> channels;
                for (const QString& v : c[1].split(u'|'))
                    channels.push_back(Variant(v).convertTo(*element));
                value = perChannel(*element, channels);
            }
            latePut(&r, c[0], value);
        }
        latePut(&r, u"SignatureRead"_s, twoDimensional(3, 1, u"s"_s));
        latePut(&r, u"UserQuery"_s, twoDimensional(3, 1, u"q"_s));
    }

private:
    ComPtr<RecordInfo> m_record;
    QLocale m_locale;
    std::int16_t m_count = 0;
};

} // namespace vxRecInfo::testing
