#include "automation/Dispatch.h"
#include "automation/SafeArray.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vxRecInfo;

namespace {

const TypeInfo& counterType()
{
    static const TypeInfo info(
        QStringLiteral("_Counter"), QUuid::createUuid(),
        {
            propertyGet(1, QStringLiteral("Count"), 1, VarType::Long),
            propertyLet(2, QStringLiteral("Count"), 1, VarType::Long),
            method(3, QStringLiteral("Add"), 2,
                   {byVal(QStringLiteral("a"), VarType::Integer), byVal(QStringLiteral("b"), VarType::Integer)},
                   VarType::Long),
            method(4, QStringLiteral("TakeNext"), 3,
                   {optionalByRef(QStringLiteral("n"), VarType::Integer, std::int16_t(7))}, VarType::Integer),
            method(5, QStringLiteral("Raise"), 4,
                   {byVal(QStringLiteral("number"), VarType::Long), byRef(QStringLiteral("touched"), VarType::String)}),
            method(6, QStringLiteral("Crash"), 5, {}),
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
        case 3: return std::int32_t(args[0].toInteger()) + args[1].toInteger();
        case 4: {
            const std::int16_t n = args[0].toInteger();
            args[0] = std::int16_t(n + 1);
            return n;
        }
        case 5:
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

TEST(Dispatch, NamesMatchCaseInsensitively)
{
    auto counter = makeObject<Counter>();
    DispId id = 0;
    EXPECT_EQ(counter->GetIDsOfNames(QStringLiteral("ADD"), &id), S_OK);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(counter->GetIDsOfNames(QStringLiteral("count"), &id), S_OK);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(counter->GetIDsOfNames(QStringLiteral("Subtract"), &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST(Dispatch, ConvertsArgumentsToTheDeclaredTypes)
{
    auto counter = makeObject<Counter>();
    InvokeResult r = call(counter.get(), "Add", InvokeKind::Method, {Variant("2.5"), Variant(3.5)});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.toLong(), 6) << "2.5 -> 2 and 3.5 -> 4, half to even";

    ASSERT_TRUE(call(counter.get(), "Count", InvokeKind::PropertyPut, {Variant("41")}).ok());
    r = call(counter.get(), "Count", InvokeKind::Method | InvokeKind::PropertyGet);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.varType(), VarType::Long);
    EXPECT_EQ(r.value.toLong(), 41);
}

TEST(Dispatch, ByReferenceArgumentsComeBackAndOptionalsTakeTheirDefault)
{
    auto counter = makeObject<Counter>();
    std::vector<Variant> args{Variant(std::int32_t(10))};
    InvokeResult r = call(counter.get(), "TakeNext", InvokeKind::Method, args);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.toInteger(), 10);
    EXPECT_EQ(args[0].varType(), VarType::Integer) << "the by-reference argument holds the declared type";
    EXPECT_EQ(args[0].toInteger(), 11);

    std::vector<Variant> omitted;
    r = call(counter.get(), "TakeNext", InvokeKind::Method, omitted);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.toInteger(), 7);
    EXPECT_TRUE(omitted.empty());

    std::vector<Variant> marked{Variant::missing()};
    r = call(counter.get(), "TakeNext", InvokeKind::Method, marked);
    EXPECT_EQ(r.value.toInteger(), 7);
    EXPECT_TRUE(marked[0].isMissing()) << "an omitted argument is not written to";
}

TEST(Dispatch, FailuresBecomeHResultsWithErrorInformation)
{
    auto counter = makeObject<Counter>();
    InvokeResult r = call(counter.get(), "Count", InvokeKind::PropertyPut, {Variant("abc")});
    EXPECT_EQ(r.hr, hresultFrom(0x800A000Du));
    EXPECT_EQ(r.error.number, 13);
    EXPECT_EQ(r.error.description, QStringLiteral("Type mismatch"));
    EXPECT_EQ(lastErrorInfo().number, 13) << "the thread's error information follows the failed call";

    EXPECT_EQ(call(counter.get(), "Add", InvokeKind::Method, {Variant(40000), Variant(1)}).hr,
              hresultFrom(0x800A0006u));

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

TEST(Dispatch, WrongMembersKindsAndArgumentCounts)
{
    auto counter = makeObject<Counter>();
    EXPECT_EQ(call(counter.get(), "Subtract", InvokeKind::Method).error.number, Err::ObjectDoesNotSupportMember);
    EXPECT_EQ(call(counter.get(), "Add", InvokeKind::PropertyPut).hr, DISP_E_MEMBERNOTFOUND);

    const InvokeResult missing = call(counter.get(), "Add", InvokeKind::Method, {Variant(1)});
    EXPECT_EQ(missing.hr, DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(missing.error.number, Err::ArgumentNotOptional);
    EXPECT_EQ(call(counter.get(), "Add", InvokeKind::Method, {Variant(1), Variant(2), Variant(3)}).hr,
              DISP_E_BADPARAMCOUNT);

    std::vector<Variant> none;
    Variant result;
    EXPECT_EQ(counter->Invoke(999, InvokeKind::Method, none, &result, nullptr), DISP_E_MEMBERNOTFOUND);
}

TEST(Dispatch, LateBoundHelpersRaiseTheCalleesError)
{
    auto counter = makeObject<Counter>();
    latePut(counter.get(), QStringLiteral("Count"), 5);
    EXPECT_EQ(lateGet(counter.get(), QStringLiteral("Count")).toLong(), 5);
    try {
        lateCall(counter.get(), QStringLiteral("Raise"), {Variant(76), Variant("")});
        FAIL() << "the callee's error was lost";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 76);
        EXPECT_EQ(e.source(), QStringLiteral("Counter.Raise"));
    }
    try {
        lateGet(nullptr, QStringLiteral("Count"));
        FAIL() << "a call on no object must fail";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), Err::ObjectVariableNotSet);
    }
}

TEST(Dispatch, QueryInterfaceAnswersOnlyItsInterfaces)
{
    auto counter = makeObject<Counter>();
    EXPECT_TRUE(counter.as<IDispatch>());
    EXPECT_TRUE(counter.as<IUnknown>());
    void* out = nullptr;
    EXPECT_EQ(counter->QueryInterface(QUuid::createUuid(), &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}
