// SPDX-License-Identifier: MIT
#include "ErrorOf.h"
#include "automation/Dispatch.h"
#include "automation/SafeArray.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vxRecInfo;
using vxRecInfo::testing::errorOf;
using vxRecInfo::testing::raisedBy;

namespace {

const TypeInfo& counterType()
{
    static const TypeInfo info(
        QStringLiteral("_Counter"), QUuid::createUuid(),
        {
            propertyGet(1, QStringLiteral("Count"), 1, VarType::Long),
            propertyLet(2, QStringLiteral("Count"), 1, VarType::Long),
            method(3, QStringLiteral("TakeNext"), 3,
                   {optionalByRef(QStringLiteral("n"), VarType::Integer, std::int16_t(7))}, VarType::Integer),
            method(4, QStringLiteral("Raise"), 4,
                   {byVal(QStringLiteral("number"), VarType::Long), byRef(QStringLiteral("touched"), VarType::String)}),
            method(5, QStringLiteral("Crash"), 5, {}),
        });
    return info;
}

class Counter final : public DispatchObject<IDispatch>
{
public:
    const TypeInfo& GetTypeInfo() const override { return counterType(); }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        switch (member.slot) {
        case 1: return m_count;
        case 2: m_count = args[0].toLong(); return {};
        case 3: {
            const std::int16_t n = args[0].toInteger();
            args[0] = std::int16_t(n + 1);
            return n;
        }
        case 4:
            args[1] = QStringLiteral("changed before the error");
            throw RuntimeError(args[0].toLong(), QStringLiteral("raised on purpose"), QStringLiteral("Counter.Raise"));
        default: throw std::runtime_error("unexpected");
        }
    }

private:
    std::int32_t m_count = 0;
};

InvokeResult call(IDispatch* object, const char* name, InvokeKind kind, std::vector<Variant>& args)
{
    return invokeByName(object, QString::fromUtf8(name), kind, args);
}
InvokeResult call(IDispatch* object, const char* name, InvokeKind kind, std::vector<Variant>&& args = {})
{
    return call(object, name, kind, args);
}

} // namespace

TEST(Dispatch, ByReferenceArgumentsComeBackInTheirTypeAndMissingOnesTakeTheirDefault)
{
    auto counter = makeObject<Counter>();
    std::vector<Variant> args{Variant(std::int32_t(10))};
    EXPECT_EQ(call(counter.get(), "TakeNext", InvokeKind::Method, args).value.toInteger(), 10);
    EXPECT_EQ(args[0], Variant(std::int16_t(11))) << "the by-reference argument holds the declared type";

    std::vector<Variant> marked{Variant::missing()};
    EXPECT_EQ(call(counter.get(), "TakeNext", InvokeKind::Method, marked).value.toInteger(), 7);
    EXPECT_TRUE(marked[0].isMissing()) << "an omitted argument is not written to";
}

TEST(Dispatch, FailuresBecomeHResultsWithErrorInformation)
{
    auto counter = makeObject<Counter>();
    InvokeResult r = call(counter.get(), "Count", InvokeKind::PropertyPut, {Variant("abc")});
    EXPECT_EQ(r.hr, hresultFrom(0x800A000Du));
    EXPECT_EQ(r.error.number, 13);
    EXPECT_EQ(lastErrorInfo().number, 13) << "the thread's error information follows the failed call";

    std::vector<Variant> raise{Variant(53), Variant("untouched")};
    r = call(counter.get(), "Raise", InvokeKind::Method, raise);
    EXPECT_EQ(r.hr, hresultFrom(0x800A0035u));
    EXPECT_EQ(r.error.source, QStringLiteral("Counter.Raise"));
    EXPECT_EQ(r.error.description, QStringLiteral("raised on purpose"));
    EXPECT_EQ(raise[1].toString(), QStringLiteral("changed before the error")) << "what was changed stays changed";

    const Variant custom(std::int32_t(hresultFrom(0x80040000u)));
    r = call(counter.get(), "Raise", InvokeKind::Method, {custom, Variant("")});
    EXPECT_EQ(r.hr, hresultFrom(0x80040000u)) << "a number that is already an HResult keeps it";
    EXPECT_EQ(r.error.number, hresultFrom(0x80040000u));

    EXPECT_EQ(call(counter.get(), "Crash", InvokeKind::Method).error.number, Err::InternalError)
        << "a C++ exception must not cross Invoke";
}

// Wrong argument counts and kinds, conversions to the declared types, unknown names, members missing
// for a kind (DISP_E_MEMBERNOTFOUND) and names in any case: the Python module's tables and the member
// table of RecordInfo.

TEST(Dispatch, LateBoundHelpersRaiseTheCalleesError)
{
    auto counter = makeObject<Counter>();
    latePut(counter.get(), QStringLiteral("Count"), 5);
    EXPECT_EQ(lateGet(counter.get(), QStringLiteral("Count")).toLong(), 5);
    const ErrorInfo e = raisedBy([&] { lateCall(counter.get(), QStringLiteral("Raise"), {Variant(76), Variant("")}); });
    EXPECT_EQ(e.number, 76) << "the callee's error was lost";
    EXPECT_EQ(e.source, QStringLiteral("Counter.Raise"));
    EXPECT_EQ(errorOf([] { lateGet(nullptr, QStringLiteral("Count")); }), Err::ObjectVariableNotSet)
        << "a call on no object must fail";
}

TEST(Dispatch, QueryInterfaceAnswersOnlyItsInterfaces)
{
    void* out = nullptr;
    EXPECT_EQ(makeObject<Counter>()->QueryInterface(QUuid::createUuid(), &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}
