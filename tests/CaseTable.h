// SPDX-License-Identifier: MIT
#pragma once
// Tables of cases kept as data, in tests/data/cases/: one case per line, columns separated by
// tabs, lines that begin with '#' and empty lines left out. Inside a column the escapes \t, \n,
// \r, \0, \uXXXX and a doubled backslash stand for the character they name, so that any text
// can be a case; any other backslash is itself.

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vxRecInfo::testing {

struct CaseRow {
    QStringList columns;
    std::string where; // file:line, for messages

    const QString& operator[](qsizetype i) const { return columns.at(i); }
    double number(qsizetype i) const { return columns.at(i).toDouble(); } // also "nan", "inf", "-0"
    int integer(qsizetype i) const { return columns.at(i).toInt(nullptr, 0); }
    std::string text(qsizetype i) const { return columns.at(i).toStdString(); }
};

inline QString unescapedColumn(QStringView column)
{
    QString out;
    for (qsizetype i = 0; i < column.size(); ++i) {
        if (column[i] != u'\\' || i + 1 == column.size()) {
            out += column[i];
            continue;
        }
        switch (const QChar c = column[++i]; c.unicode()) {
        case u't': out += u'\t'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u'0': out += QChar(u'\0'); break;
        case u'\\': out += u'\\'; break;
        case u'u': out += QChar(char16_t(column.mid(i + 1, 4).toUShort(nullptr, 16))), i += 4; break;
        default: out += u'\\', out += c; break; // not an escape: the backslash stays
        }
    }
    return out;
}

// The rows of tests/data/cases/<name>, each with at least `columns` columns (a test fails, and
// the table is empty, when the file is missing or a row is short).
inline std::vector<CaseRow> caseTable(const char* name, qsizetype columns)
{
    const QString path = QStringLiteral(VX_TEST_DATA_DIR "/cases/") + QString::fromLatin1(name);
    QFile file(path);
    std::vector<CaseRow> rows;
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no case table " << path.toStdString();
        return rows;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (lines[n].isEmpty() || lines[n].startsWith(u'#'))
            continue;
        CaseRow row{{}, std::string(name) + ":" + std::to_string(n + 1)};
        for (const QStringView column : QStringView(lines[n]).split(u'\t'))
            row.columns << unescapedColumn(column);
        if (row.columns.size() < columns) {
            ADD_FAILURE() << row.where << ": " << row.columns.size() << " columns, not " << columns;
            return {};
        }
        rows.push_back(std::move(row));
    }
    EXPECT_FALSE(rows.empty()) << "no cases in " << path.toStdString();
    return rows;
}

} // namespace vxRecInfo::testing
