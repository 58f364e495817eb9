// SPDX-License-Identifier: MIT
#include "RichTextView.h"

#include "RichTextViewAccessible.h"

#include "hostclasses/DefaultHostClasses.h"
#include "richtext/BoxExcerpt.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTranslator>

#include <algorithm>
#include <cmath>

namespace vxRecInfo {

RichTextView::RichTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    installRichTextViewAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
}

void RichTextView::setModel(RichTextBox* box)
{
    if (m_box)
        disconnect(m_box, nullptr, this, nullptr);
    m_box = box;
    if (m_box) {
        connect(m_box, &RichTextBox::changed, this, &RichTextView::boxChanged);
        connect(m_box, &QObject::destroyed, this, &RichTextView::boxChanged);
    }
    m_layout.clear();
    boxChanged();
}

int RichTextView::lineWrapWidth() const
{
    if (m_box && m_box->targetDevice() && m_box->targetLineWidth() > 0)
        return int(m_box->targetLineWidth() / 1440.0 * logicalDpiX());
    return viewport()->width();
}

void RichTextView::boxChanged()
{
    // A report applies thousands of runs: catch up once, after the last of them, and only
    // when the view is seen (showing it catches up too).
    m_stale = true;
    if (m_queued || !isVisible())
        return;
    m_queued = true;
    QMetaObject::invokeMethod(this, &RichTextView::catchUp, Qt::QueuedConnection);
}

void RichTextView::catchUp()
{
    m_queued = false;
    if (!m_stale)
        return;
    m_stale = false;
    m_layout.reset(m_box, viewport(), lineWrapWidth());
    m_anchor = m_caret = 0;
    // A new report is read from its top.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    layOutShown();
}

void RichTextView::layOutShown()
{
    m_layout.layOutTo(verticalScrollBar()->value() + viewport()->height());
    updateScrollBars();
    viewport()->update();
}

const QTextLayout* RichTextView::paragraphLayout(int n)
{
    if (m_stale)
        catchUp();
    while (m_layout.laidOut() <= n && m_layout.layOutNext()) {
    }
    return n >= 0 && n < m_layout.laidOut() ? &m_layout.paragraph(n) : nullptr;
}

void RichTextView::updateScrollBars()
{
    // Paragraphs not laid out yet count one line each until they are.
    const int rest = m_layout.paragraphCount() - m_layout.laidOut();
    qreal lineHeight = 1;
    if (m_box) {
        QFont font(m_box->defaultFontName());
        font.setPointSizeF(m_box->defaultFontSize());
        lineHeight = std::max<qreal>(1, QFontMetricsF(font, viewport()).height());
    }
    const int height = int(std::ceil(m_layout.height() + rest * lineHeight));
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(viewport()->height());
    vertical->setSingleStep(int(lineHeight));
    vertical->setRange(0, std::max(0, height - viewport()->height()));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(viewport()->width());
    horizontal->setRange(0, std::max(0, lineWrapWidth() - viewport()->width()));
}

void RichTextView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_stale)
        catchUp();
}

void RichTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!isVisible())
        m_stale = true; // laid out when shown
    if (m_stale)
        return;
    // Lines that keep their width are laid out again from those laid out now.
    m_layout.reset(m_box, viewport(), lineWrapWidth());
    layOutShown();
}

void RichTextView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (m_stale)
        return;
    const int before = m_layout.laidOut();
    m_layout.layOutTo(verticalScrollBar()->value() + viewport()->height());
    if (m_layout.laidOut() != before)
        updateScrollBars();
}

void RichTextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const QRectF clip = event->rect();
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    for (int n = 0; n < m_layout.laidOut(); ++n) {
        const QTextLayout& paragraph = m_layout.paragraph(n);
        const qreal top = paragraph.position().y() + offset.y();
        if (top > clip.bottom())
            break;
        if (top + paragraph.boundingRect().height() < clip.top())
            continue;
        QList<QTextLayout::FormatRange> selections;
        const qsizetype start = m_layout.paragraphStart(n);
        const qsizetype from = std::max(selectionStart(), start);
        const qsizetype to = std::min(selectionEnd(), start + paragraph.text().size());
        if (from < to)
            selections.append({int(from - start), int(to - from), selected});
        paragraph.draw(&painter, offset, selections);
    }
}

qsizetype RichTextView::positionAt(QPoint point)
{
    if (!m_box)
        return 0;
    if (m_stale)
        catchUp();
    const QPointF at(point.x() + horizontalScrollBar()->value(), point.y() + verticalScrollBar()->value());
    m_layout.layOutTo(at.y() + 1);
    for (int n = 0; n < m_layout.laidOut(); ++n) {
        const QTextLayout& paragraph = m_layout.paragraph(n);
        const qreal top = paragraph.position().y();
        if (at.y() >= top + paragraph.boundingRect().height() && n + 1 < m_layout.laidOut())
            continue;
        for (int l = 0; l < paragraph.lineCount(); ++l) {
            const QTextLine line = paragraph.lineAt(l);
            if (at.y() < top + line.y() + line.height() || l + 1 == paragraph.lineCount())
                return m_layout.paragraphStart(n) + line.xToCursor(at.x() - paragraph.position().x());
        }
        return m_layout.paragraphStart(n);
    }
    return m_box->Text().size();
}

