#include "window/progressbox.h"

#include "window/editorstate.h"

#include <QGroupBox>
#include <QProgressBar>

namespace spk {

ProgressBox::ProgressBox(EditorState &state, QGroupBox *box, QProgressBar *bar, QObject *parent)
    : QObject(parent), m_state(state), m_box(box), m_bar(bar)
{
    connect(&m_state.tmr_prgrsbr, &QTimer::timeout, this, &ProgressBox::tmr_prgrsbrTimer);
}

void ProgressBox::start()
{
    startStepped();
    m_state.ProgressValue = 0;
    m_state.tmr_prgrsbr.start();
}

void ProgressBox::startStepped()
{
    m_state.tmr_prgrsbr.stop();
    setBar(0);
    if (m_box) {
        m_box->show();
        m_box->raise();
    }
}

void ProgressBox::close()
{
    m_state.tmr_prgrsbr.stop();
    if (m_box) m_box->hide();
    setBar(0);
}

void ProgressBox::moveTo(int left, int top)
{
    if (m_box) m_box->move(left, top);
}

void ProgressBox::setBar(int percent)
{
    if (m_bar) m_bar->setValue(percent);
}

bool ProgressBox::isShown() const
{
    return m_box && !m_box->isHidden();
}

void ProgressBox::tmr_prgrsbrTimer()
{
    if (!m_state.Link.Connected) return;
    m_state.ProgressValue += 2;
    if (m_state.ProgressValue <= 99) {
        setBar(m_state.ProgressValue);
        return;
    }
    // Never shows completion: a box still open after 15 s just goes away.
    m_state.ProgressValue = 0;
    close();
}

} // namespace spk
