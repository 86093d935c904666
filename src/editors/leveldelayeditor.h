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
// The op2 handlers serve both outputs (k = 0 or 2, the digit in their controls' names), and
// scrlbr_op0_delayChange both output scroll bars.
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
    void rztrckbr_op2_gainChange(int k);
    void btn_ip0_muteClick();
    void btn_op2_muteClick(int k);
    void btn_ip0_polClick();
    void btn_op2_polClick(int k);
    void scrlbr_ip0_delayChange();
    void scrlbr_op0_delayChange(int k);
    void scrlbr_ip0_delayExit();
    void rztrckbrClick(QSlider *slider);
    void rztrckbrExit();

    // One channel's level record and controls: the system's, or output k's (k = 0 or 2).
    struct Channel
    {
        int record = -1;
        bool system = false;
        QString slider, scroll, gainEdit, delayEdit, metres, feet, mute, polarity;
    };
    static Channel systemChannel();
    static Channel outputChannel(int k);

    // The level and delay edits: targeting (OnEnter, OnMouseUp), commit, arrow keys.
    void levelEditTarget(const Channel &c);
    void levelEditCommit(const Channel &c, bool byReturn);
    void levelEditKeyDown(const Channel &c, int key);
    void delayEditTarget(const Channel &c);
    void delayEditCommit(const Channel &c, bool byReturn);
    void delayEditKeyDown(const Channel &c, int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wireChannel(const Channel &c);
    // markRecord, and the graph's overlay follows an output's record.
    void mark(int record);
    void target(const Channel &c, int offset, bool selectAll);
    bool ensureTarget(const Channel &c, int offset);
    void showDelayTexts(const Channel &c, int code);
    void showPolarity(const QString &button, int polarityByte);
    void togglePolarity(QPushButton *button, int record);
    void delayChanged(const Channel &c);
    // Up/Down: the code at the target one step within 0..maxCode; true when it moved.
    bool stepTarget(const Channel &c, int offset, int maxCode, int key, int *code);
    template <typename T> T *control(const QString &name) const;

    EditorContext &m_ctx;
};

} // namespace spk