QRect RichTextView::characterRect(qsizetype position)
{
    if (!m_box || position < 0 || position >= m_box->Text().size())
        return QRect();
    if (m_stale)
        catchUp();
    int n = 0;
    for (;; ++n) {
        if (n == m_layout.laidOut() && !m_layout.layOutNext())
            return QRect();
        if (n + 1 < m_layout.paragraphCount() && m_layout.paragraphStart(n + 1) <= position)
            continue;
        break;
    }
    const QTextLayout& paragraph = m_layout.paragraph(n);
    const int at = int(position - m_layout.paragraphStart(n));
    const QTextLine line = paragraph.lineForTextPosition(at);
    if (!line.isValid())
        return QRect(); // the paragraph's end
    const qreal left = line.cursorToX(at);
    const qreal right = line.cursorToX(at + 1);
    const QPointF origin = paragraph.position()
        - QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return QRectF(origin.x() + std::min(left, right), origin.y() + line.y(), std::abs(right - left), line.height())
        .toAlignedRect();
}

QString RichTextView::selectedText() const
{
    return m_box ? excerptOf(*m_box, selectionStart(), selectionEnd() - selectionStart()).plain : QString();
}

void RichTextView::select(qsizetype anchor, qsizetype caret)
{
    const qsizetype size = m_box ? m_box->Text().size() : 0;
    m_anchor = std::clamp<qsizetype>(anchor, 0, size);
    m_caret = std::clamp<qsizetype>(caret, 0, size);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent event(this, int(selectionStart()), int(selectionEnd()));
        event.setCursorPosition(int(m_caret));
        QAccessible::updateAccessibility(&event);
    }
}

void RichTextView::selectAll()
{
    select(0, m_box ? m_box->Text().size() : 0);
}

void RichTextView::copy() const
{
    if (!m_box || selectionStart() == selectionEnd())
        return;
    const BoxExcerpt excerpt = excerptOf(*m_box, selectionStart(), selectionEnd() - selectionStart());
    auto* data = new QMimeData;
    data->setText(excerpt.plain);
    data->setHtml(excerpt.html);
    data->setData(QStringLiteral("text/rtf"), excerpt.rtf);
    data->setData(QStringLiteral("application/rtf"), excerpt.rtf);
    QGuiApplication::clipboard()->setMimeData(data);
}

void RichTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const qsizetype at = positionAt(event->position().toPoint());
    select(event->modifiers() & Qt::ShiftModifier ? m_anchor : at, at);
}

void RichTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    select(m_anchor, positionAt(event->position().toPoint()));
}

void RichTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_box)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const qsizetype at = positionAt(event->position().toPoint());
    const QString& text = m_box->Text();
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(at);
    const qsizetype start = words.isAtBoundary() && (words.boundaryReasons() & QTextBoundaryFinder::StartOfItem)
                                ? at
                                : words.toPreviousBoundary();
    words.setPosition(at);
    const qsizetype end = words.toNextBoundary();
    select(start < 0 ? at : start, end < 0 ? at : end);
}

void RichTextView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::SelectAll)
        return selectAll();
    if (event == QKeySequence::Copy)
        return copy();
    QAbstractScrollArea::keyPressEvent(event);
}

namespace {

// Qt's translation of one of its own texts into the user's language, as Qt's text widgets show
// it: the application need not have installed Qt's translations, and its own language need not
// be the user's. A language Qt has no file for, for its country, takes another country's.
QString qtText(const char* context, const char* source)
{
    static QHash<QString, std::shared_ptr<QTranslator>> loaded; // windows live on one thread
    const QLocale language = userLanguage();
    std::shared_ptr<QTranslator>& translator = loaded[language.name()];
    if (!translator) {
        translator = std::make_shared<QTranslator>();
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            const QString prefix = QStringLiteral("qtbase_") + language.name().section(QLatin1Char('_'), 0, 0);
            const QStringList others = QDir(folder).entryList({prefix + QStringLiteral("_*.qm")}, QDir::Files, QDir::Name);
            if (!others.isEmpty())
                (void)translator->load(others.first(), folder); // else none: Qt's English
        }
    }
    const QString text = translator->translate(context, source);
    return text.isEmpty() ? QString::fromLatin1(source) : text;
}

} // namespace

void RichTextView::contextMenuEvent(QContextMenuEvent* event)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copying = menu->addAction(qtText("QWidgetTextControl", "&Copy"), this, &RichTextView::copy);
    copying->setShortcut(QKeySequence::Copy);
    copying->setEnabled(selectionStart() != selectionEnd());
    QAction* all = menu->addAction(qtText("QWidgetTextControl", "Select All"), this, &RichTextView::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    menu->popup(event->globalPos()); // not exec: nothing here waits for the menu
}

} // namespace vxRecInfo
