#pragma once
// A fresh apartment and a private suite settings file for each test, and a way to fill a
// dataset that commits.

#include "component/ModuleState.h"
#include "component/RecordInfo.h"
#include "component/SuiteSettings.h"
#include "support/MessageService.h"

#include "automation/SafeArray.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vxRecInfo::testing {

// Records every message box instead of showing it.
class RecordingMessages final : public MessageService
{
public:
    struct Shown {
        QString text;
        int style;
        QString title;
    };
    explicit RecordingMessages(std::vector<Shown>* log) : m_log(log) {}
    int show(const QString& text, int style, const QString& title) override
    {
        m_log->push_back({text, style, title});
        return MsgBox::ResultOK;
    }

private:
    std::vector<Shown>* m_log;
};

class RecordFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousMessages = setMessageService(std::make_unique<RecordingMessages>(&shown));
        ASSERT_TRUE(m_dir.isValid());
        setSuiteSettingsFile(m_dir.filePath(QStringLiteral("LoggerSuite.ini")));
        ModuleState::endApartment();
    }
    void TearDown() override
    {
        ModuleState::endApartment();
        setSuiteSettingsFile({});
        setMessageService(std::move(m_previousMessages));
    }

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("LoggerSuite.ini")); }
    void writeSetting(const QString& key, const QVariant& value) const
    {
        QSettings file(settingsPath(), QSettings::IniFormat);
        file.setValue(key, value);
    }

    QTemporaryDir m_dir;
    // The message boxes shown while the test ran.
    std::vector<RecordingMessages::Shown> shown;

private:
    std::unique_ptr<MessageService> m_previousMessages;
};

inline Variant arrayOfValues(VarType element, const std::vector<Variant>& values, std::int32_t lower = 0)
{
    return Variant(SafeArray::fromValues(element, values, lower));
}

inline Variant twoDimensional(std::int32_t rows, std::int32_t columns, const QString& fill)
{
    SafeArray a(VarType::String, {{0, rows - 1}, {0, columns - 1}});
    for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < columns; ++j)
            a.set(i, j, fill + QString::number(i) + QString::number(j));
    return Variant(std::move(a));
}

// Sets every array property that a commit needs, for two channels.
inline void fillArrays(_RecordInfo& r)
{
    const auto singles = arrayOfValues(VarType::Single, {1.5f, 2.5f});
    const auto longs = arrayOfValues(VarType::Long, {1, 2});
    const auto flags = arrayOfValues(VarType::Boolean, {true, false});
    const auto texts = arrayOfValues(VarType::String, {"a", "b"});
    const auto doubles = arrayOfValues(VarType::Double, {0.5, 0.25});
    ASSERT_EQ(r.put_SignatureRead(twoDimensional(2, 3, QStringLiteral("s"))), S_OK);
    ASSERT_EQ(r.put_ChannelNumber(arrayOfValues(VarType::Integer, {std::int16_t(1), std::int16_t(2)})), S_OK);
    ASSERT_EQ(r.put_AlarmHighEnabled(flags), S_OK);
    ASSERT_EQ(r.put_AlarmHighValue(singles), S_OK);
    ASSERT_EQ(r.put_AlarmHighNumMeas(longs), S_OK);
    ASSERT_EQ(r.put_AlarmLowEnabled(flags), S_OK);
    ASSERT_EQ(r.put_AlarmLowValue(singles), S_OK);
    ASSERT_EQ(r.put_AlarmLowNumMeas(longs), S_OK);
    ASSERT_EQ(r.put_AlarmMode(arrayOfValues(VarType::Integer, {std::int16_t(0), std::int16_t(1)})), S_OK);
    ASSERT_EQ(r.put_AlarmStatusPerChnl(flags), S_OK);
    ASSERT_EQ(r.put_AverageVal(singles), S_OK);
    ASSERT_EQ(r.put_ChnlDescription(texts), S_OK);
    ASSERT_EQ(r.put_MaxVal(singles), S_OK);
    ASSERT_EQ(r.put_MinVal(singles), S_OK);
    ASSERT_EQ(r.put_MeanVal(singles), S_OK);
    ASSERT_EQ(r.put_Meas_Scale(texts), S_OK);
    ASSERT_EQ(r.put_Meas_Type(longs), S_OK);
    ASSERT_EQ(r.put_Meas_Unit(texts), S_OK);
    ASSERT_EQ(r.put_MKT(singles), S_OK);
    ASSERT_EQ(r.put_TimeOverAlarmLimit(doubles), S_OK);
    ASSERT_EQ(r.put_TimeBelowLoAlarmLimit(doubles), S_OK);
    ASSERT_EQ(r.put_UserQuery(twoDimensional(1, 2, QStringLiteral("q"))), S_OK);
}

inline const BasicArray<DataSetRecord>& dataSets() { return ModuleState::current().DataSets; }

} // namespace vxRecInfo::testing
