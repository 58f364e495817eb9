#pragma once
// Lays a rich-text box out as a QTextDocument, for the view on screen and for the printer:
// one block per paragraph, character formats as they are, alignment and tab stops converted
// from twips at the resolution of the device the document is laid out for.

#include <QtGlobal>

class QTextDocument;

namespace vxRecInfo {

class RichTextBox;

// Fills document from box. dpi converts the tab stops from twips: the screen's logical
// resolution for a view, Qt's default resolution for a document laid out on a printer (Qt
// scales tab stops by the device's resolution itself).
void buildTextDocument(const RichTextBox& box, QTextDocument& document, qreal dpi);

// Positions of the box count CR and LF one each; a document block break counts one. These
// convert between the two.
int documentPosition(const RichTextBox& box, qsizetype boxPosition);
qsizetype boxPosition(const RichTextBox& box, int documentPosition);

} // namespace vxRecInfo
