// SPDX-License-Identifier: MIT
#pragma once
// Reading recordings files with nlohmann's JSON reader, which keeps the order of object keys
// (recordings files are applied in file order), and a writer for listings.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QTextStream>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string_view>
#include <vector>

namespace recinfo {

using Json = nlohmann::ordered_json;

// How deep lists and objects may nest. Reading, copying and writing a value recurse once per
// level, so this bounds the stack they take.
inline constexpr int MaxJsonDepth = 1000;

// Parses a whole UTF-8 document. Besides bad syntax it refuses bytes that are not UTF-8, lone
// surrogate escapes, a key given twice in one object (a file means one thing or is refused) and
// nesting deeper than MaxJsonDepth. On failure returns false and sets *error to "line L, column
// C: what was wrong" (columns count characters) and *number to the run-time error number of
// the refusal (28, out of stack space, for the nesting; 0 for the rest).
bool parseJson(const QByteArray& bytes, Json* value, QString* error, int* number = nullptr);

// Where an element of a recordings document's top-level "datasets" list lies in its file: the
// byte offset and length of an object, or length 0 for an element that is no object (it stays in
// the document's "datasets", which holds those elements alone, in order).
struct DataSetPlace {
    qint64 offset = 0;
    qint64 length = 0;
    std::uint32_t watched = 0; // bit i: the object has watched key i among its own
};

// Reads a document from a device a buffer at a time, as parseJson would take it, except that the
// objects of its top-level "datasets" list stay in the file: *places lists where every element
// lies. Returns false on a document parseJson refuses (parseJson then says why) or a device that
// fails.
// watched: up to 32 keys, matched without regard to ASCII case, that each place notes.
bool parseJsonLeavingDataSets(QIODevice& device, Json* value, std::vector<DataSetPlace>* places,
                              const std::vector<std::string_view>& watched = {});

// A quick look at a recordings document for loading it in slices on several threads: where each
// element of its top-level "datasets" list lies and which watched keys each names among its
// own, with the values inside the datasets skipped, not read; *value is the rest of the document
// (with an empty "datasets" list), read with parseJson's checks. False at any doubt (a dataset
// key with escapes or other than ASCII letters, an element that is no object, nesting past
// MaxJsonDepth, anything parseJson would say more about): the document is then read the usual
// way. Every dataset must still pass parseJsonQuietly at its depth (2).
bool scanDataSets(QByteArrayView bytes, Json* value, std::vector<DataSetPlace>* places,
                  const std::vector<std::string_view>& watched);

// Parses a whole document (the bytes at one of those places, say) without saying why it refuses
// one: false wherever parseJson would refuse the value standing depth levels deep in its own
// document (a key given twice, nesting that reaches MaxJsonDepth there, bad syntax).
bool parseJsonQuietly(const QByteArray& bytes, Json* value, int depth = 0);

// The member of an object with this exact key, or null (also when value is no object).
const Json* member(const Json& value, const char* key);
// "a number", "a list", "an object", … for messages.
QString kindName(const Json& value);
inline QString textOf(const Json& string) { return QString::fromStdString(string.get_ref<const std::string&>()); }

// Writes JSON with two-space indentation; keys in the order given.
class JsonWriter
{
public:
    void beginObject();
    void endObject();
    // An inline array keeps its elements on one line: for short lists of scalars.
    void beginArray(bool inlineArray = false);
    void endArray();
    void key(const QString& name);
    void value(const QString& text);
    void value(bool flag);
    void valueNull();
    // A number written as given (already JSON syntax).
    void rawNumber(const QString& text);

    const QString& text() const { return m_text; }
    // Hands what is written so far to out and goes on from there: a long listing streams.
    void moveTo(QTextStream& out);

private:
    void beforeValue();
    void newline();

    QString m_text;
    std::vector<bool> m_first;  // per open container: no element written yet
    std::vector<bool> m_inline; // per open container: elements on one line
    bool m_afterKey = false;
};

QString jsonQuoted(const QString& text);

} // namespace recinfo
