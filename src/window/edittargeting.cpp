#include "window/edittargeting.h"

#include "model/layout.h"

namespace spk {

QString EditTargeting::handlerStem(EditField field)
{
    switch (field) {
    case EditField::HpfFreq:
        return QStringLiteral("edt_hpf_freq");
    case EditField::LpfFreq:
        return QStringLiteral("edt_lpf_freq");
    case EditField::EqFreq:
        return QStringLiteral("edt_eq_freq");
    case EditField::EqGain:
        return QStringLiteral("edt_eq_gain");
    case EditField::EqQ:
        return QStringLiteral("edt_eq_qval");
    }
    return {};
}

QString EditTargeting::bandEditPrefix(EditField field)
{
    switch (field) {
    case EditField::EqFreq:
        return QStringLiteral("edt_ip0eq_freq_0");
    case EditField::EqGain:
        return QStringLiteral("edt_ip0eq_gain_0");
    case EditField::EqQ:
        return QStringLiteral("edt_ip0eq_qval_0");
    default:
        return {};
    }
}

bool EditTargeting::armedWide() const
{
    return m_name == handlerStem(EditField::EqGain) || m_name == handlerStem(EditField::EqQ);
}

void EditTargeting::targetField(EditField field, int byteIndex, int record, QWidget *edit, int maxCode)
{
    m_control = edit;
    m_target = byteIndex;
    m_lastEdited = record;
    m_name = handlerStem(field);
    Set_OpenMouseWheel(0, maxCode);
}

void EditTargeting::targetCrossover(EditField field, int byteIndex, int record, QWidget *edit, int maxCode)
{
    m_band = 0;
    targetField(field, byteIndex, record, edit, maxCode);
}

void EditTargeting::targetBandField(EditField field, int band, int byteIndex, int record, QWidget *edit,
                                    int maxCode)
{
    m_band = band;
    m_bandRecord = record * RecordSize;
    targetField(field, byteIndex, record, edit, maxCode);
}

void EditTargeting::targetBandRecord(int band, int byteIndex, int record, QWidget *control)
{
    m_band = band;
    m_control = control;
    m_target = byteIndex;
    m_bandRecord = record * RecordSize;
    m_lastEdited = record;
    m_name.clear();
}

void EditTargeting::targetByte(int byteIndex, int record)
{
    m_target = byteIndex;
    m_lastEdited = record;
}

void EditTargeting::targetLevelEdit(int byteIndex, int record, QWidget *edit, const QString &armedControl,
                                    int maxCode)
{
    m_target = byteIndex;
    m_lastEdited = record;
    m_name = armedControl;
    m_control = edit;
    Set_OpenMouseWheel(0, maxCode);
}

void EditTargeting::targetSlider(const QString &name, int maxCode)
{
    m_name = name;
    Set_OpenMouseWheel(0, maxCode);
}

void EditTargeting::startDrag(int band, int record, QWidget *freqEdit)
{
    m_band = band;
    m_control = freqEdit;
    m_bandRecord = record * RecordSize;
    m_target = m_bandRecord;
    m_lastEdited = record;
    m_name = bandEditPrefix(EditField::EqGain);
    m_wheelOpen = false;
}

void EditTargeting::afterDrag(EditField next, QWidget *edit)
{
    m_name = bandEditPrefix(next);
    m_control = edit;
}

void EditTargeting::resetWalkBand(int record)
{
    m_lastEdited = record;
    m_name.clear();
}

void EditTargeting::Set_OpenMouseWheel(int min, int max)
{
    if (!m_wheelOpen) ++m_armings;
    m_wheelOpen = true;
    m_wheelMin = min;
    m_wheelMax = max;
}

void EditTargeting::disarm()
{
    m_wheelOpen = false;
    m_name.clear();
}

void EditTargeting::clear()
{
    disarm();
    m_wheelMin = 0;
    m_wheelMax = 0;
}

} // namespace spk
