#pragma once

#include <QPointer>

class QLabel;
class QLineEdit;

namespace spk {

class ControlLookup;
class LedIndicator;
class StatusPanels;
struct MeterView;

// What a meter reply shows: temperature (white, orange while the device attenuates), attenuation,
// the thermal and limiter lamps, the hidden status fields and the third status panel.
class MeterDisplay
{
public:
    MeterDisplay(ControlLookup &controls, StatusPanels &status);
    void show(const MeterView &view);

private:
    QPointer<QLabel> m_temperature;
    QPointer<QLabel> m_attenuation;
    QPointer<LedIndicator> m_temperLed;
    QPointer<LedIndicator> m_limiterLed;
    QPointer<LedIndicator> m_limiterLamp;
    QPointer<QLineEdit> m_edt[3];
    StatusPanels &m_status;
};

} // namespace spk
