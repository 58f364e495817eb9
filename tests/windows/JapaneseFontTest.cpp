#include "component/RecordFixture.h"

#include "automation/ClassRegistry.h"
#include "hostclasses/DefaultHostClasses.h"
#include "component/HostObjects.h"
#include "windows/JapaneseFont.h"

#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class JapaneseFont : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        label = new QLabel(QStringLiteral("Serial Number:"), &form);
        frame = new QGroupBox(QStringLiteral("Settings"), &form);
        button = new QPushButton(QStringLiteral("Ok"), &form);
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(frame), static_cast<QWidget*>(button)}) {
            QFont bold = w->font();
            bold.setBold(true);
            w->setFont(bold);
        }
    }
    void TearDown() override
    {
        registerDefaultHostClasses();
        RecordFixture::TearDown();
    }
    void useOffset(int offset)
    {
        writeSetting(QStringLiteral("HostSettings/ResOffset"), offset);
        lateCall(hostSettings(), QStringLiteral("RestoreParameters"));
    }

    QDialog form;
    QLabel* label = nullptr;
    QGroupBox* frame = nullptr;
    QPushButton* button = nullptr;
};

} // namespace

TEST_F(JapaneseFont, JapaneseWindowsGetTheGothicFace)
{
    useOffset(2000);
    ApplyJapaneseFont(&form);
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(frame), static_cast<QWidget*>(button)}) {
        EXPECT_EQ(w->font().family(), QString::fromUtf16(u"ＭＳ ゴシック")) << w->metaObject()->className();
        EXPECT_EQ(w->font().pointSize(), 8);
    }
    EXPECT_FALSE(label->font().bold());
    EXPECT_TRUE(frame->font().bold()) << "frames keep their bold";
    EXPECT_TRUE(button->font().bold()) << "command buttons keep their bold";
    EXPECT_EQ(QFontInfo(label->font()).family(), QStringLiteral("IPAGothic"))
        << "Latin text in Japanese windows must be drawn in the Japanese Gothic, not a Western fallback";
}

TEST_F(JapaneseFont, OtherLanguagesAreLeftAlone)
{
    useOffset(4000);
    const QFont before = label->font();
    ApplyJapaneseFont(&form);
    EXPECT_EQ(label->font(), before);
}

TEST_F(JapaneseFont, NeverFails)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::HostSettingsClsid, {}, {}, []() -> ComPtr<IUnknown> { throw RuntimeError(Err::FileNotFound); }});
    ModuleState::current().HostSettings.reset();
    EXPECT_NO_THROW(ApplyJapaneseFont(&form));
    EXPECT_NO_THROW(ApplyJapaneseFont(nullptr));
}
