// SPDX-License-Identifier: MIT
#pragma once
// The string table: every user-visible text of the component in six languages, embedded in the
// library. A label is fetched by id plus the user's language offset (HostSettings.ResOffset).

#include "LabelIds.h"

#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vxRecInfo {

// The text of label id in the user's language: the entry ResOffset + id, with ResOffset read
// from the apartment's HostSettings at every call (or kept by a batch, see HostValueScope).
// Error 326 when there is no such entry.
const QString& Label(LabelId id);
// The same for an id given as a number (hosts and tools). The text is the table's own, which
// lives as long as the process.
const QString& labelText(std::int32_t id);

// The embedded table, loaded once per process.
class StringTable
{
public:
    struct Language {
        QString file;         // "1041-ja-JP.txt"
        int resourceLanguage; // 1041
        int offset;           // 2000
        QList<int> ids;       // as stored, offset included
    };

    static const StringTable& instance();

    std::optional<QString> find(std::int32_t id) const;
    // The same without a copy; null when there is none. The table lives as long as the process.
    const QString* entry(std::int32_t id) const;
    const QList<Language>& languages() const { return m_languages; }
    // Ids that appear more than once across the table (should be none).
    const QList<int>& duplicateIds() const { return m_duplicates; }

private:
    StringTable();

    QHash<int, QString> m_texts;
    std::vector<const QString*> m_byId; // into m_texts, for the ids from 0 up; reports fetch hundreds each
    QList<Language> m_languages;
    QList<int> m_duplicates;
};

// The id offset of a resource language: 1033 → 0, 1041 → 2000, 2052 → 4000, 2058 → 6000,
// 3084 → 8000, 2070 → 10000; -1 for any other.
int languageOffset(int resourceLanguage);

} // namespace vxRecInfo
