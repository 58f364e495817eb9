// SPDX-License-Identifier: MIT
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

#include <string_view>

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

// Sets every array property a commit always copies, for two channels (1 and 2 in the element
// type), and the two tables: signatures 2 x 3, user queries 1 x 2.
inline void fillArrays(_RecordInfo& r)
{
    const auto twoChannels = [](VarType type) {
        return arrayOfValues(type, {Variant(1).convertTo(type), Variant(2).convertTo(type)});
    };
#define VX_FILL_SCALAR(...)
#define VX_FILL_ARRAY(name, slot, dispId, element, copied, after)                                                      \
    if (std::string_view(#copied) == "Always") {                                                                       \
        ASSERT_EQ(r.put_##name(twoChannels(VarType::element)), S_OK) << #name;                                         \
    }
    VX_DATASET_FIELDS(VX_FILL_SCALAR, VX_FILL_ARRAY)
#undef VX_FILL_SCALAR
#undef VX_FILL_ARRAY
    ASSERT_EQ(r.put_SignatureRead(twoDimensional(2, 3, QStringLiteral("s"))), S_OK);
    ASSERT_EQ(r.put_UserQuery(twoDimensional(1, 2, QStringLiteral("q"))), S_OK);
}

inline const BasicArray<DataSetRecord>& dataSets() { return ModuleState::current().DataSets; }

} // namespace vxRecInfo::testing
