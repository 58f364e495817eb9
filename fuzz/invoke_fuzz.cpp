// SPDX-License-Identifier: MIT
// Invoke on RecordInfo and on each default host object with members, invoke kinds and
// arguments decoded from the input, then a report of every dataset the store holds. The only
// outcomes allowed are a result or a failure that carries a run-time error number.

#include "FuzzSupport.h"

#include "automation/ClassRegistry.h"
#include "automation/SafeArray.h"
#include "component/HostObjects.h"
#include "component/Identity.h"
#include "component/ModuleState.h"
#include "report/RecInfoCode.h"
#include "richtext/RichTextBox.h"

#include <cmath>
#include <limits>
#include <string_view>

using namespace vxRecInfo;
using vxRecInfo::fuzz::FuzzInput;

namespace {

const VarType ElementTypes[] = {VarType::Integer, VarType::Long,   VarType::Single,  VarType::Double,
                                VarType::Date,    VarType::String, VarType::Boolean, VarType::Variant};

QString text(FuzzInput& in)
{
    static const char16_t* const pieces[] = {u"", u"\0", u"\r", u"\n", u"\r\n", u"\\", u"{", u"}", u"\t", u"\f",
                                             u"1e400", u"-0", u"2026-02-30", u"9999-12-31T23:59:59", u"&H8000",
                                             u"True", u"\xd800", u"\U0001F600", u"0.0E+00;(0);\"zero\"", u"#,##0.00"};
    QString s;
    const unsigned parts = in.pick(6);
    for (unsigned i = 0; i < parts; ++i) {
        if (in.pick(4) == 0)
            s += QChar(in.raw<char16_t>());
        else
            s += QString::fromUtf16(pieces[in.pick(std::size(pieces))]);
    }
    if (in.pick(16) == 0) // now and then, long enough for the 16-bit limits of the report
        s = s.repeated(1 + in.raw<std::uint16_t>() % 40000 / std::max<qsizetype>(1, s.size()));
    return s;
}

double number(FuzzInput& in)
{
    static const double edges[] = {0.0, -0.0, 1.0, -1.0, 0.5, 2.5, 32767.5, -32768.5, 2147483647.5, -2147483648.5,
                                   Date::MinValue, Date::MaxValue, Date::MinValue - 1, Date::MaxValue + 1, 1e300,
                                   -1e300, std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<float>::max() * 2.0,
                                   std::numeric_limits<double>::denorm_min()};
    return in.pick(3) == 0 ? in.raw<double>() : edges[in.pick(std::size(edges))];
}

Variant scalar(FuzzInput& in, VarType type)
{
    switch (type) {
    case VarType::Integer: return in.pick(2) ? std::int16_t(in.raw<std::int16_t>()) : std::int16_t(in.pick(2) ? -32768 : 32767);
    case VarType::Long: return in.pick(2) ? in.raw<std::int32_t>() : std::int32_t(in.pick(40)) - 20;
    case VarType::Single: {
        const double d = number(in);
        // A double outside the float range does not convert: take the float's own limits then.
        const float f = std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()
            ? std::copysign(std::numeric_limits<float>::max(), float(d > 0 ? 1 : -1))
            : float(d);
        return f;
    }
    case VarType::Double: return number(in);
    case VarType::Date: return Date(number(in));
    case VarType::String: return text(in);
    case VarType::Boolean: return in.pick(2) == 1;
    default: return {};
    }
}

Variant value(FuzzInput& in, int depth);

Variant array(FuzzInput& in, int depth)
{
    const VarType element = ElementTypes[in.pick(std::size(ElementTypes))];
    const unsigned dimensions = in.pick(4);
    if (dimensions == 0)
        return SafeArray(element); // declared, never dimensioned
    static const std::int32_t lowers[] = {0, 1, -1, 7, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max()};
    std::vector<ArrayBound> bounds;
    for (unsigned d = 0; d < dimensions; ++d) {
        const std::int32_t count = std::int32_t(in.pick(4));
        std::int64_t lower = in.pick(4) == 0 ? in.raw<std::int32_t>() : lowers[in.pick(std::size(lowers))];
        // Keep the bounds representable: upper = lower + count - 1 within the Long range.
        lower = std::clamp<std::int64_t>(lower, std::int64_t(std::numeric_limits<std::int32_t>::min()) + 1,
                                         std::int64_t(std::numeric_limits<std::int32_t>::max()) - count + 1);
        bounds.push_back({std::int32_t(lower), std::int32_t(lower + count - 1)});
    }
    SafeArray a(element, bounds);
    for (std::int64_t i = 0; i < a.elementCount() && !in.done(); ++i) {
        std::vector<std::int32_t> at;
        std::int64_t rest = i;
        for (const ArrayBound& b : bounds) {
            at.push_back(std::int32_t(b.lower + rest % b.count()));
            rest /= b.count();
        }
        const Variant v = element == VarType::Variant ? value(in, depth + 1) : scalar(in, element);
        try {
            switch (at.size()) {
            case 1: a.set(at[0], v); break;
            case 2: a.set(at[0], at[1], v); break;
            default: a.set({at[0], at[1], at[2]}, v); break;
            }
        } catch (const RuntimeError&) {
            // a value the element type cannot take: the element keeps its default
        }
    }
    return a;
}

Variant value(FuzzInput& in, int depth)
{
    // 3 to 9: the scalar element types, Integer to Boolean, in their order in ElementTypes.
    switch (const unsigned choice = in.pick(depth < 2 ? 12 : 11)) {
    case 0: return {};
    case 1: return Variant::null();
    case 2: return Variant::missing();
    case 10: return Variant::nothing();
    case 11: return array(in, depth);
    default: return scalar(in, ElementTypes[choice - 3]);
    }
}

// A window as the report builder sees it, without a screen.
class Target final : public ReportTarget
{
public:
    Target(bool import, bool details) : m_import(import), m_details(details) {}
    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override { return std::int16_t(m_details ? 1 : 0); }
    QString windowName() const override { return m_import ? QStringLiteral("frmRecImport") : QStringLiteral("frmStatistics"); }
    int datasetListCount() const override { return ModuleState::current().DataSets.upperBound() + 1; }

private:
    RichTextBox m_box;
    bool m_import;
    bool m_details;
};

ComPtr<IDispatch> create(unsigned which)
{
    static const QString classes[] = {Identity::ProgId, HostClasses::HostSettingsClsid.toString(),
                                      HostClasses::TimeZoneServiceClsid.toString(),
                                      HostClasses::UnitConverterClsid.toString(),
                                      HostClasses::FontSettingsClsid.toString()};
    return ClassRegistry::instance().createObject(classes[which]);
}

// One channel's arrays (1 in each array the commit always copies), put by name as a scripted
// host does, so that a commit can succeed and the fuzzed calls start from a report worth building.
void putChannel(IDispatch* record, unsigned loggerType)
{
    const auto put = [record](const QString& name, const Variant& value) {
        std::vector<Variant> args{value};
        invokeByName(record, name, InvokeKind::PropertyPut, args);
    };
#define VX_NO_SCALAR(...)
#define VX_ONE(name, slot, dispId, element, copied, after)                                                             \
    if (std::string_view(#copied) == "Always")                                                                         \
        put(QStringLiteral(#name), SafeArray::fromValues(VarType::element, {Variant(1).convertTo(VarType::element)}, 1));
    VX_DATASET_FIELDS(VX_NO_SCALAR, VX_ONE)
#undef VX_NO_SCALAR
#undef VX_ONE
    const SafeArray grid(VarType::String, {{0, 0}, {0, 0}});
    const std::pair<const char16_t*, Variant> puts[] = {
        {u"SignatureRead", grid}, {u"UserQuery", grid}, {u"NumChannels", std::int16_t(1)},
        {u"NumActiveChannels", std::int16_t(1)}, {u"MeasInterval", 60}, {u"NumOfMeas", 100},
        {u"Logger_Type", QString(QChar(u"ABCLM2X"[loggerType % 7]))},
        {u"UserSettings", SafeArray::fromValues(VarType::Variant, {0, 0, 0, 0, 0, 0, true})},
    };
    for (const auto& [name, v] : puts)
        put(QString::fromUtf16(name), v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vxRecInfo::fuzz::initialise();
    ModuleState::endApartment();
    FuzzInput in(data, size);
    {
        ComPtr<IDispatch> record = create(0);
        fuzz::check(bool(record), "invoke_fuzz: RecordInfo cannot be created");
        if (const unsigned prelude = in.pick(8); prelude < 7)
            putChannel(record.get(), prelude);
        for (int call = 0; call < 24 && !in.done(); ++call) {
            const unsigned which = in.pick(8);
            ComPtr<IDispatch> object = which < 4 ? record : create(which - 3);
            const TypeInfo& type = object->GetTypeInfo();
            const auto& members = type.members();
            const MemberInfo& member = members[in.pick(unsigned(members.size()))];
            if (member.name == QLatin1String("PrintAll"))
                continue; // a print job per call: the PDF printer has its own tests
            static const InvokeKind kinds[] = {InvokeKind::Method, InvokeKind::PropertyGet, InvokeKind::PropertyPut,
                                               InvokeKind::Method | InvokeKind::PropertyGet};
            const InvokeKind own = member.kind == MemberKind::Method        ? InvokeKind::Method
                                   : member.kind == MemberKind::PropertyGet ? InvokeKind::PropertyGet
                                                                           : InvokeKind::PropertyPut;
            const InvokeKind kind = in.pick(4) == 0 ? kinds[in.pick(4)] : own;
            std::vector<Variant> args;
            // Mostly the declared count; now and then one fewer or one or two more.
            const int count = int(member.params.size()) + int(in.pick(4)) - 1;
            for (int a = 0; a < count && a < 8; ++a)
                args.push_back(value(in, 0));
            Variant result;
            ErrorInfo error;
            const HResult hr = object->Invoke(member.dispId, kind, args, &result, &error);
            fuzz::check(succeeded(hr) || error.number != 0,
                        "invoke_fuzz: a failing Invoke without a run-time error number");
        }
    }
    // Whatever the store holds now, reported as the windows would.
    const BasicArray<DataSetRecord>& sets = ModuleState::current().DataSets;
    const std::int32_t last = sets.isDimensioned() ? std::min<std::int32_t>(sets.upperBound(), 2) : -1;
    for (std::int32_t i = 0; i <= last; ++i) {
        Target target(in.pick(2) == 1, in.pick(2) == 1);
        try {
            RecInfoCode::BuildReport(target, std::int16_t(i), in.pick(2) == 1, QString(), 0, 0, 0, 0, true);
            target.txtInfo().TextRTF();
        } catch (const RuntimeError&) {
        }
    }
    ModuleState::endApartment();
    return 0;
}
