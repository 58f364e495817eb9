#pragma once
// Reads an RTF document into text, character formats and paragraph formats: the RTF the box
// writes, and the common subset other writers use (groups, font and colour tables, \b \i
// \strike \ul \f \fs \cf \plain, \pard \ql \qr \qc \tx, \par \line \tab \page, \uN with \ucN,
// \'hh in code page 1252). Unknown destinations are skipped.

#include "RichTextBox.h"

namespace vxRecInfo {

struct RtfDocument {
    QString text;                       // paragraphs end in CR LF
    std::vector<CharFormat> formats;    // one per position of text
    QList<ParagraphFormat> paragraphs;  // one per paragraph
};

class RtfReader
{
public:
    // Characters in the default font or size are stored as "default" (empty name, size 0).
    // Returns false with a reason when the text is no RTF or its groups do not balance.
    static bool read(const QString& rtf, const QString& defaultFont, float defaultSize, RtfDocument* document,
                     QString* error);
};

// Joins RTF documents into one, each starting on a new page (a form feed between them): the
// reports RTF_All returns, as one file a word processor opens. Error 380 for a document that
// is no RTF.
QString mergeRtfDocuments(const QStringList& documents, const QString& defaultFont, float defaultSize);

} // namespace vxRecInfo
