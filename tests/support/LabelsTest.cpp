// SPDX-License-Identifier: MIT
#include "component/RecordFixture.h"

#include "ErrorOf.h"
#include "support/Labels.h"

#include <QSet>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

const int Offsets[] = {0, 2000, 4000, 6000, 8000, 10000};

using Labels = RecordFixture;

QSet<int> relativeIds(const StringTable::Language& language)
{
    QSet<int> ids;
    for (const int id : language.ids)
        ids.insert(id - language.offset);
    return ids;
}

} // namespace

TEST(StringTable, SixLanguagesWithTheSameLabels)
{
    const StringTable& table = StringTable::instance();
    ASSERT_EQ(table.languages().size(), 6);
    EXPECT_TRUE(table.duplicateIds().isEmpty()) << "an id appears twice in the table";
    const StringTable::Language* english = nullptr;
    for (const auto& language : table.languages()) {
        EXPECT_GE(language.offset, 0) << language.file.toStdString();
        if (language.offset == 0)
            english = &language;
    }
    ASSERT_NE(english, nullptr);
    for (const auto& language : table.languages())
        EXPECT_EQ(relativeIds(language), relativeIds(*english)) << language.file.toStdString();
}

TEST(StringTable, EveryLabelTheCodeUsesExistsInEveryLanguageWithItsAcceleratorsAndOuterBlanks)
{
    const StringTable& table = StringTable::instance();
    for (const LabelId id : AllLabelIds) {
        const QString english = table.find(int(id)).value_or(QString());
        for (const int offset : Offsets) {
            const auto text = table.find(int(id) + offset);
            ASSERT_TRUE(text.has_value()) << "label " << int(id) << " is missing at offset " << offset;
            EXPECT_FALSE(text->trimmed().isEmpty()) << int(id) + offset;
            EXPECT_EQ(text->count(QLatin1Char('&')), english.count(QLatin1Char('&'))) << int(id) + offset;
            EXPECT_EQ(text->endsWith(QLatin1Char(' ')), english.endsWith(QLatin1Char(' ')))
                << "label " << int(id) + offset << " is glued to the text after it";
            EXPECT_EQ(text->startsWith(QLatin1Char(' ')), english.startsWith(QLatin1Char(' '))) << int(id) + offset;
        }
    }
}

TEST_F(Labels, LookUpFollowsTheLanguageOffsetAtEveryCall)
{
    for (const int offset : Offsets) {
        restoreSetting(QStringLiteral("HostSettings/ResOffset"), offset);
        EXPECT_EQ(Label(LabelId::RecordingNote), *StringTable::instance().find(337 + offset))
            << offset << ": the offset is read anew at every call, not cached";
    }
}

TEST_F(Labels, MissingEntriesRaiseResourceNotFound)
{
    restoreSetting(QStringLiteral("HostSettings/ResOffset"), 1000);
    EXPECT_EQ(errorOf([] { Label(LabelId::RecordingNote); }), Err::ResourceNotFound);
    restoreSetting(QStringLiteral("HostSettings/ResOffset"), 0);
    EXPECT_EQ(errorOf([] { labelText(17); }), Err::ResourceNotFound);
    restoreSetting(QStringLiteral("HostSettings/ResOffset"), 2147483000);
    EXPECT_EQ(errorOf([] { labelText(1000); }), Err::Overflow);
}
