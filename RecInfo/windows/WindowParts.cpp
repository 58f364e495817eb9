// SPDX-License-Identifier: MIT
#include "WindowParts.h"

#include "component/ModuleState.h"
#include "report/BatchReports.h"
#include "support/ErrorLog.h"
#include "support/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace vxRecInfo {

void setDesignFont(QWidget* window)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    window->setFont(font);
}

QPushButton* commandButton(QWidget* parent, const char* objectName, const QString& designCaption)
{
    auto* button = new QPushButton(designCaption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

void fillDatasetList(QComboBox* list)
{
    const BasicArray<DataSetRecord>& sets = ModuleState::current().DataSets;
    const std::int32_t last = Batch::lastDatasetIndex();
    QSignalBlocker blocker(list);
    for (std::int32_t i = 0; i <= last; ++i) {
        if (i < list->count()) {
            list->setItemText(i, sets.at(i).DataSetDesc);
            list->setItemData(i, i);
        } else {
            list->addItem(sets.at(i).DataSetDesc, i);
        }
    }
}

std::int16_t datasetOfEntry(const QComboBox* list, int entry)
{
    return Variant(list->itemData(entry).toInt()).toInteger();
}

Variant checkBoxValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return std::int16_t(1);
    case Qt::PartiallyChecked: return std::int16_t(2);
    default: return std::int16_t(0);
    }
}

void reportHandlerError(const RuntimeError& error)
{
    showMessage(QStringLiteral("Error %1: %2").arg(error.number()).arg(error.description()), MsgBox::Exclamation,
                applicationTitle());
}

} // namespace vxRecInfo
