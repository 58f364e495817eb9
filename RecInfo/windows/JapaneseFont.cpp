// SPDX-License-Identifier: MIT
#include "JapaneseFont.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"

#include <QAbstractButton>
#include <QFont>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>

namespace vxRecInfo {

const char16_t* const JapaneseGothicFace = u"ＭＳ ゴシック";

void registerJapaneseFontSubstitutes()
{
    // Debian has no alias for the Windows face; IPAGothic has its metrics and its coverage.
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP")};
    for (const QString& face : {QString::fromUtf16(JapaneseGothicFace), QStringLiteral("MS Gothic")})
        if (QFont::substitutes(face).isEmpty())
            QFont::insertSubstitutions(face, gothic);
}

void ApplyJapaneseFont(QWidget* form) noexcept
{
    try {
        if (!form || lateGet(hostSettings(), QStringLiteral("ResOffset")).toLong() != 2000)
            return;
        registerJapaneseFontSubstitutes();
        // Qt has no character-set property: glyphs are chosen by Unicode, so Shift-JIS needs
        // no setting of its own.
        const QList<QWidget*> controls = form->findChildren<QWidget*>();
        for (QWidget* control : controls) {
            try {
                QFont font = control->font();
                font.setFamily(QString::fromUtf16(JapaneseGothicFace));
                font.setPointSize(8);
                const bool keepsBold = qobject_cast<QGroupBox*>(control) || qobject_cast<QPushButton*>(control);
                if (!keepsBold)
                    font.setBold(false);
                control->setFont(font);
            } catch (...) {
            }
        }
    } catch (...) {
    }
}

} // namespace vxRecInfo
