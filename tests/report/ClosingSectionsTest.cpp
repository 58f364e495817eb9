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
