#pragma once
// A fresh apartment and a private suite settings file for each test, and a way to fill a
// dataset that commits.

#include "component/HostObjects.h"
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
    // Stores a setting and has the apartment's HostSettings read the file anew.
    void restoreSetting(const QString& key, const QVariant& value) const
    {
        writeSetting(key, value);
        lateCall(hostSettings(), QStringLiteral("RestoreParameters"));
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
    using R = _RecordInfo;
    const std::pair<HResult (R::*)(const Variant&), Variant> puts[] = {
        {&R::put_SignatureRead, twoDimensional(2, 3, QStringLiteral("s"))},
        {&R::put_ChannelNumber, arrayOfValues(VarType::Integer, {std::int16_t(1), std::int16_t(2)})},
        {&R::put_AlarmMode, arrayOfValues(VarType::Integer, {std::int16_t(0), std::int16_t(1)})},
        {&R::put_UserQuery, twoDimensional(1, 2, QStringLiteral("q"))},
        {&R::put_AlarmHighEnabled, flags}, {&R::put_AlarmHighValue, singles}, {&R::put_AlarmHighNumMeas, longs},
        {&R::put_AlarmLowEnabled, flags}, {&R::put_AlarmLowValue, singles}, {&R::put_AlarmLowNumMeas, longs},
        {&R::put_AlarmStatusPerChnl, flags}, {&R::put_AverageVal, singles}, {&R::put_ChnlDescription, texts},
        {&R::put_MaxVal, singles}, {&R::put_MinVal, singles}, {&R::put_MeanVal, singles},
        {&R::put_Meas_Scale, texts}, {&R::put_Meas_Type, longs}, {&R::put_Meas_Unit, texts},
        {&R::put_MKT, singles}, {&R::put_TimeOverAlarmLimit, doubles}, {&R::put_TimeBelowLoAlarmLimit, doubles}};
    for (const auto& [put, value] : puts)
        ASSERT_EQ((r.*put)(value), S_OK);
}

inline const BasicArray<DataSetRecord>& dataSets() { return ModuleState::current().DataSets; }

} // namespace vxRecInfo::testing
