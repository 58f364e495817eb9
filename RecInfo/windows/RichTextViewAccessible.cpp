// SPDX-License-Identifier: MIT
#include "RichTextViewAccessible.h"

#include "RichTextView.h"

#include "richtext/RichTextBox.h"

#include <QAccessibleWidget>

#include <algorithm>

namespace vxRecInfo {

namespace {

class AccessibleView final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleView(RichTextView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return all();
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && selectionCount() == 1) {
            *start = int(view()->selectionStart());
            *end = int(view()->selectionEnd());
        }
    }
    int selectionCount() const override { return view()->selectionStart() != view()->selectionEnd() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { view()->select(view()->selectionEnd(), view()->selectionEnd()); }
    void setSelection(int, int start, int end) override { view()->select(start, end); }
    int cursorPosition() const override { return int(view()->caretPosition()); }
    void setCursorPosition(int position) override { view()->select(position, position); }
    QString text(int start, int end) const override { return all().mid(start, std::max(0, end - start)); }
    int characterCount() const override { return int(all().size()); }
    QRect characterRect(int offset) const override
    {
        const QRect cell = view()->characterRect(offset);
        return cell.isEmpty() ? cell : QRect(view()->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return int(view()->positionAt(view()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return QString();
    }

private:
    RichTextView* view() const { return static_cast<RichTextView*>(widget()); }
    QString all() const { return view()->model() ? view()->model()->Text() : QString(); }
};

QAccessibleInterface* viewFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("vxRecInfo::RichTextView") && object && object->isWidgetType())
        return new AccessibleView(static_cast<RichTextView*>(object));
    return nullptr;
}

} // namespace

void installRichTextViewAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(viewFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace vxRecInfo
