// SPDX-License-Identifier: MIT
#include "component/RecordFixture.h"

#include "automation/ClassRegistry.h"
#include "hostclasses/DefaultHostClasses.h"
#include "windows/JapaneseFont.h"

#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;
using namespace Qt::Literals::StringLiterals;

using JapaneseFont = RecordFixture;

// A bold label, frame and button under each language offset: only Japanese windows change, to the
// Gothic face at 8 points; frames and command buttons keep their bold.
TEST_F(JapaneseFont, JapaneseWindowsGetTheGothicFaceOthersAreLeftAlone)
{
    for (const int offset : {2000, 4000}) {
        QDialog form;
        const QList<QWidget*> controls{new QLabel(u"Serial Number:"_s, &form), new QGroupBox(u"Settings"_s, &form),
                                       new QPushButton(u"Ok"_s, &form)};
        for (QWidget* w : controls) {
            QFont bold = w->font();
            bold.setBold(true);
            w->setFont(bold);
        }
        const QFont before = controls[0]->font();
        restoreSetting(u"HostSettings/ResOffset"_s, offset);
        ApplyJapaneseFont(&form);
        if (offset != 2000) {
            EXPECT_EQ(controls[0]->font(), before);
            continue;
        }
        for (QWidget* w : controls) {
            EXPECT_EQ(w->font().family(), QString::fromUtf16(u"ＭＳ ゴシック")) << w->metaObject()->className();
            EXPECT_EQ(w->font().pointSize(), 8);
            EXPECT_EQ(w->font().bold(), w != controls[0]) << w->metaObject()->className() << ": only labels lose bold";
        }
        EXPECT_EQ(QFontInfo(controls[0]->font()).family(), u"IPAGothic"_s)
            << "Latin text in Japanese windows must be drawn in the Japanese Gothic, not a Western fallback";
    }
}

TEST_F(JapaneseFont, NeverFails)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::HostSettingsClsid, {}, {}, []() -> ComPtr<IUnknown> { throw RuntimeError(Err::FileNotFound); }});
    ModuleState::current().HostSettings.reset();
    QDialog form;
    EXPECT_NO_THROW(ApplyJapaneseFont(&form));
    EXPECT_NO_THROW(ApplyJapaneseFont(nullptr));
    registerDefaultHostClasses();
}
