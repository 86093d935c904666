#pragma once

#include <QColor>
#include <QWidget>

namespace spk {

// A small round lamp: one colour when on, another when off. Not a focus stop; screen readers read
// its accessible name with "on" or "off" as the description.
class LedIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit LedIndicator(QWidget *parent = nullptr);

    void setOn(bool on);
    bool isOn() const { return m_on; }
    void setColours(const QColor &on, const QColor &off);
    QColor colour() const { return m_on ? m_onColour : m_offColour; }

    QSize sizeHint() const override { return {14, 14}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_on = false;
    QColor m_onColour{255, 0, 0};
    QColor m_offColour{60, 20, 20};
};

} // namespace spk
