// SPDX-License-Identifier: MIT
#include "DataSetStore.h"

#include "ModuleState.h"

#include "automation/Variant.h"

#include <limits>

namespace vxRecInfo {

namespace {

// The array a field needs: exactly element type `element`, nothing else.
SafeArray arrayField(const Variant& value, VarType element, const char* field)
{
    if (value.varType() != arrayOf(element))
        throw RuntimeError(Err::TypeMismatch,
                           QStringLiteral("Type mismatch: %1 must hold an array of %2, not %3")
                               .arg(QString::fromLatin1(field), typeName(element), typeName(value.varType())));
    return value.array().compacted();
}

void copyScalar(QString& field, std::int32_t number)
{
    field = QString::number(number);
}
template <class T>
void copyScalar(T& field, const T& value)
{
    field = value;
}

// When the commit copies an array.
bool copiedAlways(const PendingDataSet&, const Variant&)
{
    return true;
}
bool copiedIfGiven(const PendingDataSet&, const Variant& value)
{
    return !value.isEmpty();
}
bool copiedIfDimensioned(const PendingDataSet&, const Variant& value)
{
    return IsArrayDimensioned(value);
}
// Probe numbers and their descriptions travel together, decided by the numbers alone.
bool copiedIfProbes(const PendingDataSet& pending, const Variant&)
{
    return IsArrayDimensioned(pending.ProbeNumber);
}

void copyFields(const PendingDataSet& pending, DataSetRecord& record)
{
#define VX_COPY_SCALAR(name, ...) copyScalar(record.name, pending.name);
#define VX_COPY_ARRAY(name, slot, dispId, element, when, after)                                                                      \
    if (copied##when(pending, pending.name))                                                                           \
        record.name = arrayField(pending.name, VarType::element, #name);
    VX_DATASET_FIELDS(VX_COPY_SCALAR, VX_COPY_ARRAY)
#undef VX_COPY_SCALAR
#undef VX_COPY_ARRAY
}

// What a value is after a commit.
template <class T>
void afterCommitCleared(T&, T&)
{
}
template <class T>
void afterCommitKept(T& next, T& committed)
{
    next = std::move(committed);
}
void afterCommitZero(QString& next, QString&)
{
    next = QStringLiteral("0");
}

// The pending values after a commit (KeptForNextDataSet says which stay).
PendingDataSet nextPending(PendingDataSet& committed)
{
    PendingDataSet next;
#define VX_NEXT_SCALAR(name, slot, dispId, type, pending, record, after) afterCommit##after(next.name, committed.name);
#define VX_NEXT_ARRAY(name, slot, dispId, element, copied, after) afterCommit##after(next.name, committed.name);
    VX_DATASET_FIELDS(VX_NEXT_SCALAR, VX_NEXT_ARRAY)
#undef VX_NEXT_SCALAR
#undef VX_NEXT_ARRAY
    return next;
}

} // namespace

void commitDataSet(PendingDataSet& pending, std::int16_t& count)
{
    ModuleState& state = ModuleState::current();
    const std::int32_t slot = count;
    state.DataSets.redimPreserve(slot);
    state.NoteArray.redimPreserve(slot);
    state.NoteChanged.redim(slot);

    // The slot may hold a record of an earlier batch or a failed attempt: start it blank, so a
    // field that is not copied stays unallocated.
    DataSetRecord& record = state.DataSets.at(slot);
    record = DataSetRecord{};
    copyFields(pending, record);
    state.NoteArray.at(slot) = pending.Note;

    if (count == std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    ++count;
    pending = nextPending(pending);
}

void clearAllDataSets(std::int16_t& count)
{
    ModuleState& state = ModuleState::current();
    state.DataSets.redim(0);
    count = 0;
    state.NoteChanged.redim(0);
}

} // namespace vxRecInfo
