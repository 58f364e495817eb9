#include "ReportFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class ClosingSectionsTest : public ReportFixture
{
protected:
    // Columns 0 to 2 (the first index), one entry per element of entries (the second index).
    static Variant table(const std::vector<QStringList>& entries, std::int32_t lastColumn = 2)
    {
        SafeArray a(VarType::String, {{0, lastColumn}, {0, std::int32_t(entries.size()) - 1}});
        for (std::size_t i = 0; i < entries.size(); ++i)
            for (std::int32_t column = 0; column <= lastColumn; ++column)
                a.set(column, std::int32_t(i), entries[i].value(column));
        return Variant(std::move(a));
    }
    QString userInput(const Variant& query)
    {
        const auto i = add([&](RecordInfo& r) { r.put_UserQuery(query); });
        return build([&](QString& s) { UserInputSection(s, i); });
    }
};

} // namespace

TEST_F(ClosingSectionsTest, UserInputRowsAndItsErrorTrap)
{
    struct Case { QString what; Variant query; QString expected; };
    const std::vector<Case> cases = {
        {u"two answers"_s, table({{u""_s, u"Operator"_s, u"J. Doe"_s}, {u""_s, u"Batch"_s, u"B-77"_s}}),
         lines({u"User Input"_s, u"\tOperator\tJ. Doe"_s, u"\tBatch\tB-77"_s, u""_s, u""_s})},
        {u"first question empty"_s, table({{u""_s, u""_s, u"ignored"_s}, {u""_s, u"Batch"_s, u"B-77"_s}}),
         lines({u"User Input"_s, u""_s, u""_s})},
        {u"one dimension"_s, arrayOfValues(VarType::String, {u"Operator"_s, u"J. Doe"_s, u"x"_s}),
         lines({u"User Input"_s, u""_s})},
        {u"no answer column"_s, table({{u""_s, u"Operator"_s}}, 1), lines({u"User Input"_s, u""_s})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(userInput(c.query), c.expected) << c.what;
        EXPECT_EQ(RTBFormat::GetRTBFStyleList(), u"{RTBFStyle}\t0\t12\t9\r\n"_s) << c.what;
    }
}

TEST_F(ClosingSectionsTest, SignaturesStartAtEntryOneInTheUsersZone)
{
    const Date first = at(2024, 1, 15, 12), second = at(2024, 1, 16, 6);
    const auto i = add([&](RecordInfo& r) {
        r.put_SignatureRead(table({{u"Nobody"_s, u"0"_s, u"never printed"_s},
                                   {u"Anna"_s, QString::number(first.value(), 'f', 2), u"Approved"_s},
                                   {u"Ben"_s, QString::number(second.value(), 'f', 2), u"Reviewed"_s}}));
    });
    const auto none = add([](RecordInfo& r) { r.put_SignatureRead(table({{u"Nobody"_s, u"0"_s, u"unsigned"_s}})); });
    record().put_TimeZone(1);
    latePut(timeZoneService(), u"TZoneID"_s, std::int16_t(1)); // as the Time section leaves it
    EXPECT_EQ(build([&](QString& s) { SignaturesSection(s, i); }),
              lines({u"Signatures"_s,
                     u"\tAnna\tApproved\t"_s + generalDateText(at(2024, 1, 15, 13)) + u"  "_s + zoneName(1, first),
                     u"\tBen\tReviewed\t"_s + generalDateText(at(2024, 1, 16, 7)) + u"  "_s + zoneName(1, second)}))
        << "signing times must be shown in the user's zone, entry 0 never";
    EXPECT_EQ(build([&](QString& s) { SignaturesSection(s, none); }), lines({u"Signatures"_s}))
        << "no signatures: the heading alone, no closing empty line";
}

TEST_F(ClosingSectionsTest, NoteOfEachDataset)
{
    const auto noted = add([](RecordInfo& r) { r.put_Note(u"Keep cold"_s); });
    const auto empty = add();
    EXPECT_EQ(build([&](QString& s) { NoteSection(s, noted); }), lines({u""_s, u"Note"_s, u"Keep cold"_s}));
    EXPECT_EQ(RTBFormat::GetRTBFStyleList(), u"{RTBFStyle}\t2\t6\t9\r\n"_s)
        << "the heading run starts after the empty line";
    EXPECT_EQ(build([&](QString& s) { NoteSection(s, empty); }), lines({u""_s, u"Note"_s, u""_s}))
        << "an empty note still prints its heading and an empty line";
}
