// SPDX-License-Identifier: MIT
#include "RecordingsFile.h"

#include "JsonValues.h"
#include "PlainJson.h"

#include "automation/ClassRegistry.h"
#include "component/DataSetStore.h"
#include "component/Identity.h"
#include "component/SuiteSettings.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSettings>

#include <algorithm>
#include <cerrno>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

using namespace vxRecInfo;

namespace recinfo {

namespace {

// Size and time of the last change of an open file, to know it is the one that was read. Input
// read whole into memory cannot change.
std::pair<qint64, qint64> versionOf(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFile*>(&device);
    if (!file)
        return {device.size(), 0};
    struct stat status {};
    if (fstat(file->handle(), &status) != 0)
        return {-1, -1};
    return {qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

// Element type and dimensions of every array field, by lower-case name.
} // namespace

QString recordingsName(const QString& path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard input") : path;
}

RecordingsFile::RecordingsFile(const QString& path, Reading reading) : m_path(recordingsName(path)), m_fileName(path)
{
    open(path);
    if (m_file->peek(1).isEmpty()) // not the size: files such as those of /proc tell 0
        fail(m_path, path == QLatin1String("-")
                         ? QStringLiteral("the input is empty, which is no recordings file (a JSON object)")
                         : QStringLiteral("the file is empty, which is no recordings file (a JSON object)"));
    read(reading);
}

void RecordingsFile::read(Reading reading)
{
    static const std::vector<std::string_view> kept(KeptForNextDataSet.cbegin(), KeptForNextDataSet.cend());
    m_checked = true;
    if (reading == Reading::Quick && quickScan(kept)) {
        m_checked = false;
    } else if (!m_file->seek(0) || !parseJsonLeavingDataSets(*m_file, &m_document, &m_places, kept)) {
        // Refused: the whole-document reader says why.
        QString error;
        int number = 0;
        if (!m_file->seek(0) || !parseJson(m_file->readAll(), &m_document, &error, &number))
            fail(m_path, error.isEmpty() ? m_file->errorString() : error, number);
        const Json* datasets = member(m_document, "datasets");
        m_places.assign(datasets && datasets->is_array() ? datasets->size() : 0, DataSetPlace{});
    }
    m_version = versionOf(*m_file);
    if (!m_document.is_object())
        fail(m_path, QStringLiteral("the document must be a JSON object"));
    static const QStringList known{QStringLiteral("locale"),           QStringLiteral("settings"),
                                   QStringLiteral("UserSettings"),     QStringLiteral("TimeZone"),
                                   QStringLiteral("NoteChangeAllowed"), QStringLiteral("ClassicFileFlag"),
                                   QStringLiteral("datasets")};
    for (const auto& item : m_document.items())
        if (!known.contains(QString::fromStdString(item.key())))
            fail(m_path, QStringLiteral("unknown top-level key \"%1\"").arg(QString::fromStdString(item.key())));
}

bool RecordingsFile::quickScan(const std::vector<std::string_view>& watched)
{
    // Standard input cannot be read a second time, should the whole reading be needed.
    if (!m_bytes.isNull())
        return false;
    auto* file = static_cast<QFile*>(m_file.get());
    const qint64 size = file->size();
    uchar* mapped = size > 0 ? file->map(0, size) : nullptr;
    if (!mapped)
        return false;
    const bool scanned = scanDataSets(QByteArrayView(mapped, size), &m_document, &m_places, watched);
    file->unmap(mapped);
    return scanned;
}

RecordingsFile::RecordingsFile(const RecordingsFile& first, DataSetRange range)
    : m_path(first.m_path), m_fileName(first.m_fileName), m_range(range), m_settingsApplied(true), m_sibling(true),
      m_checked(first.m_checked), m_bytes(first.m_bytes), m_document(first.m_document), m_places(first.m_places),
      m_version(first.m_version)
{
    if (!m_bytes.isNull()) {
        auto buffer = std::make_unique<QBuffer>(&m_bytes);
        buffer->open(QIODevice::ReadOnly);
        m_file = std::move(buffer);
    } else {
        open(m_fileName);
    }
}

void RecordingsFile::open(const QString& path)
{
    const bool standardInput = path == QLatin1String("-");
    auto file = std::make_unique<QFile>(path);
    if (standardInput ? !file->open(STDIN_FILENO, QIODevice::ReadOnly) : !file->open(QIODevice::ReadOnly)) {
        // QFile keeps no errno; access() tells a missing file from a forbidden one again.
        const int cause = standardInput || ::access(QFile::encodeName(path).constData(), R_OK) == 0 ? 0 : errno;
        fail(m_path, file->errorString(), QFileInfo::exists(path) ? Err::PathFileAccessError : Err::FileNotFound, cause);
    }
    if (standardInput || file->isSequential()) {
        // A pipe is read once: what the datasets are read again from stays in memory.
        m_bytes = file->readAll();
        if (file->error() != QFileDevice::NoError)
            fail(m_path, file->errorString());
        auto buffer = std::make_unique<QBuffer>(&m_bytes);
        buffer->open(QIODevice::ReadOnly);
        m_file = std::move(buffer);
    } else {
        m_file = std::move(file);
    }
}

void RecordingsFile::applySettings(SettingsScope scope)
{
    applyLocale();
    writeSettings(scope);
    m_settingsApplied = true;
}

void RecordingsFile::load(IProgressObserver* progress, SettingsScope scope)
{
    if (!m_settingsApplied)
        applySettings(scope);
    if (m_checked || m_sibling) {
        commitAll(progress);
        return;
    }
    // Read quickly, each dataset checked as it is committed. Whatever goes wrong, the file is read
    // the whole way and loaded again, so that the first problem of the file is the one told, as
    // if it had been read whole from the start (progress starts over then).
    try {
        commitAll(progress);
        return;
    } catch (const NeedsWholeReading&) {
    } catch (const LoadError&) {
    }
    m_record = {};
    m_committed = 0;
    read(Reading::Whole);
    commitAll(progress);
}

void RecordingsFile::commitAll(IProgressObserver* progress)
{
    try {
        m_record = ClassRegistry::instance().createObject(Identity::ProgId);
    } catch (const RuntimeError& e) {
        fail(m_path, QStringLiteral("RecordInfo could not be created: error %1: %2").arg(e.number()).arg(e.description()),
             e.number());
    }
    setModuleProperties();
    const Json* datasets = member(m_document, "datasets");
    if (!datasets)
        return;
    if (!datasets->is_array())
        fail(m_path, QStringLiteral("\"datasets\" must be a list"));
    // The datasets are read again where the first reading found them: the file must be the same.
    const bool inFile = std::any_of(m_places.cbegin(), m_places.cend(), [](const DataSetPlace& p) { return p.length > 0; });
    if (inFile && versionOf(*m_file) != m_version)
        fail(m_path, QStringLiteral("the file changed while it was being read"));
    std::size_t kept = 0; // elements that are no objects stay in the document
    const std::size_t first = std::min(m_range.first, m_places.size());
    const std::size_t end = first + std::min(m_range.count, m_places.size() - first);
    for (std::size_t i = 0; i < first; ++i)
        kept += m_places[i].length == 0 ? 1 : 0;
    if (first > 0)
        commitLead(first - 1);
    const int total = int(end - first);
    for (std::size_t i = first; i < end; ++i) {
        const DataSetPlace& place = m_places[i];
        commitDataSet(place.length == 0 ? datasets->at(kept++) : readDataSet(i), i + 1);
        if (progress)
            progress->datasetDone(m_committed, total);
    }
}

const Json& RecordingsFile::readDataSet(std::size_t i)
{
    const DataSetPlace& place = m_places[i];
    m_dataSetBytes.resize(qsizetype(place.length));
    if (!m_file->seek(place.offset) || m_file->read(m_dataSetBytes.data(), place.length) != place.length)
        fail(m_path, QStringLiteral("the file changed while it was being read"));
    // A dataset stands two levels deep: in the document's object, in its list. Most are plain.
    if (!readPlainJson(m_dataSetBytes, &m_dataSet, 2) && !parseJsonQuietly(m_dataSetBytes, &m_dataSet, 2)) {
        if (!m_checked)
            throw NeedsWholeReading{};
        fail(m_path, QStringLiteral("the file changed while it was being read"));
    }
    return m_dataSet;
}

bool RecordingsFile::datasetsInFile() const
{
    return std::all_of(m_places.cbegin(), m_places.cend(), [](const DataSetPlace& p) { return p.length > 0; });
}

void RecordingsFile::commitLead(std::size_t lead)
{
    if (!datasetsInFile())
        fail(m_path, QStringLiteral("a slice of datasets needs every dataset to be an object"));
    // The kept values, each from the last dataset before the lead that sets it.
    std::map<std::size_t, std::uint32_t> sources;
    for (std::size_t b = 0; b < KeptForNextDataSet.size(); ++b) {
        const std::uint32_t bit = std::uint32_t(1) << b;
        for (std::size_t i = lead; i-- > 0;)
            if (m_places[i].watched & bit) {
                sources[i] |= bit;
                break;
            }
    }
    for (const auto& [i, bits] : sources) {
        const QString where = m_path + QStringLiteral(": dataset %1").arg(i + 1);
        for (const auto& item : readDataSet(i).items())
            for (std::size_t b = 0; b < KeptForNextDataSet.size(); ++b)
                if ((bits & (std::uint32_t(1) << b))
                    && QString::fromStdString(item.key()).compare(QLatin1String(KeptForNextDataSet[b]), Qt::CaseInsensitive) == 0)
                    put(where, item.key(), setter(item.key()), item.value(), true);
    }
    commitDataSet(readDataSet(lead), lead + 1);
    --m_committed;
    m_lead = true;
}

void RecordingsFile::applyLocale()
{
    const Json* locale = member(m_document, "locale");
    if (!locale)
        return;
    const QString name = locale->is_string() ? textOf(*locale) : QString();
    const QLocale chosen(name);
    if (!locale->is_string() || (chosen.language() == QLocale::C && name != QLatin1String("C")))
        fail(m_path, QStringLiteral("\"locale\" must name a locale such as \"en_US\""));
    QLocale::setDefault(chosen);
}

void RecordingsFile::writeSettings(SettingsScope scope)
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    if (!m_settingsDir->isValid())
        fail(m_path, QStringLiteral("no temporary folder for the settings"));
    const QString path = m_settingsDir->filePath(QStringLiteral("LoggerSuite.ini"));
    {
        QSettings ini(path, QSettings::IniFormat);
        const Json* settings = member(m_document, "settings");
        if (settings) {
            const QString where = m_path + QStringLiteral(": settings");
            if (!settings->is_object())
                fail(where, QStringLiteral("must be an object"));
            // Each key with its place in the settings file and the type the host objects read.
            static const QHash<QString, std::pair<QString, VarType>> keys{
                {QStringLiteral("ResOffset"), {QStringLiteral("HostSettings/ResOffset"), VarType::Long}},
                {QStringLiteral("TScale"), {QStringLiteral("HostSettings/TScale"), VarType::Integer}},
                {QStringLiteral("DFormat"), {QStringLiteral("HostSettings/DFormat"), VarType::String}},
                {QStringLiteral("RFIDPath"), {QStringLiteral("HostSettings/RFIDPath"), VarType::String}},
                {QStringLiteral("DefaultPrinter"), {QStringLiteral("HostSettings/DefaultPrinter"), VarType::String}},
                {QStringLiteral("LeftMargin"), {QStringLiteral("HostSettings/LeftMargin"), VarType::Single}},
                {QStringLiteral("RightMargin"), {QStringLiteral("HostSettings/RightMargin"), VarType::Single}},
                {QStringLiteral("TopMargin"), {QStringLiteral("HostSettings/TopMargin"), VarType::Single}},
                {QStringLiteral("BotMargin"), {QStringLiteral("HostSettings/BotMargin"), VarType::Single}},
                {QStringLiteral("PdfArchive"), {QStringLiteral("HostSettings/PdfArchive"), VarType::Boolean}},
                {QStringLiteral("PdfSigningKey"), {QStringLiteral("HostSettings/PdfSigningKey"), VarType::String}},
                {QStringLiteral("PdfPassphraseFile"), {QStringLiteral("HostSettings/PdfPassphraseFile"), VarType::String}},
                {QStringLiteral("GasDecimals"), {QStringLiteral("FontSettings/GasDecimals"), VarType::Boolean}},
                {QStringLiteral("SystemTimeZone"), {QStringLiteral("TimeZoneService/SystemTimeZone"), VarType::String}},
            };
            for (const auto& item : settings->items()) {
                const QString key = QString::fromStdString(item.key());
                const Json& value = item.value();
                const QString at = where + QStringLiteral(", key \"%1\"").arg(key);
                const auto known = keys.constFind(key);
                if (key == QLatin1String("TimeZones")) {
                    if (!value.is_array())
                        fail(at, QStringLiteral("a list of IANA zone ids expected, not %1").arg(kindName(value)));
                    QStringList zones;
                    for (const Json& zone : value) {
                        requireZoneId(zone, at);
                        zones << textOf(zone);
                    }
                    ini.setValue(QStringLiteral("TimeZoneService/TimeZones"), zones);
                } else if (known == keys.cend()) {
                    fail(at, QStringLiteral("not a setting of the host suite"));
                } else {
                    const QVariant setting = settingFromJson(value, known->second, at);
                    if (key == QLatin1String("SystemTimeZone"))
                        requireZoneId(value, at);
                    ini.setValue(known->first, setting);
                }
            }
        }
        ini.sync();
        if (ini.status() != QSettings::NoError)
            fail(path, QStringLiteral("the settings could not be written"));
    }
    if (scope == SettingsScope::Apartment)
        setApartmentSuiteSettingsFile(path);
    else
        setSuiteSettingsFile(path);
}

void RecordingsFile::setModuleProperties()
{
    for (const char* key : {"UserSettings", "TimeZone", "NoteChangeAllowed"})
        if (const Json* value = member(m_document, key)) {
            const std::string name(key);
            put(m_path, name, setter(name), *value, false);
        }
    if (const Json* flags = member(m_document, "ClassicFileFlag"))
        m_classicFileFlag = variantFromJson(*flags, VarType::Boolean, 1, m_path + QStringLiteral(": ClassicFileFlag"));
}

void RecordingsFile::commitDataSet(const Json& dataset, std::size_t number)
{
    QString where = m_path + QStringLiteral(": dataset %1").arg(number);
    if (!dataset.is_object())
        fail(where, QStringLiteral("must be an object"));
    if (const Json* desc = member(dataset, "DataSetDesc"); desc && desc->is_string())
        where += QStringLiteral(" (\"%1\")").arg(textOf(*desc));
    // Names match properties case-insensitively, so two spellings of one name are one key twice.
    m_given.clear();
    for (const auto& item : dataset.items()) {
        const std::string& key = item.key();
        const Setter& property = setter(key);
        if (property.id != DISPID_UNKNOWN) {
            for (const auto& [id, earlier] : m_given)
                if (id == property.id)
                    fail(Place(where, key), QStringLiteral("sets %1 a second time").arg(QString::fromStdString(*earlier)));
            m_given.emplace_back(property.id, &key);
        }
        put(where, key, property, item.value(), true);
    }

    std::vector<Variant> none;
    Variant result;
    ErrorInfo error;
    const DispId addDataSet = setter("AddDataSet").id;
    if (failed(m_record->Invoke(addDataSet, InvokeKind::Method, none, &result, &error)))
        fail(where, QStringLiteral("AddDataSet failed with error %1: %2").arg(error.number).arg(error.description),
             error.number);
    ++m_committed;
}

const RecordingsFile::Setter& RecordingsFile::setter(const std::string& key)
{
    auto [it, added] = m_setters.try_emplace(key);
    if (!added)
        return it->second;
    Setter& s = it->second;
    const TypeInfo& type = m_record->GetTypeInfo();
    s.id = type.idOfName(QString::fromStdString(key));
    s.member = s.id == DISPID_UNKNOWN ? nullptr : type.find(s.id, MemberKind::PropertyPut);
    if (!s.member)
        return s;
    s.element = s.member->params.at(0).type;
    s.dimensions = 0;
    if (s.element == VarType::Variant) {
        const auto shape = arrayFields().constFind(s.member->name.toLower());
        s.dimensions = shape == arrayFields().cend() ? -1 : shape->dimensions;
        if (shape != arrayFields().cend())
            s.element = shape->element;
    }
    return s;
}

void RecordingsFile::put(const QString& where, const std::string& key, const Setter& setter, const Json& value,
                         bool datasetProperty)
{
    const Place at(where, key);
    if (!setter.member)
        fail(at, QStringLiteral("not a property of RecordInfo that can be set"));
    if (datasetProperty && setter.member->name == QLatin1String("UserSettings"))
        fail(at, QStringLiteral("UserSettings belongs at the top level, not in a dataset"));

    const int dimensions = setter.dimensions >= 0 ? setter.dimensions : value.is_array() ? 1 : 0;
    m_arguments.clear();
    m_arguments.push_back(variantFromJson(value, setter.element, dimensions, at));
    ErrorInfo error;
    if (failed(m_record->Invoke(setter.id, InvokeKind::PropertyPut, m_arguments, nullptr, &error)))
        fail(at, QStringLiteral("error %1: %2").arg(error.number).arg(error.description), error.number);
}

} // namespace recinfo
