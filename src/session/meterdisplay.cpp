#include "session/meterdisplay.h"

#include "protocol/meter.h"
#include "window/controllookup.h"
#include "window/ledindicator.h"
#include "window/statuspanels.h"

#include <QLabel>
#include <QLineEdit>

namespace spk {

MeterDisplay::MeterDisplay(ControlLookup &controls, StatusPanels &status)
    : m_temperature(controls.require<QLabel>(QStringLiteral("lbl_temperature"))),
      m_attenuation(controls.require<QLabel>(QStringLiteral("lbl_attenuation"))),
      m_temperLed(controls.require<LedIndicator>(QStringLiteral("ildrnd_temper"))),
      m_limiterLed(controls.require<LedIndicator>(QStringLiteral("ildrnd_out0"))),
      m_limiterLamp(controls.require<LedIndicator>(QStringLiteral("LedR_lim"))), m_status(status)
{
    const char *fields[] = {"edt1", "edt2", "edt3"};
    for (int i = 0; i < 3; ++i)
        m_edt[i] = controls.require<QLineEdit>(QString::fromLatin1(fields[i]));
    if (m_temperature) {
        QPalette pal = m_temperature->palette();
        pal.setColor(QPalette::WindowText,
                     QColor(TemperatureTextColor.r, TemperatureTextColor.g, TemperatureTextColor.b));
        m_temperature->setPalette(pal);
    }
}

void MeterDisplay::show(const MeterView &view)
{
    if (m_temperature) {
        m_temperature->setText(view.temperatureText);
        QPalette pal = m_temperature->palette();
        const Rgb c = view.temperatureColor;
        pal.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
        m_temperature->setPalette(pal);
    }
    if (m_attenuation) m_attenuation->setText(view.attenuationText);
    if (m_temperLed) m_temperLed->setOn(view.temperLed);
    const QString fields[] = {view.edt1, view.edt2, view.edt3};
    for (int i = 0; i < 3; ++i)
        if (m_edt[i]) m_edt[i]->setText(fields[i]);
    if (m_limiterLed) m_limiterLed->setOn(view.limiterLed);
    if (m_limiterLamp) m_limiterLamp->setOn(view.limiterLed);
    m_status.setMeterText(view.statusText);
}

} // namespace spk
