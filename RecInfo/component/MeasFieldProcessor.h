// SPDX-License-Identifier: MIT
#pragma once
// Reads the external-probe marker inside a dataset's free-text MiscField. Internal to the
// component: the report builder keeps one per thread.

#include <QString>

namespace vxRecInfo {

class MeasFieldProcessor_C
{
public:
    // The marker: the probe-enabled flag as a keyed value with True written as -1.
    static inline const QString Marker = QStringLiteral("{ExtProbe=-1}");

    bool ProbeEnabled() const { return m_probeEnabled; }
    void setProbeEnabled(bool enabled) { m_probeEnabled = enabled; }

    // The marker when the probe is enabled, otherwise the empty string; never the text set.
    QString MeasField() const;
    // Enables the probe when the text holds the marker anywhere (exact characters).
    void setMeasField(const QString& text);

    // The apartment's instance, created on first use.
    static MeasFieldProcessor_C& current();

private:
    bool m_probeEnabled = false;
};

} // namespace vxRecInfo
