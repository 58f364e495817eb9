#pragma once
// Writes a rich-text box as an RTF document: font and colour tables, character formats,
// paragraph alignment and tab stops, one \par per paragraph end, \page for a form feed,
// non-ASCII text as \uN with a "?" fallback. Only what differs from the box's defaults is
// written.

#include <QString>

namespace vxRecInfo {

class RichTextBox;

class RtfWriter
{
public:
    static QString write(const RichTextBox& box);
};

} // namespace vxRecInfo
