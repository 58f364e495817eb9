#pragma once
// Writes a rich-text box as an RTF document: font and colour tables, character formats,
// paragraph alignment and tab stops, one \par per CR LF, \line for a lone LF, \page for a
// form feed, other control characters (a lone CR too) as \'hh, non-ASCII text as \uN with a
// "?" fallback: the reader gets back every character. Only what differs from the box's
// defaults is written.

#include <QString>

namespace vxRecInfo {

class RichTextBox;

class RtfWriter
{
public:
    static QString write(const RichTextBox& box);
};

} // namespace vxRecInfo
