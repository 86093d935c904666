#include "editors/leveldelayeditor.h"

#include "editors/buttonface.h"
#include "editors/editorcontext.h"
#include "editors/editundo.h"
#include "editors/valueedit.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include <algorithm>

namespace spk {

namespace {
int outputRecord(int k)
{
    return levelRecord(k == 0 ? Op0 : Op2);
}
} // namespace

void LevelDelayEditor::mark(int record)
{
    m_ctx.state.markRecord(record);
    // The outputs' level records shape the predicted responses on the graph.
    if (record != levelRecord(Ip0)) m_ctx.graph.outputsChanged();
}

template <typename T> T *LevelDelayEditor::control(const QString &name) const
{
    return m_ctx.controls.require<T>(name);
}

LevelDelayEditor::LevelDelayEditor(EditorContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx) {}

LevelDelayEditor::Channel LevelDelayEditor::systemChannel()
{
    Channel c;
    c.record = levelRecord(Ip0);
    c.system = true;
    c.slider = QStringLiteral("rztrckbr_ingain");
    c.scroll = QStringLiteral("scrlbr_ip0_delay");
    c.gainEdit = QStringLiteral("edt_ip0_gain");
    c.delayEdit = QStringLiteral("edt_ip0_delay");
    c.metres = QStringLiteral("lbl_edt_ip0_delay_m");
    c.feet = QStringLiteral("lbl_ip0_delay_ft");
    c.mute = QStringLiteral("btn_ip0_mute");
    c.polarity = QStringLiteral("btn_ip0_pol");
    return c;
}

LevelDelayEditor::Channel LevelDelayEditor::outputChannel(int k)
{
    const QString d = QString::number(k);
    Channel c;
    c.record = outputRecord(k);
    c.slider = QStringLiteral("rztrckbr_op") + d + QStringLiteral("_gain");
    c.scroll = QStringLiteral("scrlbr_op") + d + QStringLiteral("_delay");
    c.gainEdit = QStringLiteral("edt_op") + d + QStringLiteral("_gain");
    c.delayEdit = QStringLiteral("edt_op") + d + QStringLiteral("_delay");
    c.metres = QStringLiteral("lbl_edt_op") + d + QStringLiteral("_delay_m");
    c.feet = QStringLiteral("lbl_op") + d + QStringLiteral("_delay_ft");
    c.mute = QStringLiteral("btn_op") + d + QStringLiteral("_mute");
    c.polarity = QStringLiteral("btn_op") + d + QStringLiteral("_pol");
    return c;
}

void LevelDelayEditor::attach()
{
    auto *in = control<QSlider>(QStringLiteral("rztrckbr_ingain"));
    connect(in, &QSlider::valueChanged, this, [this] { rztrckbr_ingainChange(); });
    in->installEventFilter(this);
    auto *inDelay = control<QScrollBar>(QStringLiteral("scrlbr_ip0_delay"));
    connect(inDelay, &QScrollBar::valueChanged, this, [this] { scrlbr_ip0_delayChange(); });
    inDelay->installEventFilter(this);
    connect(control<QPushButton>(QStringLiteral("btn_ip0_mute")), &QPushButton::clicked, this,
            [this] { btn_ip0_muteClick(); });
    connect(control<QPushButton>(QStringLiteral("btn_ip0_pol")), &QPushButton::clicked, this,
            [this] { btn_ip0_polClick(); });
    wireChannel(systemChannel());

    for (int k : {0, 2}) {
        const Channel ch = outputChannel(k);
        auto *s = control<QSlider>(ch.slider);
        connect(s, &QSlider::valueChanged, this, [this, k] { rztrckbr_op2_gainChange(k); });
        s->installEventFilter(this);
        auto *b = control<QScrollBar>(ch.scroll);
        connect(b, &QScrollBar::valueChanged, this, [this, k] { scrlbr_op0_delayChange(k); });
        b->installEventFilter(this);
        connect(control<QPushButton>(ch.mute), &QPushButton::clicked, this,
                [this, k] { btn_op2_muteClick(k); });
        connect(control<QPushButton>(ch.polarity), &QPushButton::clicked, this,
                [this, k] { btn_op2_polClick(k); });
        wireChannel(ch);
    }
}

void LevelDelayEditor::wireChannel(const Channel &ch)
{
    auto *gain = control<ValueEdit>(ch.gainEdit);
    gain->setAcceptsMinus(true);
    gain->onEnter = [this, ch] { levelEditTarget(ch); };
    gain->onMouseUp = [this, ch] { levelEditTarget(ch); };
    gain->onReturn = [this, ch] { levelEditCommit(ch, true); };
    gain->onExit = [this, ch] { levelEditCommit(ch, false); };
    gain->onKeyDown = [this, ch](int key) { levelEditKeyDown(ch, key); };
    auto *delay = control<ValueEdit>(ch.delayEdit);
    delay->setAcceptsMinus(false);
    delay->onEnter = [this, ch] { delayEditTarget(ch); };
    delay->onMouseUp = [this, ch] { delayEditTarget(ch); };
    delay->onReturn = [this, ch] { delayEditCommit(ch, true); };
    delay->onExit = [this, ch] { delayEditCommit(ch, false); };
    delay->onKeyDown = [this, ch](int key) { delayEditKeyDown(ch, key); };
}

bool LevelDelayEditor::eventFilter(QObject *watched, QEvent *event)
{
    // What one press of the mouse does to a track bar or scroll bar is one undo step.
    if (event->type() == QEvent::MouseButtonPress) {
        if (m_ctx.undo) m_ctx.undo->beginGesture();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (m_ctx.undo) m_ctx.undo->endGesture();
        if (auto *s = qobject_cast<QSlider *>(watched)) rztrckbrClick(s);
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (qobject_cast<QSlider *>(watched))
                rztrckbrExit();
            else if (qobject_cast<QScrollBar *>(watched))
                scrlbr_ip0_delayExit();
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- image to controls ---

void LevelDelayEditor::showOutput(int k)
{
    const ParamImage &image = m_ctx.state.ParamImage;
    const Channel ch = outputChannel(k);
    const int level = image.word(ch.record, LevelByte::Level);
    control<QLineEdit>(ch.gainEdit)->setText(levelText(level, false));
    control<QSlider>(ch.slider)->setValue(clampLevelCode(level));
    showPolarity(ch.polarity, image.byte(ch.record, LevelByte::Polarity));
    setButtonFace(control<QPushButton>(ch.mute), image.byte(ch.record, LevelByte::Mute) ? MuteRed : QColor());
    const int delay = image.word(ch.record, LevelByte::Delay);
    control<QScrollBar>(ch.scroll)->setValue(clampDelayCode(delay));
    showDelayTexts(ch, delay);
}

void LevelDelayEditor::showSystemLevel()
{
    const Channel ch = systemChannel();
    const int level = m_ctx.state.ParamImage.word(ch.record, LevelByte::Level);
    control<QLineEdit>(ch.gainEdit)->setText(levelText(level, true));
    control<QSlider>(ch.slider)->setValue(clampLevelCode(level));
}

void LevelDelayEditor::showSystemPolarity()
{
    showPolarity(systemChannel().polarity,
                 m_ctx.state.ParamImage.byte(levelRecord(Ip0), LevelByte::Polarity));
}

void LevelDelayEditor::showSystemDelay()
{
    const Channel ch = systemChannel();
    const int delay = m_ctx.state.ParamImage.word(ch.record, LevelByte::Delay);
    control<QScrollBar>(ch.scroll)->setValue(clampDelayCode(delay));
    showDelayTexts(ch, delay);
}

void LevelDelayEditor::showDelayTexts(const Channel &ch, int code)
{
    control<QLineEdit>(ch.delayEdit)->setText(delayMsText(code));
    control<QLabel>(ch.metres)->setText(delayMetresText(code));
    control<QLabel>(ch.feet)->setText(delayFeetText(code));
}

void LevelDelayEditor::showPolarity(const QString &name, int polarityByte)
{
    auto *b = control<QPushButton>(name);
    b->setText(polarityText(polarityByte));
    setButtonFace(b, polarityByte ? PolarityYellow : LightGrey);
}

// --- track bars, scroll bars, buttons ---

void LevelDelayEditor::rztrckbr_ingainChange()
{
    EditorState &s = m_ctx.state;
    const Channel ch = systemChannel();
    const int p = control<QSlider>(ch.slider)->value();
    control<QLineEdit>(ch.gainEdit)->setText(levelText(p, true));
    setButtonFace(control<QPushButton>(ch.mute), p != 0 ? LightGrey : MuteRed);
    if (!s.Refreshing) s.ParamImage.setWord(ch.record, LevelByte::Level, p);
    if (!s.MuteClickBusy) s.SavedSystemLevel = p;
    s.MuteClickBusy = false;
    if (!s.Refreshing) mark(ch.record);
}

void LevelDelayEditor::rztrckbr_op2_gainChange(int k)
{
    EditorState &s = m_ctx.state;
    const Channel ch = outputChannel(k);
    const int p = control<QSlider>(ch.slider)->value();
    control<QLineEdit>(ch.gainEdit)->setText(levelText(p, false));
    if (s.Refreshing) return;
    s.ParamImage.setWord(ch.record, LevelByte::Level, p);
    mark(ch.record);
}

void LevelDelayEditor::btn_ip0_muteClick()
{
    EditorState &s = m_ctx.state;
    const Channel ch = systemChannel();
    s.MuteClickBusy = true;
    const bool muted = buttonFace(control<QPushButton>(ch.mute)) == MuteRed;
    control<QSlider>(ch.slider)->setValue(muted ? s.SavedSystemLevel : 0);
    mark(ch.record);
}

void LevelDelayEditor::btn_op2_muteClick(int k)
{
    EditorState &s = m_ctx.state;
    const Channel ch = outputChannel(k);
    // Any nonzero byte is muted, so one click always unmutes what the button shows muted.
    const bool muted = s.ParamImage.byte(ch.record, LevelByte::Mute) != 0;
    s.ParamImage.setByte(ch.record, LevelByte::Mute, muted ? 0 : 1);
    setButtonFace(control<QPushButton>(ch.mute), muted ? QColor() : MuteRed);
    mark(ch.record);
}

void LevelDelayEditor::togglePolarity(QPushButton *button, int record)
{
    EditorState &s = m_ctx.state;
    const int now = s.ParamImage.byte(record, LevelByte::Polarity) == 0 ? 1 : 0;
    s.ParamImage.setByte(record, LevelByte::Polarity, now);
    button->setText(polarityText(now));
    setButtonFace(button, now ? PolarityYellow : LightGrey);
    mark(record);
}

void LevelDelayEditor::btn_ip0_polClick()
{
    const Channel ch = systemChannel();
    togglePolarity(control<QPushButton>(ch.polarity), ch.record);
}

void LevelDelayEditor::btn_op2_polClick(int k)
{
    const Channel ch = outputChannel(k);
    togglePolarity(control<QPushButton>(ch.polarity), ch.record);
}

void LevelDelayEditor::delayChanged(const Channel &ch)
{
    EditorState &s = m_ctx.state;
    const int p = control<QScrollBar>(ch.scroll)->value();
    showDelayTexts(ch, p);
    // Filled from the image: nothing to store, and the wheel stays where the user left it.
    if (s.Refreshing) return;
    s.ParamImage.setWord(ch.record, LevelByte::Delay, p);
    mark(ch.record);
    s.Target.targetSlider(ch.scroll, MaxDelayCode);
}

void LevelDelayEditor::scrlbr_ip0_delayChange()
{
    delayChanged(systemChannel());
}

void LevelDelayEditor::scrlbr_op0_delayChange(int k)
{
    delayChanged(outputChannel(k));
}

void LevelDelayEditor::scrlbr_ip0_delayExit()
{
    m_ctx.state.Target.disarm();
}

void LevelDelayEditor::rztrckbrClick(QSlider *slider)
{
    m_ctx.state.Target.targetSlider(slider->objectName(), 0);
}

void LevelDelayEditor::rztrckbrExit()
{
    m_ctx.state.Target.disarm();
}

// --- level and delay edits ---

void LevelDelayEditor::target(const Channel &ch, int offset, bool selectAll)
{
    const bool level = offset == LevelByte::Level;
    auto *edit = control<ValueEdit>(level ? ch.gainEdit : ch.delayEdit);
    if (selectAll) edit->selectAll();
    m_ctx.state.Target.targetLevelEdit(recordByte(ch.record, offset), ch.record, edit,
                                       level ? ch.slider : ch.scroll, level ? MaxLevelCode : MaxDelayCode);
}

bool LevelDelayEditor::ensureTarget(const Channel &ch, int offset)
{
    const std::optional<int> at = m_ctx.state.Target.EditTarget();
    if (!at) return false;
    if (*at != recordByte(ch.record, offset)) target(ch, offset, false);
    return true;
}

void LevelDelayEditor::levelEditTarget(const Channel &ch)
{
    target(ch, LevelByte::Level, true);
}
void LevelDelayEditor::delayEditTarget(const Channel &ch)
{
    target(ch, LevelByte::Delay, true);
}

void LevelDelayEditor::levelEditCommit(const Channel &ch, bool byReturn)
{
    if (!ensureTarget(ch, LevelByte::Level)) return;
    EditorState &s = m_ctx.state;
    auto *edit = control<ValueEdit>(ch.gainEdit);
    const int at = *s.Target.EditTarget();
    const int old = s.codeAt(at, true);
    double db = 0;
    if (!parseNumber(edit->text(), &db)) {
        edit->setText(levelText(old, ch.system));
        return;
    }
    const int code = levelCodeFromDb(db);
    if (code != old) {
        s.setCodeAt(at, code, true);
        mark(at / RecordSize);
    }
    if (byReturn || code != old) {
        edit->setText(levelText(code, ch.system));
        control<QSlider>(ch.slider)->setValue(code);
        if (byReturn) edit->selectAll();
    }
}

void LevelDelayEditor::delayEditCommit(const Channel &ch, bool byReturn)
{
    if (!ensureTarget(ch, LevelByte::Delay)) return;
    EditorState &s = m_ctx.state;
    auto *edit = control<ValueEdit>(ch.delayEdit);
    const int at = *s.Target.EditTarget();
    const int old = s.codeAt(at, true);
    // Enter writes the value with a space before the unit; the scroll bar's own text has none.
    const auto enterText = [](int code) {
        return fixedText(delayMs(clampDelayCode(code)), 3) + QStringLiteral(" ms");
    };
    double ms = 0;
    if (!parseNumber(edit->text(), &ms)) {
        edit->setText(byReturn ? enterText(old) : delayMsText(old));
        return;
    }
    const int code = delayCodeFromMs(ms);
    if (code != old) {
        s.setCodeAt(at, code, true);
        mark(at / RecordSize);
    }
    if (byReturn || code != old) {
        edit->setText(byReturn ? enterText(code) : delayMsText(code));
        control<QScrollBar>(ch.scroll)->setValue(code);
        if (byReturn) edit->selectAll();
    }
}

bool LevelDelayEditor::stepTarget(const Channel &ch, int offset, int maxCode, int key, int *code)
{
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || !ensureTarget(ch, offset)) return false;
    EditorState &s = m_ctx.state;
    const int at = *s.Target.EditTarget();
    int c = std::clamp(s.codeAt(at, true), 0, maxCode);
    if (key == Qt::Key_Up ? c >= maxCode : c <= 0) return false;
    c += key == Qt::Key_Up ? 1 : -1;
    s.setCodeAt(at, c, true);
    mark(at / RecordSize);
    *code = c;
    return true;
}

void LevelDelayEditor::levelEditKeyDown(const Channel &ch, int key)
{
    int code = 0;
    if (!stepTarget(ch, LevelByte::Level, MaxLevelCode, key, &code)) return;
    control<QLineEdit>(ch.gainEdit)->setText(levelText(code, ch.system));
    control<QSlider>(ch.slider)->setValue(code);
}

void LevelDelayEditor::delayEditKeyDown(const Channel &ch, int key)
{
    int code = 0;
    if (!stepTarget(ch, LevelByte::Delay, MaxDelayCode, key, &code)) return;
    control<QLineEdit>(ch.delayEdit)->setText(delayMsText(code));
    control<QScrollBar>(ch.scroll)->setValue(code);
}

} // namespace spk
