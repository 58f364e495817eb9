// SPDX-License-Identifier: MIT
#include "RecordInfo.h"
#include "RecordInfoMembers.h"

#include "automation/SafeArray.h"

#include <array>

// Late binding of _RecordInfo: each slot of the member table calls the C++ member of the same
// name with the arguments Invoke has already converted, and writes by-reference arguments back.

namespace vxRecInfo {

namespace {

using Args = std::vector<Variant>;
using Binding = Variant (*)(RecordInfo&, Args&);

Variant done(HResult hr)
{
    checkHResult(hr);
    return {};
}

template <class T>
Variant result(HResult hr, const T& value)
{
    checkHResult(hr);
    return Variant(value);
}

// The binding of each slot, element n - 1 for slot n. Built when compiling: a slot bound twice
// or left without a binding does not compile, so the field table and the members below cannot
// disagree on the slots.
constexpr std::array<Binding, RecordInfoSlotCount> makeBindings()
{
    std::array<Binding, RecordInfoSlotCount> slots{};
    const auto bind = [&slots](int slot, Binding binding) {
        if (slot < 1 || slot > RecordInfoSlotCount || slots[std::size_t(slot - 1)])
            throw "a slot outside the interface or bound twice";
        slots[std::size_t(slot - 1)] = binding;
    };
#define VX_BIND_SCALAR(name, slot, dispId, type, ...)                                                                  \
    bind(slot, [](RecordInfo& o, Args& a) { return done(o.put_##name(ArgTypeOf<VarType::type>::from(a[0]))); });
#define VX_BIND_ARRAY(name, slot, ...) bind(slot, [](RecordInfo& o, Args& a) { return done(o.put_##name(a[0])); });
    VX_DATASET_FIELDS(VX_BIND_SCALAR, VX_BIND_ARRAY)
#undef VX_BIND_SCALAR
#undef VX_BIND_ARRAY
    bind(2, [](RecordInfo& o, Args& a) { return done(o.put_UserSettings(a[0])); });
    bind(7, [](RecordInfo& o, Args& a) {
        double job = a[0].toDouble();
        std::int16_t start = a[1].toInteger(), total = a[2].toInteger();
        QString printer = a[3].toString();
        const HResult hr = o.PrintAll(&job, &start, &total, &printer);
        a = {job, start, total, printer};
        return done(hr);
    });
    bind(8, [](RecordInfo& o, Args& a) {
        double job = a[0].toDouble();
        std::int16_t start = a[1].toInteger(), total = a[2].toInteger();
        QString printer = a[3].toString(), text = a[4].toString();
        bool numbering = a[5].toBool();
        const HResult hr = o.RTF_All(&job, &start, &total, &printer, &text, &numbering);
        a = {job, start, total, printer, text, numbering};
        return done(hr);
    });
    bind(9, [](RecordInfo& o, Args&) { std::int16_t v{}; return result(o.get_ImportUserSelectedTimeZone(&v), v); });
    bind(10, [](RecordInfo& o, Args&) { return done(o.ClearAllDataSets()); });
    bind(11, [](RecordInfo& o, Args&) { return done(o.AddDataSet()); });
    bind(18, [](RecordInfo& o, Args&) { std::int16_t v{}; return result(o.get_TimeZone(&v), v); });
    bind(19, [](RecordInfo& o, Args& a) { return done(o.put_TimeZone(a[0].toInteger())); });
    bind(21, [](RecordInfo& o, Args& a) {
        SafeArray flags = a[0].array();
        const HResult hr = o.ShowImport(&flags);
        a[0] = std::move(flags);
        return done(hr);
    });
    bind(22, [](RecordInfo& o, Args&) { bool v{}; return result(o.get_ImportFileSelected(&v), v); });
    bind(23, [](RecordInfo& o, Args& a) {
        std::int16_t index = a[0].toInteger();
        const HResult hr = o.ShowInfo(&index);
        a[0] = index;
        return done(hr);
    });
    bind(24, [](RecordInfo& o, Args&) { return done(o.ShowNote()); });
    bind(61, [](RecordInfo& o, Args&) { Variant v; return result(o.get_NoteArray(&v), v); });
    bind(62, [](RecordInfo& o, Args& a) { return done(o.put_Note(a[0].toString())); });
    bind(63, [](RecordInfo& o, Args&) { bool v{}; return result(o.get_NoteChangeAllowed(&v), v); });
    bind(64, [](RecordInfo& o, Args& a) { return done(o.put_NoteChangeAllowed(a[0].toBool())); });
    bind(65, [](RecordInfo& o, Args&) { Variant v; return result(o.get_NoteChanged(&v), v); });
    bind(87, [](RecordInfo& o, Args& a) {
        QString text = a[0].toString();
        const HResult hr = o.RTF_NT(&text);
        a[0] = std::move(text);
        return done(hr);
    });
    for (Binding binding : slots)
        if (!binding)
        throw "a slot without a binding";
    return slots;
}

constexpr std::array<Binding, RecordInfoSlotCount> bindings = makeBindings();

} // namespace

Variant RecordInfo::invokeMember(const MemberInfo& member, std::vector<Variant>& args)
{
    return bindings.at(std::size_t(member.slot - 1))(*this, args);
}

} // namespace vxRecInfo
