// SPDX-License-Identifier: MIT
#include "ErrorOf.h"
#include "automation/SafeArray.h"

#include <gtest/gtest.h>

using namespace vxRecInfo;

using vxRecInfo::testing::errorOf;

TEST(SafeArray, BoundsOfOneAndTwoDimensions)
{
    SafeArray a(VarType::Long, {{1, 3}});
    EXPECT_EQ(a.lowerBound(), 1);
    EXPECT_EQ(a.upperBound(), 3);
    EXPECT_EQ(errorOf([&] { (void)a.at(0); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)a.at(4); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)a.upperBound(2); }), Err::SubscriptOutOfRange);

    SafeArray grid(VarType::String, {{-5, -4}, {0, 2}});
    EXPECT_EQ(grid.dimensions(), 2);
    EXPECT_EQ(grid.lowerBound(1), -5);
    EXPECT_EQ(grid.upperBound(2), 2);
    EXPECT_EQ(grid.elementCount(), 6);
    grid.set(-4, 2, "corner");
    grid.set(-5, 0, "origin");
    EXPECT_EQ(grid.at(-4, 2).toString(), QStringLiteral("corner"));
    EXPECT_EQ(grid.at(-5, 0).toString(), QStringLiteral("origin"));
    EXPECT_EQ(grid.at(-5, 2).toString(), QString()) << "other elements keep the default";
    EXPECT_EQ(errorOf([&] { (void)grid.at(-4); }), Err::SubscriptOutOfRange) << "one index for two dimensions";
    EXPECT_EQ(errorOf([&] { (void)grid.at(-3, 0); }), Err::SubscriptOutOfRange);
}

TEST(SafeArray, DeclaredButNeverDimensioned)
{
    SafeArray declared(VarType::Date);
    EXPECT_FALSE(declared.isDimensioned());
    EXPECT_EQ(errorOf([&] { (void)declared.upperBound(); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)declared.at(0); }), Err::SubscriptOutOfRange);

    SafeArray emptyButDimensioned(VarType::Date, {{0, -1}});
    EXPECT_TRUE(emptyButDimensioned.isDimensioned());
    EXPECT_EQ(emptyButDimensioned.elementCount(), 0);
    EXPECT_FALSE(declared == emptyButDimensioned);
}

// Elements take the element type (and fail when they do not convert), or keep their own in a Variant
// array: the Python module's Array tables in tests/python.
TEST(SafeArray, NoArrayOfNull)
{
    EXPECT_EQ(errorOf([] { SafeArray bad(VarType::Null); }), Err::InvalidProcedureCall);
}

TEST(SafeArray, RedimPreserveKeepsAndRedimResets)
{
    SafeArray a = SafeArray::fromValues(VarType::Long, {10, 20}, 0);
    a.redimPreserve(3);
    EXPECT_EQ(a.upperBound(), 3);
    EXPECT_EQ(a.at(1).toLong(), 20);
    EXPECT_EQ(a.at(3).toLong(), 0);
    a.redimPreserve(0);
    EXPECT_EQ(a.elementCount(), 1);
    EXPECT_EQ(a.at(0).toLong(), 10);
    a.redim({{0, 1}});
    EXPECT_EQ(a.at(0).toLong(), 0);
    EXPECT_EQ(errorOf([&] { a.redim({{0, 1}, {3, 1}}); }), Err::SubscriptOutOfRange);
    EXPECT_EQ(a.dimensions(), 1) << "a failed ReDim leaves the array as it was";
    EXPECT_EQ(a.upperBound(), 1);
    a.clear();
    EXPECT_FALSE(a.isDimensioned());
    a.redimPreserve(0);
    EXPECT_EQ(a.elementCount(), 1) << "ReDim Preserve of an erased array dimensions it";
}

TEST(SafeArray, CompactedReadsAsTheOriginalAndUnpacksOnChange)
{
    SafeArray grid(VarType::String, {{1, 2}, {0, 1}});
    grid.set(1, 1, "Seal number?");
    grid.set(2, 0, u"°C");
    const SafeArray packed = grid.compacted();
    EXPECT_TRUE(packed == grid);
    EXPECT_EQ(packed.at(2, 0).toString(), u"°C");
    EXPECT_EQ(packed.at(1, 0).varType(), VarType::String);
    SafeArray changed = packed;
    changed.set(1, 0, "Yes");
    EXPECT_EQ(changed.at(1, 0).toString(), QStringLiteral("Yes"));
    EXPECT_EQ(changed.at(1, 1).toString(), QStringLiteral("Seal number?")) << "the other strings survive unpacking";
    EXPECT_EQ(packed.at(1, 0).toString(), QString()) << "a copy is deep";
    EXPECT_FALSE(changed == packed);
}
