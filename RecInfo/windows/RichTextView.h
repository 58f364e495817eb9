// SPDX-License-Identifier: MIT
#pragma once
// The window's view of a rich-text box (txtInfo): read-only for the user, it shows the box's
// text with its formats, alignment and tab stops, and follows the box's changes, its binding to
// a printer included. It lays out only what it shows: nothing while it is hidden, and after a
// change the paragraphs down to the bottom of the viewport (more as the user scrolls),
// reusing the lines of the report it showed before. The user selects text as in any read-only
// viewer (drag, double-click for a word, Shift+click, Ctrl+A) and copies it (Ctrl+C or the
// context menu) as plain text, RTF and HTML; a new report clears the selection.

#include "richtext/TextDocumentBuilder.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <algorithm>

namespace vxRecInfo {

class RichTextBox;

class RichTextView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit RichTextView(QWidget* parent = nullptr);

    void setModel(RichTextBox* box);
    RichTextBox* model() const { return m_box; }

    // Where lines wrap, in pixels: at the printer's line width while the box is bound to a
    // printer, so that lines break on screen where they will on paper; otherwise at the
    // viewport's width.
    int lineWrapWidth() const;

    // The paragraphs laid out since the box last changed: those shown so far.
    int laidOutParagraphs() const { return m_layout.laidOut(); }
    // Paragraph n as the view shows it, laying it out (and the ones before it) if need be;
    // null when the box has no paragraph n.
    const QTextLayout* paragraphLayout(int n);

    // The selection in box positions: [selectionStart(), selectionEnd()).
    qsizetype selectionStart() const { return std::min(m_anchor, m_caret); }
    qsizetype selectionEnd() const { return std::max(m_anchor, m_caret); }
    qsizetype caretPosition() const { return m_caret; }
    QString selectedText() const;
    void select(qsizetype anchor, qsizetype caret);
    void selectAll();
    void copy() const;
    // The box position under a point of the viewport.
    qsizetype positionAt(QPoint point);
    // The cell of the character at a box position, in viewport coordinates (laying out the
    // paragraphs down to it); empty outside the text.
    QRect characterRect(qsizetype position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void boxChanged();
    void catchUp();
    void layOutShown();
    void updateScrollBars();

    QPointer<RichTextBox> m_box;
    BoxLayout m_layout;
    bool m_stale = true;   // the box changed after the view last caught up
    bool m_queued = false; // a catch-up is posted
    qsizetype m_anchor = 0; // where the selection began
    qsizetype m_caret = 0;  // where it ends, the caret
};

} // namespace vxRecInfo
