// SPDX-License-Identifier: MIT
#pragma once
// Lays a rich-text box out on the current printer and renders it page by page: the stand-in for
// the rich-text control's target-device and format-range messages.

#include <QRectF>

#include <cstdint>
#include <memory>

namespace vxRecInfo {

class BoxLayout;
class Printer;
class RichTextBox;

// The box laid out on a printer for one print run; renders the whole lines that fit into a
// rectangle from a character position on.
class PageRenderer
{
public:
    // rect: the drawing rectangle in twips, relative to the printable area.
    PageRenderer(const RichTextBox& box, Printer& printer, const QRectF& rect);
    ~PageRenderer();
    PageRenderer(const PageRenderer&) = delete;
    PageRenderer& operator=(const PageRenderer&) = delete;

    // Renders the lines from box position first on that fit the rectangle; returns the box
    // position of the first character that did not fit, or the text length when all did.
    qsizetype render(qsizetype first);

private:
    void releaseLayout();

    const RichTextBox& m_box;
    Printer& m_printer;
    QRectF m_rectPixels;
    std::unique_ptr<BoxLayout> m_ownLayout;
    BoxLayout& m_layout;
};

namespace RTBFormat {

// Binds the box's line layout to the current printer at the width between the margins (twips)
// and returns that line width. Starts a print document if none is open.
std::int32_t WYSIWYG_RTF(RichTextBox& box, std::int32_t leftMargin, std::int32_t rightMargin);

// Prints the box page by page with the margins (twips) and "SN: " + serialNumber at the top
// right of every page (none for ""); then starts a new page (keepJobOpen) or ends the document.
void PrintRTF(RichTextBox& box, std::int32_t leftMargin, double topMargin, double rightMargin, double bottomMargin,
              bool keepJobOpen, const QString& serialNumber);

} // namespace RTBFormat

} // namespace vxRecInfo
