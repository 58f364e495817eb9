// SPDX-License-Identifier: MIT
#include "PlainJson.h"

#include "CaseTable.h"

#include <QDir>
#include <QFile>

#include <random>

#include <gtest/gtest.h>

using recinfo::Json;
using namespace vxRecInfo::testing;

namespace {

// The same tree with the same kinds of numbers: nlohmann's == takes 1 and 1.0 for equal.
bool identical(const Json& a, const Json& b)
{
    if (a.type() != b.type())
        return false;
    if (a.is_object()) {
        if (a.size() != b.size())
            return false;
        for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
            if (i.key() != j.key() || !identical(*i, *j))
                return false;
        return true;
    }
    if (a.is_array())
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), identical);
    if (a.is_number_float()) // -0.0 and 0.0 are two values here
        return std::signbit(a.get<double>()) == std::signbit(b.get<double>()) && a == b;
    return a == b;
}

// Whether the plain reader read text as nlohmann's reader does, or declined it.
::testing::AssertionResult readsAsNlohmann(const QByteArray& text, bool* plain = nullptr)
{
    Json fast;
    Json quiet;
    const bool read = recinfo::readPlainJson(text, &fast, 2);
    if (plain)
        *plain = read;
    if (!read)
        return ::testing::AssertionSuccess();
    if (!recinfo::parseJsonQuietly(text, &quiet, 2))
        return ::testing::AssertionFailure() << "read plainly what the reader refuses: " << text.left(200).toStdString();
    if (!identical(fast, quiet))
        return ::testing::AssertionFailure() << "read differently: " << fast.dump().substr(0, 200) << " against "
                                             << quiet.dump().substr(0, 200);
    return ::testing::AssertionSuccess();
}

// Every dataset object of the bundled and test recordings files, as the files hold them.
QList<QByteArray> datasetTexts()
{
    QList<QByteArray> texts;
    for (const QString& folder : {QStringLiteral(VX_SAMPLES_DIR), QStringLiteral(VX_TEST_DATA_DIR "/recordings")}) {
        for (const QString& name : QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
            QFile file(folder + QLatin1Char('/') + name);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            Json document;
            QString error;
            if (!recinfo::parseJson(file.readAll(), &document, &error))
                continue;
            const Json* datasets = recinfo::member(document, "datasets");
            if (datasets && datasets->is_array())
                for (const Json& d : *datasets)
                    if (d.is_object()) {
                        texts.append(QByteArray::fromStdString(d.dump()));
                        texts.append(QByteArray::fromStdString(d.dump(1, '\t')));
                    }
        }
    }
    return texts;
}

} // namespace

TEST(PlainJson, ReadsAsNlohmannOrDeclines)
{
    for (const CaseRow& c : caseTable("plain-json.tsv", 2)) {
        const QByteArray text = c.columns.size() > 2 && c[2] == QLatin1String("bytes") ? c[0].toLatin1() : c[0].toUtf8();
        bool plain = false;
        EXPECT_TRUE(readsAsNlohmann(text, &plain)) << c.where;
        EXPECT_EQ(plain, c.integer(1) == 1) << c.where;
    }
    // Nesting: a dataset's value may open containers until the document's depth reaches the limit.
    const auto nested = [](int levels) { return "{\"a\": " + QByteArray(levels, '[') + QByteArray(levels, ']') + "}"; };
    bool plain = false;
    EXPECT_TRUE(readsAsNlohmann(nested(recinfo::MaxJsonDepth - 3), &plain));
    EXPECT_TRUE(plain);
    EXPECT_TRUE(readsAsNlohmann(nested(recinfo::MaxJsonDepth - 2), &plain));
    EXPECT_FALSE(plain);
}

// Every dataset of the tree is read plainly; every one of many damaged copies is read as
// nlohmann's reader reads it, or declined.
TEST(PlainJson, DatasetsAndTheirDamagedCopies)
{
    const QList<QByteArray> texts = datasetTexts();
    ASSERT_GT(texts.size(), 20);
    for (const QByteArray& text : texts) {
        bool plain = false;
        EXPECT_TRUE(readsAsNlohmann(text, &plain));
        EXPECT_TRUE(plain || text.contains('\\')) << text.left(200).toStdString();
    }
    std::mt19937 random(26);
    const QByteArray pieces[] = {"\"", ",", ":", "{", "}", "[", "]", "-", "0", "1", ".", "e", "+", " ", "\\",
                                 "\xC3", "\xA9", "\x01", "t", "n", "1e999", "\"a\":1,"};
    for (int n = 0; n < 20000; ++n) {
        QByteArray text = texts[qsizetype(random() % std::uint32_t(texts.size()))];
        for (int edits = 1 + int(random() % 3); edits > 0 && !text.isEmpty(); --edits) {
            const qsizetype at = qsizetype(random() % std::uint32_t(text.size()));
            switch (random() % 3) {
            case 0: text.remove(at, 1 + qsizetype(random() % 3)); break;
            case 1: text.insert(at, pieces[random() % std::size(pieces)]); break;
            default: text[at] = pieces[random() % std::size(pieces)][0];
            }
        }
        ASSERT_TRUE(readsAsNlohmann(text)) << "damaged copy " << n;
    }
}
