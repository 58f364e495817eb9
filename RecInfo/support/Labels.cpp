// SPDX-License-Identifier: MIT
#include "Labels.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"

#include <QDir>
#include <QFile>

#include <limits>

namespace vxRecInfo {

namespace {

const QString TableFolder = QStringLiteral(":/vxRecInfo/strings");
// Ids above it are only looked up in the hash (the table's run to about 12,000).
constexpr int MaxIndexedId = 1 << 16;

} // namespace

int languageOffset(int resourceLanguage)
{
    switch (resourceLanguage) {
    case 1033: return 0;
    case 1041: return 2000;
    case 2052: return 4000;
    case 2058: return 6000;
    case 3084: return 8000;
    case 2070: return 10000;
    default: return -1;
    }
}

StringTable::StringTable()
{
    const QStringList files = QDir(TableFolder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QFile file(TableFolder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const int resourceLanguage = name.section(QLatin1Char('-'), 0, 0).toInt();
        Language language{name, resourceLanguage, languageOffset(resourceLanguage), {}};
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            bool ok = false;
            const int id = line.left(tab).toInt(&ok);
            if (tab < 0 || !ok)
                continue;
            if (m_texts.contains(id))
                m_duplicates.append(id);
            else
                m_texts.insert(id, line.mid(tab + 1));
            language.ids.append(id);
        }
        m_languages.append(language);
    }
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it) {
        if (it.key() < 0 || it.key() > MaxIndexedId)
            continue;
        if (std::size_t(it.key()) >= m_byId.size())
            m_byId.resize(std::size_t(it.key()) + 1, nullptr);
        m_byId[std::size_t(it.key())] = &it.value();
    }
}

const StringTable& StringTable::instance()
{
    static const StringTable table;
    return table;
}

std::optional<QString> StringTable::find(std::int32_t id) const
{
    const QString* text = entry(id);
    return text ? std::optional<QString>(*text) : std::nullopt;
}

const QString* StringTable::entry(std::int32_t id) const
{
    if (id >= 0 && std::size_t(id) < m_byId.size())
        return m_byId[std::size_t(id)];
    const auto it = m_texts.constFind(id);
    return it == m_texts.cend() ? nullptr : &*it;
}

const QString& labelText(std::int32_t id)
{
    const std::int64_t sum = std::int64_t(settingResOffset()) + id;
    if (sum < std::numeric_limits<std::int32_t>::min() || sum > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::Overflow);
    const QString* text = StringTable::instance().entry(std::int32_t(sum));
    if (!text)
        throw RuntimeError(Err::ResourceNotFound, QStringLiteral("Resource with identifier '%1' not found").arg(sum));
    return *text;
}

const QString& Label(LabelId id)
{
    return labelText(static_cast<std::int32_t>(id));
}

} // namespace vxRecInfo
