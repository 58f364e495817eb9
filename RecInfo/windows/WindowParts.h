// SPDX-License-Identifier: MIT
#pragma once
// Pieces the Statistics and Import windows share.

#include "automation/Variant.h"

#include <cstdint>

class QCheckBox;
class QComboBox;
class QPushButton;
class QWidget;

namespace vxRecInfo {

// The windows' design font: MS Sans Serif 8.25 points, bold.
void setDesignFont(QWidget* window);
QPushButton* commandButton(QWidget* parent, const char* objectName, const QString& designCaption = {});
// Entry i for dataset i, text DataSetDesc, item data i; written by position, so a second load
// replaces the entries. Error 9, naming DataSets(0), when the store was never filled.
void fillDatasetList(QComboBox* list);
// The dataset of an entry: its item data as an Integer.
std::int16_t datasetOfEntry(const QComboBox* list, int entry);
// A check box's Value: 0 cleared, 1 ticked, 2 greyed.
Variant checkBoxValue(const QCheckBox* box);
// Shows the error of an event handler; the window stays usable.
void reportHandlerError(const RuntimeError& error);

// Runs an event handler, showing its error instead of letting it leave the window.
template <class Handler>
void reportingErrors(Handler handler)
{
    try {
        handler();
    } catch (const RuntimeError& e) {
        reportHandlerError(e);
    }
}

} // namespace vxRecInfo
