// SPDX-License-Identifier: MIT
#pragma once
// A recordings file's JSON values as the automation values and settings they stand for; a value
// that does not fit fails with a message saying where it sits in the file.

#include "Json.h"
#include "RecordingsFile.h"

#include "automation/Variant.h"

#include <QHash>
#include <QVariant>

namespace recinfo {

// Where a value sits in the file, for messages: put together only when one is needed.
class Place
{
public:
    Place(const QString& text) : m_text(text) {}
    Place(const QString& where, const std::string& key) : m_text(where), m_key(&key) {}

    QString text() const
    {
        return m_key ? m_text + QStringLiteral(", key \"%1\"").arg(QString::fromStdString(*m_key)) : m_text;
    }

private:
    const QString& m_text;
    const std::string* m_key = nullptr;
};

[[noreturn]] void fail(const Place& where, const QString& what, int number = 0, int systemError = 0);

struct FieldShape {
    vxRecInfo::VarType element;
    int dimensions;
};
// The dataset properties that hold arrays, with their element type and dimensions.
const QHash<QString, FieldShape>& arrayFields();

// value as a Variant of type (an array of it with dimensions > 0).
vxRecInfo::Variant variantFromJson(const Json& value, vxRecInfo::VarType type, int dimensions, const Place& where);
void requireZoneId(const Json& id, const QString& where);
// A settings value as the host objects read it back; the JSON type must fit the setting's.
QVariant settingFromJson(const Json& value, vxRecInfo::VarType type, const QString& where);

} // namespace recinfo
