// SPDX-License-Identifier: MIT
#include "ClassicKeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace vxRecInfo {

namespace {

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

class ClassicKeys final : public QObject
{
public:
    ClassicKeys(QDialog* dialog, QPushButton* cancelButton)
        : QObject(dialog), m_dialog(dialog), m_cancel(cancelButton)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (auto* button = qobject_cast<QPushButton*>(watched)) {
            if (!isEnter(key))
                return false;
            button->click();
            return true;
        }
        if (watched != m_dialog)
            return false;
        // What reaches the window here was left alone by the focused control.
        if (key->matches(QKeySequence::Cancel)) {
            if (m_cancel && m_cancel->isEnabled())
                m_cancel->click();
            return true;
        }
        return isEnter(key);
    }

private:
    QDialog* m_dialog;
    QPointer<QPushButton> m_cancel;
};

} // namespace

void useClassicKeys(QDialog* dialog, QPushButton* cancelButton)
{
    auto* keys = new ClassicKeys(dialog, cancelButton);
    dialog->installEventFilter(keys);
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(keys);
    }
}

} // namespace vxRecInfo
