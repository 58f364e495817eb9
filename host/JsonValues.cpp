// SPDX-License-Identifier: MIT
#include "JsonValues.h"

#include "automation/RuntimeError.h"
#include "automation/SafeArray.h"
#include "component/DataSetRecord.h"

#include <QTimeZone>

#include <cmath>
#include <limits>

using namespace vxRecInfo;

namespace recinfo {

void fail(const Place& where, const QString& what, int number, int systemError)
{
    throw LoadError{where.text() + QStringLiteral(": ") + what, number, systemError};
}


const QHash<QString, FieldShape>& arrayFields()
{
    static const QHash<QString, FieldShape> shapes = [] {
        QHash<QString, FieldShape> all;
        for (const auto& [name, value] : fieldsOf(DataSetRecord{}))
            if (value.isArray())
                all.insert(name.toLower(), {value.array().elementType(), 1});
        all[QStringLiteral("signatureread")].dimensions = 2;
        all[QStringLiteral("userquery")].dimensions = 2;
        return all;
    }();
    return shapes;
}

namespace {

VarType typeFromName(const QString& name, const Place& where)
{
    const VarType type = elementTypeNamed(name);
    if (type == VarType::Empty)
        fail(where, QStringLiteral("\"%1\" is no type (Integer, Long, Single, Double, Date, String, Boolean, Variant)")
                        .arg(name));
    return type;
}

// A JSON scalar as the Variant a scripted host would pass.
Variant scalarFromJson(const Json& v, const Place& where)
{
    if (v.is_null())
        return Variant();
    if (v.is_boolean())
        return v.get<bool>();
    if (v.is_number())
        return v.get<double>();
    if (v.is_string())
        return textOf(v);
    fail(where, QStringLiteral("a single value expected, not %1").arg(kindName(v)));
}

std::int32_t lowerBoundOf(const Json& v, const Place& where)
{
    if (v.is_number()) {
        const double d = v.get<double>();
        if (d == std::floor(d) && d >= std::numeric_limits<std::int32_t>::min()
            && d <= std::numeric_limits<std::int32_t>::max())
            return std::int32_t(d);
    }
    fail(where, QStringLiteral("\"lbound\" must be a whole number from -2147483648 to 2147483647, not %1")
                    .arg(QString::fromStdString(v.dump())));
}

// The bounds of a dimension of count elements; the count is checked before it is added.
ArrayBound boundOf(std::int32_t lower, std::size_t count, const Place& where)
{
    constexpr std::int32_t longMax = std::numeric_limits<std::int32_t>::max();
    const std::int64_t upper = count > std::size_t(longMax) ? std::int64_t(longMax) + 1
                                                           : std::int64_t(lower) + std::int64_t(count) - 1;
    if (upper > longMax || upper < std::numeric_limits<std::int32_t>::min())
        fail(where, QStringLiteral("\"lbound\" %1 with %2 values puts the upper bound outside the Long range")
                        .arg(lower)
                        .arg(count));
    return {lower, std::int32_t(upper)};
}

void setElement(SafeArray& array, std::initializer_list<std::int32_t> index, const Json& v, const Place& where)
{
    try {
        array.set(index, scalarFromJson(v, where));
    } catch (const RuntimeError& e) {
        QStringList position;
        for (const std::int32_t i : index)
            position << QString::number(i);
        fail(where, QStringLiteral("element (%1) cannot be %2: %3")
                        .arg(position.join(QStringLiteral(", ")), typeName(array.elementType()), e.description()),
             e.number());
    }
}

Variant arrayFromJson(const Json& values, const Json* lbound, VarType element, int dimensions, const Place& where)
{
    if (!values.is_array())
        fail(where, QStringLiteral("a list expected, not %1").arg(kindName(values)));
    std::vector<std::int32_t> lower(std::size_t(dimensions), 0);
    if (lbound && dimensions == 1 && !lbound->is_array()) {
        lower[0] = lowerBoundOf(*lbound, where);
    } else if (lbound && lbound->is_array() && lbound->size() == lower.size()) {
        for (std::size_t d = 0; d < lower.size(); ++d)
            lower[d] = lowerBoundOf((*lbound)[d], where);
    } else if (lbound) {
        fail(where, QStringLiteral("\"lbound\" must be a number, or a list of %1 numbers").arg(dimensions));
    }
    std::vector<ArrayBound> bounds{boundOf(lower[0], values.size(), where)};
    if (dimensions == 2) {
        // A list of rows of the first index, all as long as the first.
        const std::size_t columns = values.empty() || !values.front().is_array() ? 0 : values.front().size();
        for (const Json& row : values)
            if (!row.is_array() || row.size() != columns)
                fail(where, QStringLiteral("every row of a two-dimensional array must be a list as long as the first"));
        bounds.push_back(boundOf(lower[1], columns, where));
    }
    SafeArray array(element, bounds);
    // Within the bounds just checked, so the indexes cannot overflow.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::int32_t row = bounds[0].lower + std::int32_t(i);
        if (dimensions == 1) {
            setElement(array, {row}, values[i], where);
            continue;
        }
        for (std::size_t j = 0; j < values[i].size(); ++j)
            setElement(array, {row, bounds[1].lower + std::int32_t(j)}, values[i][j], where);
    }
    return array;
}

// {"vt": "Long", "value": 5}, {"vt": "Long[]", "values": [...], "lbound": 1} or
// {"vt": "String[,]", "values": [[...], ...], "lbound": [1, 0]}: the dimensions are the form's,
// not the property's, so that a host's wrong array can be fed on purpose.
Variant forcedFromJson(const Json& v, const Place& where)
{
    const Json* vt = member(v, "vt");
    if (!vt || !vt->is_string())
        fail(where, QStringLiteral("\"vt\" must name a type"));
    QString name = textOf(*vt);
    int dimensions = 0;
    if (name.endsWith(QLatin1String("[,]"))) {
        dimensions = 2;
        name.chop(3);
    } else if (name.endsWith(QLatin1String("[]"))) {
        dimensions = 1;
        name.chop(2);
    }
    if (dimensions > 0) {
        const Json* values = member(v, "values");
        if (!values)
            fail(where, QStringLiteral("an array form needs \"values\""));
        return arrayFromJson(*values, member(v, "lbound"), typeFromName(name, where), dimensions, where);
    }
    const Json* value = member(v, "value");
    if (!value)
        fail(where, QStringLiteral("a typed value needs \"value\""));
    try {
        return scalarFromJson(*value, where).convertTo(typeFromName(name, where));
    } catch (const RuntimeError& e) {
        fail(where, QStringLiteral("the value cannot be %1: %2").arg(name, e.description()), e.number());
    }
}

} // namespace

