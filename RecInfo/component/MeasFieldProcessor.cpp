// SPDX-License-Identifier: MIT
#include "MeasFieldProcessor.h"
#include "ModuleState.h"

namespace vxRecInfo {

QString MeasFieldProcessor_C::MeasField() const
{
    return m_probeEnabled ? Marker : QString();
}

void MeasFieldProcessor_C::setMeasField(const QString& text)
{
    m_probeEnabled = text.contains(Marker, Qt::CaseSensitive);
}

MeasFieldProcessor_C& MeasFieldProcessor_C::current()
{
    return ModuleState::current().part<MeasFieldProcessor_C>();
}

} // namespace vxRecInfo
