// SPDX-License-Identifier: MIT
#pragma once
// Writes a rich-text box as an RTF document: font and colour tables, character formats,
// paragraph alignment and tab stops, one \par per CR LF, \line for a lone LF, \page for a
// form feed, other control characters (a lone CR too) as \'hh, non-ASCII text as \uN with a
// "?" fallback: the reader gets back every character. Only what differs from the box's
// defaults is written.
//
// A report need not go through a box: its text and format runs give the same document
// straight away (appendRunText), and many reports give the document mergeRtfDocuments joins
// from theirs (JoinedRtfWriter), without any RTF read back.

#include "RTBFormat.h"
#include "RichTextBox.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace vxRecInfo {

// A report's text and runs, as FinishRTBFormat puts them into a box whose default font is
// defaultFont at defaultSize, after which tabs are set on the whole text.
struct RunText {
    QStringView text;
    const RunLists& runs;
    const QString& defaultFont;
    float defaultSize;
    const QList<std::int32_t>& tabs;
};

class RtfWriter
{
public:
    static QString write(const RichTextBox& box);

    // Appends the document write() gives for the box that report describes. False, with
    // nothing appended, for runs the box would refuse or that are not in the order
    // AddRTBFormatInfo records them: the box's way then says what is wrong.
    static bool appendRunText(QString& out, const RunText& report);
};

// Reports joined into one document, each starting on a new page: byte for byte what
// mergeRtfDocuments makes of the documents the reports' boxes write, with defaultFont at
// defaultSize as the joined document's default.
class JoinedRtfWriter
{
public:
    JoinedRtfWriter(const QString& defaultFont, float defaultSize);
    ~JoinedRtfWriter();

    // False, with nothing added, where appendRunText refuses. Error 7 for more different
    // character formats than a box holds.
    bool add(const RunText& report);
    // Ends the document: its tables, then its body. The writer takes no more reports.
    void finish();
    const QByteArray& head() const;
    const QByteArray& body() const;
    // Bytes of body so far, and room for them, as reports come.
    qsizetype size() const;
    qsizetype capacity() const;
    void reserve(qsizetype size);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace vxRecInfo
