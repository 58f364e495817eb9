// SPDX-License-Identifier: MIT
#pragma once
// Reads an RTF document into text, character formats and paragraph formats: the RTF the box
// writes, and the common subset other writers use (groups, font and colour tables, \b \i
// \strike \ul \f \fs \cf \plain, \pard \ql \qr \qc \tx, \par \line \tab \page, \uN with \ucN,
// \'hh in code page 1252, \binN). Unknown destinations are skipped. Groups nest at most 256
// deep; tables declare at most as many fonts and colours as the box has formats.

#include "RichTextBox.h"

namespace vxRecInfo {

struct RtfDocument {
    QString text;                       // \par is CR LF; \line a lone LF
    std::vector<CharFormat> formats;    // one per position of text
    QList<ParagraphFormat> paragraphs;  // one per paragraph of the box (after CR LF, lone CR, lone LF)
};

class RtfReader
{
public:
    // Characters in the default font or size are stored as "default" (empty name, size 0).
    // Returns false with a reason when the text is no RTF, its groups do not balance or nest too
    // deep, or it holds what the box cannot (numbers, colours, names out of range).
    static bool read(const QString& rtf, const QString& defaultFont, float defaultSize, RtfDocument* document,
                     QString* error);
};

// Joins RTF documents into one, each starting on a new page (a form feed between them): the
// reports RTF_All returns, as one file a word processor opens. Error 380 for a document that
// is no RTF.
QString mergeRtfDocuments(const QStringList& documents, const QString& defaultFont, float defaultSize);

} // namespace vxRecInfo
