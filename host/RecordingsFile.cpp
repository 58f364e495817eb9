#include "RecordingsFile.h"

#include "automation/ClassRegistry.h"
#include "automation/SafeArray.h"
#include "component/DataSetRecord.h"
#include "component/Identity.h"
#include "component/SuiteSettings.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSettings>

using namespace vxRecInfo;

namespace recinfo {

namespace {

[[noreturn]] void fail(const QString& where, const QString& what, int number = 0)
{
    throw LoadError{where + QStringLiteral(": ") + what, number};
}

struct FieldShape {
    VarType element;
    int dimensions;
};

// Element type and dimensions of every array field, by lower-case name.
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

VarType typeFromName(const QString& name, const QString& where)
{
    static const QHash<QString, VarType> types{
        {QStringLiteral("integer"), VarType::Integer}, {QStringLiteral("long"), VarType::Long},
        {QStringLiteral("single"), VarType::Single},   {QStringLiteral("double"), VarType::Double},
        {QStringLiteral("date"), VarType::Date},       {QStringLiteral("string"), VarType::String},
        {QStringLiteral("boolean"), VarType::Boolean}, {QStringLiteral("variant"), VarType::Variant},
    };
    const auto it = types.constFind(name.toLower());
    if (it == types.cend())
        fail(where, QStringLiteral("\"%1\" is no type (Integer, Long, Single, Double, Date, String, Boolean, Variant)")
                        .arg(name));
    return *it;
}

// A JSON scalar as the Variant a scripted host would pass.
Variant scalarFromJson(const JsonValue& v, const QString& where)
{
    switch (v.kind) {
    case JsonValue::Kind::Null: return Variant();
    case JsonValue::Kind::Bool: return v.boolean;
    case JsonValue::Kind::Number: return v.number;
    case JsonValue::Kind::String: return v.string;
    default: fail(where, QStringLiteral("a single value expected, not a %1").arg(v.kindName()));
    }
}

std::vector<std::int32_t> lowerBounds(const JsonValue* lbound, int dimensions, const QString& where)
{
    std::vector<std::int32_t> bounds(std::size_t(dimensions), 0);
    if (!lbound)
        return bounds;
    if (lbound->kind == JsonValue::Kind::Number && dimensions == 1) {
        bounds[0] = std::int32_t(lbound->number);
    } else if (lbound->isArray() && int(lbound->array.size()) == dimensions) {
        for (int d = 0; d < dimensions; ++d)
            bounds[std::size_t(d)] = std::int32_t(lbound->array[std::size_t(d)].number);
    } else {
        fail(where, QStringLiteral("\"lbound\" must be a number, or a list of %1 numbers").arg(dimensions));
    }
    return bounds;
}

void setElement(SafeArray& array, std::initializer_list<std::int32_t> index, const JsonValue& v, const QString& where)
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

Variant arrayFromJson(const JsonValue& values, const JsonValue* lbound, VarType element, int dimensions,
                      const QString& where)
{
    if (!values.isArray())
        fail(where, QStringLiteral("a list expected, not a %1").arg(values.kindName()));
    const std::vector<std::int32_t> lower = lowerBounds(lbound, dimensions, where);
    const auto count = std::int32_t(values.array.size());
    if (dimensions == 1) {
        SafeArray array(element, {{lower[0], lower[0] + count - 1}});
        for (std::int32_t i = 0; i < count; ++i)
            setElement(array, {lower[0] + i}, values.array[std::size_t(i)], where);
        return array;
    }
    // Two dimensions: a list of rows of the first index.
    const auto columns = count == 0 ? 0 : std::int32_t(values.array.front().array.size());
    SafeArray array(element, {{lower[0], lower[0] + count - 1}, {lower[1], lower[1] + columns - 1}});
    for (std::int32_t i = 0; i < count; ++i) {
        const JsonValue& row = values.array[std::size_t(i)];
        if (!row.isArray() || std::int32_t(row.array.size()) != columns)
            fail(where, QStringLiteral("every row of a two-dimensional array must be a list of %1 values").arg(columns));
        for (std::int32_t j = 0; j < columns; ++j)
            setElement(array, {lower[0] + i, lower[1] + j}, row.array[std::size_t(j)], where);
    }
    return array;
}

// {"vt": "Long", "value": 5} or {"vt": "Long[]", "values": [...], "lbound": 1}
Variant forcedFromJson(const JsonValue& v, int dimensions, const QString& where)
{
    const JsonValue* vt = v.member(QStringLiteral("vt"));
    if (!vt || vt->kind != JsonValue::Kind::String)
        fail(where, QStringLiteral("\"vt\" must name a type"));
    QString name = vt->string;
    if (name.endsWith(QLatin1String("[]"))) {
        name.chop(2);
        const JsonValue* values = v.member(QStringLiteral("values"));
        if (!values)
            fail(where, QStringLiteral("an array form needs \"values\""));
        return arrayFromJson(*values, v.member(QStringLiteral("lbound")), typeFromName(name, where),
                             std::max(dimensions, 1), where);
    }
    const JsonValue* value = v.member(QStringLiteral("value"));
    if (!value)
        fail(where, QStringLiteral("a typed value needs \"value\""));
    try {
        return scalarFromJson(*value, where).convertTo(typeFromName(name, where));
    } catch (const RuntimeError& e) {
        fail(where, QStringLiteral("the value cannot be %1: %2").arg(name, e.description()), e.number());
    }
}

} // namespace

Variant variantFromJson(const JsonValue& value, VarType type, int dimensions, const QString& where)
{
    if (value.isObject() && value.member(QStringLiteral("vt")))
        return forcedFromJson(value, dimensions, where);
    if (dimensions == 0)
        return scalarFromJson(value, where);
    if (value.isNull())
        return Variant();
    if (value.isObject()) {
        const JsonValue* values = value.member(QStringLiteral("values"));
        if (!values)
            fail(where, QStringLiteral("an array object needs \"values\""));
        return arrayFromJson(*values, value.member(QStringLiteral("lbound")), type, dimensions, where);
    }
    if (!value.isArray())
        fail(where, QStringLiteral("an array of %1 expected, not a %2").arg(typeName(type), value.kindName()));
    return arrayFromJson(value, nullptr, type, dimensions, where);
}

RecordingsFile::RecordingsFile(const QString& path) : m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, file.errorString());
    QString error;
    if (!parseJson(QString::fromUtf8(file.readAll()), &m_document, &error))
        fail(path, QStringLiteral("not valid JSON: ") + error);
    if (!m_document.isObject())
        fail(path, QStringLiteral("the document must be a JSON object"));
    static const QStringList known{QStringLiteral("locale"),           QStringLiteral("settings"),
                                   QStringLiteral("UserSettings"),     QStringLiteral("TimeZone"),
                                   QStringLiteral("NoteChangeAllowed"), QStringLiteral("ClassicFileFlag"),
                                   QStringLiteral("datasets")};
    for (const auto& [key, value] : m_document.object)
        if (!known.contains(key))
            fail(path, QStringLiteral("unknown top-level key \"%1\"").arg(key));
}

