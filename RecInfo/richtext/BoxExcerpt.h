// SPDX-License-Identifier: MIT
#pragma once
// A stretch of a rich-text box as the clipboard takes it: plain text with a line feed for each
// paragraph end, RTF with the stretch's formats (as the box's own RTF writes them), and HTML for
// programs that paste that rather than RTF.

#include "RichTextBox.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace vxRecInfo {

struct BoxExcerpt {
    QString plain;
    QByteArray rtf;
    QString html;
};

// The characters from start for length (clamped to the box's text).
BoxExcerpt excerptOf(const RichTextBox& box, qsizetype start, qsizetype length);

// The box in a document (cleared first), a block per paragraph with its alignment and tab
// stops, the formats spelled out in full: what QTextDocument's writers (HTML, ODF) take.
void fillTextDocument(const RichTextBox& box, QTextDocument& document);

} // namespace vxRecInfo
