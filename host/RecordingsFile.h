#pragma once
// Loads a recordings file (docs/recordings-file.md) into a RecordInfo the way a scripted host
// would: every value set through the dispatch layer by property name, AddDataSet after each
// dataset.

#include "Json.h"

#include "automation/Dispatch.h"

#include <QTemporaryDir>

#include <memory>

namespace recinfo {

// Bad content of a recordings file, or a failing call while applying it. The message names the
// file, the dataset and the key; errorNumber is the run-time error number when the component
// raised one.
struct LoadError {
    QString message;
    int errorNumber = 0;
};

class RecordingsFile
{
public:
    // Reads and parses the file; LoadError when it cannot be read or parsed (see parseJson).
    explicit RecordingsFile(const QString& path);

    // Applies locale and settings, creates the RecordInfo, sets its module properties and
    // commits every dataset. LoadError at the first problem; what was committed stays.
    void load();

    // The RecordInfo, once load() has created it (null before).
    vxRecInfo::IDispatch* record() const { return m_record.get(); }
    int committed() const { return m_committed; }
    // The file's ClassicFileFlag list as an array of Boolean (Empty when the file has none).
    const vxRecInfo::Variant& classicFileFlag() const { return m_classicFileFlag; }

private:
    void applyLocale();
    void writeSettings();
    void setModuleProperties();
    void commitDataSet(const Json& dataset, std::size_t number);
    void put(const QString& where, const QString& key, const Json& value, bool datasetProperty);

    QString m_path;
    Json m_document;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    vxRecInfo::ComPtr<vxRecInfo::IDispatch> m_record;
    vxRecInfo::Variant m_classicFileFlag;
    int m_committed = 0;
};

} // namespace recinfo
