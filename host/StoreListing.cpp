// SPDX-License-Identifier: MIT
#include "StoreListing.h"

#include "Json.h"
#include "Progress.h"
#include "RecordingsFile.h"

#include "automation/SafeArray.h"
#include "component/DataSetRecord.h"
#include "component/ModuleState.h"

#include <charconv>

using namespace vxRecInfo;

namespace recinfo {

namespace {

template <class T>
QString shortest(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString isoText(Date date)
{
    return date.toQDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void writeScalar(JsonWriter& out, const Variant& v)
{
    switch (v.varType()) {
    case VarType::Integer:
    case VarType::Long: out.rawNumber(QString::number(v.toLong())); break;
    case VarType::Single: out.rawNumber(shortest(v.toSingle())); break;
    case VarType::Double: out.rawNumber(shortest(v.toDouble())); break;
    case VarType::Date: out.value(isoText(v.toDate())); break;
    case VarType::Boolean: out.value(v.toBool()); break;
    case VarType::String: out.value(v.toString()); break;
    case VarType::Object: out.value(v.toObject() ? QStringLiteral("(object)") : QStringLiteral("Nothing")); break;
    default: out.valueNull(); break;
    }
}

void writeElements(JsonWriter& out, const SafeArray& array)
{
    out.beginArray(array.dimensions() == 1);
    const ArrayBound first = array.bounds()[0];
    for (std::int32_t i = first.lower; i <= first.upper; ++i) {
        if (array.dimensions() == 1) {
            writeVariant(out, array.at(i));
            continue;
        }
        out.beginArray(true);
        const ArrayBound second = array.bounds()[1];
        for (std::int32_t j = second.lower; j <= second.upper; ++j)
            writeVariant(out, array.at(i, j));
        out.endArray();
    }
    out.endArray();
}

void writeTyped(JsonWriter& out, const QString& name, const Variant& value)
{
    out.key(name);
    out.beginObject();
    out.key(QStringLiteral("type"));
    out.value(typeName(value.varType()));
    if (value.isArray()) {
        const SafeArray& array = value.array();
        out.key(QStringLiteral("bounds"));
        out.beginArray(true);
        for (const ArrayBound& b : array.bounds()) {
            out.beginArray();
            out.rawNumber(QString::number(b.lower));
            out.rawNumber(QString::number(b.upper));
            out.endArray();
        }
        out.endArray();
    }
    out.key(QStringLiteral("value"));
    writeVariant(out, value);
    out.endObject();
}

} // namespace

void writeVariant(JsonWriter& out, const Variant& value)
{
    if (!value.isArray()) {
        writeScalar(out, value);
        return;
    }
    const SafeArray& array = value.array();
    if (!array.isDimensioned() || array.dimensions() > 2) {
        out.valueNull();
        return;
    }
    writeElements(out, array);
}

void writeStoreListing(IDispatch* record, QTextStream& stream)
{
    constexpr qsizetype Piece = 1 << 16;
    const ModuleState& state = ModuleState::current();
    JsonWriter out;
    out.beginObject();
    out.key(QStringLiteral("DataSets"));
    out.beginArray();
    if (state.DataSets.isDimensioned()) {
        for (std::int32_t i = 0; i <= state.DataSets.upperBound(); ++i) {
            out.beginObject();
            for (const auto& [name, value] : fieldsOf(state.DataSets.at(i)))
                writeTyped(out, name, value);
            out.endObject();
            if (out.text().size() >= Piece)
                out.moveTo(stream);
        }
    }
    out.endArray();
    for (const char* getter : {"NoteArray", "NoteChanged", "TimeZone", "ImportUserSelectedTimeZone",
                               "ImportFileSelected", "NoteChangeAllowed"}) {
        out.key(QString::fromLatin1(getter));
        writeVariant(out, lateGet(record, QString::fromLatin1(getter)));
    }
    out.endObject();
    out.moveTo(stream);
    stream << '\n';
}

int storeCommand(const QString& path, QTextStream& out, QTextStream& err, bool progress)
{
    try {
        RecordingsFile file(path);
        try {
            TerminalProgress shown(err, QStringLiteral("loading"), 0, progress);
            file.load(&shown);
        } catch (const LoadError& e) {
            if (file.record())
                writeStoreListing(file.record(), out);
            out.flush();
            err << "recinfo: " << e.message << '\n';
            return 1;
        }
        writeStoreListing(file.record(), out);
        return 0;
    } catch (const LoadError& e) {
        err << "recinfo: " << e.message << '\n';
        return 1;
    }
}

} // namespace recinfo
