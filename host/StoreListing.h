#pragma once
// The dataset store of the calling thread as JSON: every record's fields with their types,
// the notes, the note flags and the getters of the RecordInfo.

#include "automation/Dispatch.h"

namespace recinfo {

QString storeListing(vxRecInfo::IDispatch* record);

// A Variant as JSON: numbers in their shortest exact form, dates as ISO text, arrays as nested
// lists by first index.
void writeVariant(class JsonWriter& out, const vxRecInfo::Variant& value);

} // namespace recinfo
