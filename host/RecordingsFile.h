// SPDX-License-Identifier: MIT
#pragma once
// Loads a recordings file (docs/recordings-file.md) into a RecordInfo the way a scripted host
// would: every value set through the dispatch layer by property name, AddDataSet after each
// dataset.

#include "Json.h"

#include "automation/Dispatch.h"
#include "component/ProgressObserver.h"

#include <QFile>
#include <QTemporaryDir>

#include <limits>
#include <memory>
#include <unordered_map>

namespace recinfo {

// The path "-" as messages name it.
QString recordingsName(const QString& path);

// Bad content of a recordings file, or a failing call while applying it. The message names the
// file, the dataset and the key; errorNumber is the run-time error number when the component
// raised one; systemError the errno of a file that could not be opened (a missing file and a
// forbidden one are different errors to a Python script).
struct LoadError {
    QString message;
    int errorNumber = 0;
    int systemError = 0;
};

// Where a file's settings apply: to every thread (the sample host), or to the calling thread's
// apartment only (a script thread with a file of its own). Its locale is the process's either way.
enum class SettingsScope { Process, Apartment };

// How the first reading goes: the whole document checked, or (for loading in slices) a quick
// look that leaves checking each dataset to its commit.
enum class Reading { Whole, Quick };

// A dataset of a quickly read file that does not pass the whole reading's checks: read the file
// the whole way, which says what is wrong where.
struct NeedsWholeReading {
};

// Datasets first to first + count - 1 (from 0) of a file.
struct DataSetRange {
    std::size_t first = 0;
    std::size_t count = std::numeric_limits<std::size_t>::max();
};

class RecordingsFile
{
public:
    // Reads and parses the file; LoadError when it cannot be read or parsed (see parseJson), with
    // error 53 when it does not exist. The datasets themselves stay in the file until load()
    // commits them one by one, so a file of many datasets is never held whole. The path "-" is
    // standard input; it, and any other file that cannot seek (a pipe), is read whole first.
    explicit RecordingsFile(const QString& path, Reading reading = Reading::Whole);
    // Another reader of a file already read, for another thread: the same document, a handle of
    // its own on the file, and only the datasets of range to commit. The locale and settings are
    // left to the first reader (applySettings), which must outlive this one.
    RecordingsFile(const RecordingsFile& first, DataSetRange range);

    // Applies locale and settings; load() does it first unless this is another reader.
    void applySettings(SettingsScope scope = SettingsScope::Process);
    // Applies locale and settings, creates the RecordInfo, sets its module properties and
    // commits every dataset, telling progress (if any) of each. LoadError at the first problem;
    // what was committed stays. A file read quickly is read the whole way at any problem and
    // loaded again, so the problem told is the one a whole first reading would have told.
    void load(vxRecInfo::IProgressObserver* progress = nullptr, SettingsScope scope = SettingsScope::Process);

    // The RecordInfo, once load() has created it (null before).
    vxRecInfo::IDispatch* record() const { return m_record.get(); }
    int committed() const { return m_committed; }
    // Datasets the file holds, committed or not.
    std::size_t size() const { return m_places.size(); }
    // Whether every dataset is an object, read from the file as it is committed.
    bool datasetsInFile() const;
    // Whether the first reading checked the datasets (else each commit does, and raises
    // NeedsWholeReading where one fails).
    bool checked() const { return m_checked; }
    // Whether the store's first dataset is the one before the range, committed ahead of it so
    // that the range starts with the pending values the datasets before it leave.
    bool hasLead() const { return m_lead; }
    // The file's ClassicFileFlag list as an array of Boolean (Empty when the file has none).
    const vxRecInfo::Variant& classicFileFlag() const { return m_classicFileFlag; }

private:
    // A property as the file spells it, looked up once per spelling.
    struct Setter {
        vxRecInfo::DispId id = vxRecInfo::DISPID_UNKNOWN;
        const vxRecInfo::MemberInfo* member = nullptr; // its Let; null when it has none
        vxRecInfo::VarType element = vxRecInfo::VarType::Variant; // of the values the file gives
        int dimensions = -1; // -1: as the value comes (a list is one-dimensional)
    };

    void open(const QString& path);
    void read(Reading reading);
    void commitAll(vxRecInfo::IProgressObserver* progress);
    bool quickScan(const std::vector<std::string_view>& watched);
    void applyLocale();
    void writeSettings(SettingsScope scope);
    void setModuleProperties();
    void commitDataSet(const Json& dataset, std::size_t number);
    const Json& readDataSet(std::size_t i);
    void commitLead(std::size_t lead);
    const Setter& setter(const std::string& key);
    void put(const QString& where, const std::string& key, const Setter& setter, const Json& value,
             bool datasetProperty);

    QString m_path;
    QString m_fileName; // as given
    DataSetRange m_range;
    bool m_settingsApplied = false;
    bool m_sibling = false; // made from another reader, for a slice
    bool m_lead = false;
    bool m_checked = true;
    QByteArray m_bytes;                // all of an input that cannot seek
    std::unique_ptr<QIODevice> m_file; // open from the start: the datasets are read as they are committed
    Json m_document;               // without the objects of "datasets"
    std::vector<DataSetPlace> m_places;
    std::pair<qint64, qint64> m_version; // of the file as it was read
    QByteArray m_dataSetBytes;
    Json m_dataSet;
    std::unordered_map<std::string, Setter> m_setters;
    std::vector<std::pair<vxRecInfo::DispId, const std::string*>> m_given; // by the dataset being committed
    std::vector<vxRecInfo::Variant> m_arguments;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    vxRecInfo::ComPtr<vxRecInfo::IDispatch> m_record;
    vxRecInfo::Variant m_classicFileFlag;
    int m_committed = 0;
};

} // namespace recinfo
