// SPDX-License-Identifier: MIT
#pragma once
// The dataset store of the calling thread as JSON: every record's fields with their types,
// the notes, the note flags and the getters of the RecordInfo.

#include "automation/Dispatch.h"

#include <QTextStream>

namespace recinfo {

// Written to out as it is made, a dataset at a time: a listing of any length needs no more
// memory than the store it lists.
void writeStoreListing(vxRecInfo::IDispatch* record, QTextStream& out);

// `recinfo store PATH`: loads the recordings file and prints the listing. When loading stops,
// the listing of what was committed so far still goes to out, the message to err, and the
// status is 1. With progress, the datasets committed show on the terminal (see Progress.h).
int storeCommand(const QString& path, QTextStream& out, QTextStream& err, bool progress = false);

// A Variant as JSON: numbers in their shortest exact form, dates as ISO text, arrays as nested
// lists by first index.
void writeVariant(class JsonWriter& out, const vxRecInfo::Variant& value);

} // namespace recinfo