void RecordingsFile::load()
{
    applyLocale();
    writeSettings();
    try {
        m_record = ClassRegistry::instance().createObject(Identity::ProgId);
    } catch (const RuntimeError& e) {
        fail(m_path, QStringLiteral("RecordInfo could not be created: error %1: %2").arg(e.number()).arg(e.description()),
             e.number());
    }
    setModuleProperties();
    const JsonValue* datasets = m_document.member(QStringLiteral("datasets"));
    if (!datasets)
        return;
    if (!datasets->isArray())
        fail(m_path, QStringLiteral("\"datasets\" must be a list"));
    for (std::size_t i = 0; i < datasets->array.size(); ++i)
        commitDataSet(datasets->array[i], int(i + 1));
}

void RecordingsFile::applyLocale()
{
    const JsonValue* locale = m_document.member(QStringLiteral("locale"));
    if (!locale)
        return;
    const QLocale chosen(locale->string);
    if (locale->kind != JsonValue::Kind::String
        || (chosen.language() == QLocale::C && locale->string != QLatin1String("C")))
        fail(m_path, QStringLiteral("\"locale\" must name a locale such as \"en_US\""));
    QLocale::setDefault(chosen);
}

void RecordingsFile::writeSettings()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    if (!m_settingsDir->isValid())
        fail(m_path, QStringLiteral("no temporary folder for the settings"));
    const QString path = m_settingsDir->filePath(QStringLiteral("LoggerSuite.ini"));
    {
        QSettings ini(path, QSettings::IniFormat);
        const JsonValue* settings = m_document.member(QStringLiteral("settings"));
        if (settings) {
            const QString where = m_path + QStringLiteral(": settings");
            if (!settings->isObject())
                fail(where, QStringLiteral("must be an object"));
            static const QStringList hostKeys{
                QStringLiteral("ResOffset"),   QStringLiteral("TScale"),      QStringLiteral("DFormat"),
                QStringLiteral("RFIDPath"),    QStringLiteral("DefaultPrinter"), QStringLiteral("LeftMargin"),
                QStringLiteral("RightMargin"), QStringLiteral("TopMargin"),   QStringLiteral("BotMargin")};
            for (const auto& [key, value] : settings->object) {
                const QString at = where + QStringLiteral(", key \"%1\"").arg(key);
                if (hostKeys.contains(key)) {
                    ini.setValue(QStringLiteral("HostSettings/") + key, scalarFromJson(value, at).toString());
                } else if (key == QLatin1String("GasDecimals")) {
                    ini.setValue(QStringLiteral("FontSettings/GasDecimals"), scalarFromJson(value, at).toBool());
                } else if (key == QLatin1String("SystemTimeZone")) {
                    ini.setValue(QStringLiteral("TimeZoneService/SystemTimeZone"), scalarFromJson(value, at).toString());
                } else if (key == QLatin1String("TimeZones")) {
                    if (!value.isArray())
                        fail(at, QStringLiteral("a list of IANA zone ids expected"));
                    QStringList zones;
                    for (const JsonValue& zone : value.array)
                        zones << zone.string;
                    ini.setValue(QStringLiteral("TimeZoneService/TimeZones"), zones);
                } else {
                    fail(at, QStringLiteral("not a setting of the host suite"));
                }
            }
        }
        ini.sync();
        if (ini.status() != QSettings::NoError)
            fail(path, QStringLiteral("the settings could not be written"));
    }
    setSuiteSettingsFile(path);
}

