#pragma once

#include <QObject>
#include <QString>

class QAbstractSlider;
class QPushButton;
class QScrollBar;
class QSlider;

namespace spk {

struct EditorContext;
class ValueEdit;

// Level, delay, mute and polarity of the system input (ip0) and the two outputs with controls
// (op0, op2): track bars, scroll bars, their edits and labels, and filling them from the image.
class LevelDelayEditor : public QObject
{
    Q_OBJECT
public:
    explicit LevelDelayEditor(EditorContext &ctx, QObject *parent = nullptr);
    void attach();

    // Image to controls: an output's level record (k = 0 or 2), the system's.
    void showOutput(int k);
    void showSystemLevel();
    void showSystemPolarity();
    void showSystemDelay();

    void rztrckbr_ingainChange();
    void rztrckbr_op2_gainChange(QSlider *slider);
    void btn_ip0_muteClick();
    void btn_op2_muteClick(QPushButton *button);
    void btn_ip0_polClick();
    void btn_op2_polClick(QPushButton *button);
    void scrlbr_ip0_delayChange();
    void scrlbr_op0_delayChange(QScrollBar *bar);
    void scrlbr_ip0_delayExit();
    void rztrckbrClick(QSlider *slider);
    void rztrckbrExit();

    // The level and delay edits: targeting (OnEnter, OnMouseUp), commit, arrow keys.
    void levelEditTarget(ValueEdit *edit);
    void levelEditCommit(ValueEdit *edit, bool byReturn);
    void levelEditKeyDown(ValueEdit *edit, int key);
    void delayEditTarget(ValueEdit *edit);
    void delayEditCommit(ValueEdit *edit, bool byReturn);
    void delayEditKeyDown(ValueEdit *edit, int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One channel's level record and controls, from an edit's name.
    struct Channel
    {
        int record = -1;
        bool system = false;
        QString slider, scroll, gainEdit, delayEdit, metres, feet, mute, polarity;
    };
    static Channel channelOf(const QString &editName);
    static Channel systemChannel();
    static Channel outputChannel(int k);
    void target(ValueEdit *edit, int offset, bool selectAll);
    bool ensureTarget(ValueEdit *edit, int offset);
    void showDelayTexts(const Channel &c, int code);
    void showPolarity(const QString &button, int polarityByte);
    void togglePolarity(QPushButton *button, int record);
    void delayChanged(const Channel &c, QAbstractSlider *bar);

    EditorContext &m_ctx;
};

} // namespace spk
