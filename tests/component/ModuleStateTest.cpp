// SPDX-License-Identifier: MIT
#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "component/Identity.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <gtest/gtest.h>

#include <thread>

using namespace vxRecInfo;

// A fresh apartment's values show in the store listing of tests/data/reports/store-connection-mode-overflow.txt.

TEST(ModuleState, SharedWithinAThreadSeparateAcrossThreads)
{
    auto first = ClassRegistry::instance().createObject(Identity::ProgId);
    auto second = ClassRegistry::instance().createObject(Identity::ProgId);
    latePut(first.get(), QStringLiteral("TimeZone"), std::int16_t(12));
    latePut(first.get(), QStringLiteral("NoteChangeAllowed"), true);
    EXPECT_EQ(lateGet(second.get(), QStringLiteral("TimeZone")).toInteger(), 12)
        << "two objects of one thread must see one module state";
    EXPECT_TRUE(lateGet(second.get(), QStringLiteral("NoteChangeAllowed")).toBool());

    std::thread([] {
        auto other = ClassRegistry::instance().createObject(Identity::ProgId);
        EXPECT_EQ(lateGet(other.get(), QStringLiteral("TimeZone")).toInteger(), 0)
            << "another thread must have its own module state";
        latePut(other.get(), QStringLiteral("TimeZone"), std::int16_t(3));
    }).join();
    EXPECT_EQ(lateGet(first.get(), QStringLiteral("TimeZone")).toInteger(), 12);
}

TEST(ModuleState, ApartmentsKeepTheirOwnWhicheverThreadReleases)
{
    // An object of another thread released here must not touch this apartment's host objects.
    ComPtr<IDispatch> stranger;
    std::thread([&] { stranger = ClassRegistry::instance().createObject(Identity::ProgId); }).join();
    auto own = ClassRegistry::instance().createObject(Identity::ProgId);
    IDispatch* zones = timeZoneService();
    stranger.reset();
    EXPECT_EQ(ModuleState::current().TimeZoneService.get(), zones);

    // A settings file of one apartment is no other's.
    const QString process = suiteSettingsFile();
    std::thread([&] {
        setApartmentSuiteSettingsFile(QStringLiteral("/tmp/own.ini"));
        EXPECT_EQ(suiteSettingsFile(), QStringLiteral("/tmp/own.ini"));
        ModuleState::endApartment();
        EXPECT_EQ(suiteSettingsFile(), process);
        setApartmentSuiteSettingsFile(QStringLiteral("/tmp/own.ini"));
    }).join();
    EXPECT_EQ(suiteSettingsFile(), process);
}