void RecordingsFile::setModuleProperties()
{
    for (const char* key : {"UserSettings", "TimeZone", "NoteChangeAllowed"}) {
        const QString name = QString::fromLatin1(key);
        if (const JsonValue* value = m_document.member(name))
            put(m_path, name, *value, false);
    }
    if (const JsonValue* flags = m_document.member(QStringLiteral("ClassicFileFlag")))
        m_classicFileFlag = variantFromJson(*flags, VarType::Boolean, 1, m_path + QStringLiteral(": ClassicFileFlag"));
}

void RecordingsFile::commitDataSet(const JsonValue& dataset, int number)
{
    QString where = m_path + QStringLiteral(": dataset %1").arg(number);
    if (!dataset.isObject())
        fail(where, QStringLiteral("must be an object"));
    if (const JsonValue* desc = dataset.member(QStringLiteral("DataSetDesc")); desc && desc->kind == JsonValue::Kind::String)
        where += QStringLiteral(" (\"%1\")").arg(desc->string);
    for (const auto& [key, value] : dataset.object)
        put(where, key, value, true);

    std::vector<Variant> none;
    const InvokeResult r = invokeByName(m_record.get(), QStringLiteral("AddDataSet"), InvokeKind::Method, none);
    if (!r.ok())
        fail(where, QStringLiteral("AddDataSet failed with error %1: %2").arg(r.error.number).arg(r.error.description),
             r.error.number);
    ++m_committed;
}

void RecordingsFile::put(const QString& where, const QString& key, const JsonValue& value, bool datasetProperty)
{
    const QString at = where + QStringLiteral(", key \"%1\"").arg(key);
    const TypeInfo& type = m_record->GetTypeInfo();
    const DispId id = type.idOfName(key);
    const MemberInfo* member = id == DISPID_UNKNOWN ? nullptr : type.find(id, MemberKind::PropertyPut);
    if (!member)
        fail(at, QStringLiteral("not a property of RecordInfo that can be set"));
    if (datasetProperty && member->name == QLatin1String("UserSettings"))
        fail(at, QStringLiteral("UserSettings belongs at the top level, not in a dataset"));

    const VarType declared = member->params.at(0).type;
    Variant argument;
    if (declared != VarType::Variant) {
        argument = variantFromJson(value, declared, 0, at);
    } else {
        const auto shape = arrayFields().constFind(member->name.toLower());
        argument = shape == arrayFields().cend() ? variantFromJson(value, VarType::Variant, value.isArray() ? 1 : 0, at)
                                                 : variantFromJson(value, shape->element, shape->dimensions, at);
    }
    std::vector<Variant> args{argument};
    ErrorInfo error;
    if (failed(m_record->Invoke(id, InvokeKind::PropertyPut, args, nullptr, &error)))
        fail(at, QStringLiteral("error %1: %2").arg(error.number).arg(error.description), error.number);
}

} // namespace recinfo