// Scalars as they are (the component converts them), arrays with the given element type and
// number of dimensions, {"vt": …} forms with the type they force.
Variant variantFromJson(const Json& value, VarType type, int dimensions, const Place& where)
{
    if (member(value, "vt"))
        return forcedFromJson(value, where);
    if (dimensions == 0)
        return scalarFromJson(value, where);
    if (value.is_null())
        return Variant();
    if (value.is_object()) {
        const Json* values = member(value, "values");
        if (!values)
            fail(where, QStringLiteral("an array object needs \"values\""));
        return arrayFromJson(*values, member(value, "lbound"), type, dimensions, where);
    }
    if (!value.is_array())
        fail(where, QStringLiteral("an array of %1 expected, not %2").arg(typeName(type), kindName(value)));
    return arrayFromJson(value, nullptr, type, dimensions, where);
}

void requireZoneId(const Json& id, const QString& where)
{
    if (!id.is_string() || !QTimeZone::isTimeZoneIdAvailable(QByteArray::fromStdString(id.get<std::string>())))
        fail(where, QStringLiteral("%1 is no IANA zone id known here").arg(QString::fromStdString(id.dump())));
}

// A settings value as the host objects read it back; the JSON type must fit the setting's.
QVariant settingFromJson(const Json& value, VarType type, const QString& where)
{
    if (type == VarType::String && !value.is_string())
        fail(where, QStringLiteral("a string expected, not %1").arg(kindName(value)));
    if (type == VarType::Boolean && !value.is_boolean())
        fail(where, QStringLiteral("true or false expected, not %1").arg(kindName(value)));
    if (type != VarType::String && type != VarType::Boolean && !value.is_number())
        fail(where, QStringLiteral("a number expected, not %1").arg(kindName(value)));
    if (type == VarType::Boolean)
        return value.get<bool>();
    try {
        return scalarFromJson(value, where).convertTo(type).toString();
    } catch (const RuntimeError& e) {
        fail(where, QStringLiteral("cannot be %1: %2").arg(typeName(type), e.description()), e.number());
    }
}


} // namespace recinfo
