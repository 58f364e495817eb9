#pragma once
// A small JSON reader that keeps the order of object keys (recordings files are applied in
// file order) and reports errors by line and column, and a writer for listings.

#include <QString>

#include <utility>
#include <vector>

namespace recinfo {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    QString string;
    std::vector<JsonValue> array;
    std::vector<std::pair<QString, JsonValue>> object;

    bool isNull() const { return kind == Kind::Null; }
    bool isObject() const { return kind == Kind::Object; }
    bool isArray() const { return kind == Kind::Array; }
    // The member of an object with this exact key, or null.
    const JsonValue* member(const QString& key) const;
    // "number", "string", … for messages.
    QString kindName() const;
};

// Parses a whole document. On failure returns false and sets *error to
// "line L, column C: what was wrong".
bool parseJson(const QString& text, JsonValue* value, QString* error);

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
