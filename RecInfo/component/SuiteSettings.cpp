// SPDX-License-Identifier: MIT
#include "SuiteSettings.h"

#include "ModuleState.h"

#include "automation/AtomicFile.h"
#include "automation/RuntimeError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSettings>

#include <mutex>

namespace vxRecInfo {

namespace {
std::mutex g_mutex;
QString g_path;

struct ApartmentSettingsFile {
    QString path;
};

bool isHexDigit(QChar c)
{
    return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// A value written as the INI reader of QSettings reads it back: backslash escapes, quotes
// around text with a separator or an outer blank (a comma would make it a list), a leading @
// doubled (it would mark a typed value), everything else in UTF-8.
QByteArray iniValue(const QString& value)
{
    QString text;
    bool quoted = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    bool hexEscaped = false; // a hex digit right after a \x escape would extend it
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u';' || u == u',' || u == u'=')
            quoted = true;
        if (u == u'\\' || u == u'"') {
            text += QLatin1Char('\\') + c;
        } else if (u == u'\n') {
            text += QStringLiteral("\\n");
        } else if (u == u'\r') {
            text += QStringLiteral("\\r");
        } else if (u == u'\t') {
            text += QStringLiteral("\\t");
        } else if (u < 0x20 || (hexEscaped && isHexDigit(c))) {
            text += QStringLiteral("\\x") + QString::number(u, 16);
            hexEscaped = true;
            continue;
        } else {
            text += c;
        }
        hexEscaped = false;
    }
    if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@'));
    if (quoted)
        text = QLatin1Char('"') + text + QLatin1Char('"');
    return text.toUtf8();
}

// The lines of a file, each with its own line end (the last may have none).
QList<QByteArray> linesOf(const QByteArray& content)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        lines << content.mid(start, end - start);
        start = end;
    }
    return lines;
}

QByteArray lineEnd(const QByteArray& line)
{
    if (line.endsWith("\r\n"))
        return "\r\n";
    return line.endsWith('\n') ? "\n" : "";
}

} // namespace

QString suiteSettingsFile()
{
    if (const QString& own = ModuleState::current().part<ApartmentSettingsFile>().path; !own.isEmpty())
        return own;
    {
        std::lock_guard lock(g_mutex);
        if (!g_path.isEmpty())
            return g_path;
    }
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orvale Systems"),
                     QStringLiteral("LoggerSuite"))
        .fileName();
}

void setSuiteSettingsFile(const QString& path)
{
    std::lock_guard lock(g_mutex);
    g_path = path;
}

void setApartmentSuiteSettingsFile(const QString& path)
{
    ModuleState::current().part<ApartmentSettingsFile>().path = path;
}

void storeSuiteSetting(const QString& section, const QString& key, const QString& value)
{
    const QString path = suiteSettingsFile();
    const auto failure = [&] {
        return RuntimeError(Err::PathFileAccessError, QStringLiteral("The setting %1/%2 could not be saved to %3")
                                                          .arg(section, key, QDir::toNativeSeparators(path)));
    };
    const auto savingFailed = [&](const RuntimeError& e) {
        return RuntimeError(e.number(), QStringLiteral("The setting %1/%2 could not be saved: %3")
                                            .arg(section, key, e.description()));
    };
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The suite's file is replaced whole, never written through a link to another file.
    AtomicFile file(path, QStringLiteral("the settings file"));
    try {
        file.open();
    } catch (const RuntimeError& e) {
        throw savingFailed(e);
    }
    const QFileInfo before(path);
    const bool existed = before.exists();
    const qint64 oldSize = before.size();
    const QDateTime oldTime = before.lastModified();
    QByteArray content;
    if (existed) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw failure();
        content = file.readAll();
    }
    QList<QByteArray> lines = linesOf(content);
    const QByteArray eol = content.contains("\r\n") ? "\r\n" : "\n";
    const QByteArray sectionName = section.toUtf8();
    const QByteArray keyName = key.toUtf8();
    const QByteArray setting = keyName + '=' + iniValue(value);

    qsizetype insertAt = -1; // after the last line of the section's first occurrence
    bool inSection = false;
    bool firstOccurrence = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            inSection = close > 0 && line.mid(1, close - 1).trimmed() == sectionName;
            firstOccurrence = inSection && insertAt < 0;
            if (firstOccurrence)
                insertAt = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == keyName) {
            const QByteArray& old = lines[i];
            const qsizetype indent = old.size() - old.trimmed().size() - lineEnd(old).size();
            lines[i] = old.left(std::max<qsizetype>(0, indent)) + setting + lineEnd(old);
            insertAt = -2; // done
            break;
        }
        if (firstOccurrence && !line.isEmpty())
            insertAt = i + 1;
    }
    if (insertAt != -2) {
        QList<QByteArray> added;
        if (insertAt < 0) {
            if (!lines.isEmpty())
                added << QByteArray(); // a blank line between the sections
            added << '[' + sectionName + ']';
            insertAt = lines.size();
        }
        added << setting;
        if (insertAt > 0 && lineEnd(lines[insertAt - 1]).isEmpty())
            lines[insertAt - 1] += eol;
        for (const QByteArray& line : added)
            lines.insert(insertAt++, line + eol);
    }

    try {
        file.write(lines.join());
        file.commit();
    } catch (const RuntimeError& e) {
        throw savingFailed(e);
    }
    // Readers of the file (QSettings among them) notice a change by its size and time: a value of
    // the same length written within the clock tick of the last change (whose time may have been
    // moved on already) would pass for an older file, so the time only ever moves forward.
    const QFileInfo after(path);
    if (existed && after.size() == oldSize && after.lastModified() <= oldTime) {
        QFile touched(path); // only an open file takes a time
        if (touched.open(QIODevice::Append))
            touched.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
    }
}

} // namespace vxRecInfo
