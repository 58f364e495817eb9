// SPDX-License-Identifier: MIT
#include "ErrorOf.h"
#include "automation/ClassRegistry.h"
#include "automation/Registration.h"
#include "component/DllEntry.h"
#include "component/Identity.h"
#include "component/ModuleState.h"
#include "component/RecordInfo.h"
#include "component/Server.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace vxRecInfo;
using vxRecInfo::testing::errorOf;

namespace {

// Points the registration file at a temporary folder for one test.
class RegistrationFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("registry.ini"));
        m_saved = qgetenv("VXRECINFO_REGISTRY");
        qputenv("VXRECINFO_REGISTRY", m_path.toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("VXRECINFO_REGISTRY", m_saved);
        ModuleState::endApartment(); // the host objects of the record made through the file
        // Whatever a test removed from the process registry comes back for the next one.
        ClassRegistry::instance().registerClass(ClassEntry{Identity::RecordInfoClsid, Identity::ProgId,
                                                           Identity::ClassName,
                                                           [] { return ComPtr<IUnknown>(RecordInfo::create()); }});
    }

    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_saved;
};

} // namespace

TEST_F(RegistrationFile, RegisterAndUnregisterRoundTrip)
{
    // Linked into this program, the component can name no library to serve from; the shared
    // library's own entry point registers itself, as regsvr32 has it do.
    EXPECT_EQ(DllRegisterServer(), SELFREG_E_CLASS);
    EXPECT_FALSE(QFile::exists(m_path)) << "a refused registration must write nothing";
    QString why;
    const QString path = componentLibraryPath(&why);
    ASSERT_FALSE(path.isEmpty()) << why.toStdString();
    using EntryPoint = HResult (*)();
    const auto registerServer = reinterpret_cast<EntryPoint>(
        dlsym(dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD), "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(registeredLibrary(Identity::RecordInfoClsid), path);
    EXPECT_EQ(registeredClsid(Identity::ProgId), Identity::RecordInfoClsid);
    {
        QSettings file(m_path, QSettings::IniFormat);
        const QString lib = QStringLiteral("TypeLib/") + Identity::TypeLibraryId.toString() + QStringLiteral("/1.0");
        EXPECT_EQ(file.value(lib + QStringLiteral("/Name")).toString(), QStringLiteral("vxRecInfo"));
        EXPECT_EQ(file.value(QStringLiteral("CLSID/") + Identity::RecordInfoClsid.toString() + QStringLiteral("/ThreadingModel"))
                      .toString(),
                  QStringLiteral("Apartment"));
    }

    // With the class unknown to the process, creation goes through the file and the library.
    ASSERT_TRUE(ClassRegistry::instance().unregisterClass(Identity::RecordInfoClsid));
    ComPtr<IDispatch> object = ClassRegistry::instance().createObject(Identity::ProgId);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->GetTypeInfo().iid(), Identity::RecordInfoIid);
    object.reset();

    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_FALSE(registeredLibrary(Identity::RecordInfoClsid).has_value());
    EXPECT_FALSE(registeredClsid(Identity::ProgId).has_value());
    EXPECT_EQ(errorOf([] { ClassRegistry::instance().createObject(Identity::ProgId); }), Err::CannotCreateObject)
        << "an unregistered class must not be creatable";
}

TEST_F(RegistrationFile, UnregisterKeepsOtherServersEntries)
{
    ServerRegistration other{QUuid::createUuid(), QStringLiteral("Other.Thing"), QStringLiteral("Thing"),
                             QStringLiteral("/opt/other/libthing.so"), QStringLiteral("Apartment"),
                             QUuid::createUuid(), QStringLiteral("Other"), QStringLiteral("1.0"),
                             QUuid::createUuid(), QStringLiteral("_Thing")};
    ASSERT_EQ(writeRegistration(other), S_OK);
    ASSERT_EQ(registerRecordInfoServer(QStringLiteral("/usr/lib/libvxRecInfo.so.1")), S_OK);
    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(registeredLibrary(other.clsid), QStringLiteral("/opt/other/libthing.so"));
}

TEST(Server, ClassObjectAndUnloading)
{
    void* out = nullptr;
    const QUuid unknownClass = QUuid::createUuid();
    EXPECT_EQ(DllGetClassObject(&unknownClass, &IClassFactory::iid(), &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);

    ASSERT_EQ(DllCanUnloadNow(), S_OK) << "no object of the library should be alive between tests";
    ASSERT_EQ(DllGetClassObject(&Identity::RecordInfoClsid, &IClassFactory::iid(), &out), S_OK);
    auto factory = ComPtr<IClassFactory>::adopt(static_cast<IClassFactory*>(out));
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a live class factory keeps the library";

    void* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IDispatch::iid(), &object), S_OK);
    auto record = ComPtr<IDispatch>::adopt(static_cast<IDispatch*>(object));
    EXPECT_EQ(record->GetTypeInfo().name(), QStringLiteral("_RecordInfo"));
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a live RecordInfo keeps the library";
    record.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the apartment still holds the host objects the library made";
    ModuleState::endApartment();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);

    ASSERT_EQ(DllGetClassObject(&Identity::RecordInfoClsid, &IClassFactory::iid(), &out), S_OK);
    factory = ComPtr<IClassFactory>::adopt(static_cast<IClassFactory*>(out));
    factory->LockServer(true);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a server lock keeps the library";
    ASSERT_EQ(DllGetClassObject(&Identity::RecordInfoClsid, &IClassFactory::iid(), &out), S_OK);
    factory = ComPtr<IClassFactory>::adopt(static_cast<IClassFactory*>(out));
    factory->LockServer(false);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(Server, CreatesByProgIdAndClsidCaseInsensitively)
{
    EXPECT_TRUE(ClassRegistry::instance().createObject(QStringLiteral("VXRECINFO.RECORDINFO")));
    EXPECT_TRUE(ClassRegistry::instance().createObject(Identity::RecordInfoClsid.toString()));
}
