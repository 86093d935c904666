#include "editors/leveldelayeditor.h"

#include "app/editorcontext.h"
#include "editors/buttonface.h"
#include "editors/valueedit.h"
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
QString digitAt(const QString &name, int index)
{
    return name.size() > index ? name.mid(index, 1) : QString();
}
int outputRecord(int k)
{
    return levelRecord(Op0) + 19 * k;
} // op0 18, op2 56
} // namespace

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

LevelDelayEditor::Channel LevelDelayEditor::channelOf(const QString &editName)
{
    if (editName.startsWith(QLatin1String("edt_ip0_"))) return systemChannel();
    const QString d = digitAt(editName, 6); // edt_op2_gain, edt_op2_delay
    if (editName.startsWith(QLatin1String("edt_op")) && (d == u'0' || d == u'2'))
        return outputChannel(d.toInt());
    return Channel();
}

void LevelDelayEditor::attach()
{
    ControlLookup &c = m_ctx.controls;
    if (auto *s = c.get<QSlider>(QStringLiteral("rztrckbr_ingain"))) {
        connect(s, &QSlider::valueChanged, this, [this] { rztrckbr_ingainChange(); });
        s->installEventFilter(this);
    }
    for (int k : {0, 2}) {
        const Channel ch = outputChannel(k);
        if (auto *s = c.get<QSlider>(ch.slider)) {
            connect(s, &QSlider::valueChanged, this, [this, s] { rztrckbr_op2_gainChange(s); });
            s->installEventFilter(this);
        }
        if (auto *b = c.get<QScrollBar>(ch.scroll)) {
            connect(b, &QScrollBar::valueChanged, this, [this, b] { scrlbr_op0_delayChange(b); });
            b->installEventFilter(this);
        }
        if (auto *b = c.get<QPushButton>(ch.mute))
            connect(b, &QPushButton::clicked, this, [this, b] { btn_op2_muteClick(b); });
        if (auto *b = c.get<QPushButton>(ch.polarity))
            connect(b, &QPushButton::clicked, this, [this, b] { btn_op2_polClick(b); });
    }
    if (auto *b = c.get<QScrollBar>(QStringLiteral("scrlbr_ip0_delay"))) {
        connect(b, &QScrollBar::valueChanged, this, [this] { scrlbr_ip0_delayChange(); });
        b->installEventFilter(this);
    }
    if (auto *b = c.get<QPushButton>(QStringLiteral("btn_ip0_mute")))
        connect(b, &QPushButton::clicked, this, [this] { btn_ip0_muteClick(); });
    if (auto *b = c.get<QPushButton>(QStringLiteral("btn_ip0_pol")))
        connect(b, &QPushButton::clicked, this, [this] { btn_ip0_polClick(); });

    for (const QString &name :
         {QStringLiteral("edt_ip0_gain"), QStringLiteral("edt_op0_gain"), QStringLiteral("edt_op2_gain")}) {
        if (auto *e = c.get<ValueEdit>(name)) {
            e->setAcceptsMinus(true);
            e->onEnter = [this, e] { levelEditTarget(e); };
            e->onMouseUp = [this, e] { levelEditTarget(e); };
            e->onReturn = [this, e] { levelEditCommit(e, true); };
            e->onExit = [this, e] { levelEditCommit(e, false); };
            e->onKeyDown = [this, e](int key) { levelEditKeyDown(e, key); };
        }
    }
    for (const QString &name : {QStringLiteral("edt_ip0_delay"), QStringLiteral("edt_op0_delay"),
                                QStringLiteral("edt_op2_delay")}) {
        if (auto *e = c.get<ValueEdit>(name)) {
            e->setAcceptsMinus(false);
            e->onEnter = [this, e] { delayEditTarget(e); };
            e->onMouseUp = [this, e] { delayEditTarget(e); };
            e->onReturn = [this, e] { delayEditCommit(e, true); };
            e->onExit = [this, e] { delayEditCommit(e, false); };
            e->onKeyDown = [this, e](int key) { delayEditKeyDown(e, key); };
        }
    }
}

bool LevelDelayEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
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
    ControlLookup &c = m_ctx.controls;
    const int level = image.word(ch.record, LevelByte::Level);
    if (auto *e = c.get<QLineEdit>(ch.gainEdit)) e->setText(levelText(level, false));
    if (auto *s = c.get<QSlider>(ch.slider)) s->setValue(clampLevelCode(level));
    showPolarity(ch.polarity, image.byte(ch.record, LevelByte::Polarity));
    setButtonFace(c.get<QPushButton>(ch.mute), image.byte(ch.record, LevelByte::Mute) ? MuteRed : QColor());
    const int delay = image.word(ch.record, LevelByte::Delay);
    if (auto *b = c.get<QScrollBar>(ch.scroll)) b->setValue(clampDelayCode(delay));
    showDelayTexts(ch, delay);
}

void LevelDelayEditor::showSystemLevel()
{
    const Channel ch = systemChannel();
    const int level = m_ctx.state.ParamImage.word(ch.record, LevelByte::Level);
    if (auto *e = m_ctx.controls.get<QLineEdit>(ch.gainEdit)) e->setText(levelText(level, true));
    if (auto *s = m_ctx.controls.get<QSlider>(ch.slider)) s->setValue(clampLevelCode(level));
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
    if (auto *b = m_ctx.controls.get<QScrollBar>(ch.scroll)) b->setValue(clampDelayCode(delay));
    showDelayTexts(ch, delay);
}

void LevelDelayEditor::showDelayTexts(const Channel &ch, int code)
{
    if (auto *e = m_ctx.controls.get<QLineEdit>(ch.delayEdit)) e->setText(delayMsText(code));
    if (auto *l = m_ctx.controls.get<QLabel>(ch.metres)) l->setText(delayMetresText(code));
    if (auto *l = m_ctx.controls.get<QLabel>(ch.feet)) l->setText(delayFeetText(code));
}

void LevelDelayEditor::showPolarity(const QString &name, int polarityByte)
{
    auto *b = m_ctx.controls.get<QPushButton>(name);
    if (!b) return;
    b->setText(polarityText(polarityByte));
    setButtonFace(b, polarityByte ? PolarityYellow : LightGrey);
}

// --- track bars, scroll bars, buttons ---

void LevelDelayEditor::rztrckbr_ingainChange()
{
    EditorState &s = m_ctx.state;
    const Channel ch = systemChannel();
    auto *slider = m_ctx.controls.get<QSlider>(ch.slider);
    if (!slider) return;
    const int p = slider->value();
    auto *edit = m_ctx.controls.get<QLineEdit>(ch.gainEdit);
    auto *mute = m_ctx.controls.get<QPushButton>(ch.mute);
    if (edit) edit->setText(levelText(p, true));
    setButtonFace(mute, p != 0 ? LightGrey : MuteRed);
    if (!s.Refreshing) s.ParamImage.setWord(ch.record, LevelByte::Level, p);
    if (!s.MuteClickBusy) s.SavedSystemLevel = p;
    s.MuteClickBusy = false;
    if (!s.Refreshing) s.markRecord(ch.record);
}

void LevelDelayEditor::rztrckbr_op2_gainChange(QSlider *slider)
{
    EditorState &s = m_ctx.state;
    const QString d = digitAt(slider->objectName(), 11); // rztrckbr_op2_gain
    const Channel ch = outputChannel(d.toInt());
    const int p = slider->value();
    if (auto *edit = m_ctx.controls.get<QLineEdit>(ch.gainEdit)) edit->setText(levelText(p, false));
    if (s.Refreshing) return;
    s.ParamImage.setWord(ch.record, LevelByte::Level, p);
    s.markRecord(ch.record);
}

void LevelDelayEditor::btn_ip0_muteClick()
{
    EditorState &s = m_ctx.state;
    s.MuteClickBusy = true;
    const bool muted = buttonFace(m_ctx.controls.get<QPushButton>(QStringLiteral("btn_ip0_mute"))) == MuteRed;
    if (auto *slider = m_ctx.controls.get<QSlider>(QStringLiteral("rztrckbr_ingain")))
        slider->setValue(muted ? s.SavedSystemLevel : 0);
    s.markRecord(levelRecord(Ip0));
}

void LevelDelayEditor::btn_op2_muteClick(QPushButton *button)
{
    EditorState &s = m_ctx.state;
    const int record = outputRecord(digitAt(button->objectName(), 6).toInt()); // btn_op2_mute
    // Any nonzero byte is muted, so one click always unmutes what the button shows muted.
    const bool muted = s.ParamImage.byte(record, LevelByte::Mute) != 0;
    s.ParamImage.setByte(record, LevelByte::Mute, muted ? 0 : 1);
    setButtonFace(button, muted ? QColor() : MuteRed);
    s.markRecord(record);
}

void LevelDelayEditor::togglePolarity(QPushButton *button, int record)
{
    EditorState &s = m_ctx.state;
    const int now = s.ParamImage.byte(record, LevelByte::Polarity) == 0 ? 1 : 0;
    s.ParamImage.setByte(record, LevelByte::Polarity, now);
    if (button) {
        button->setText(polarityText(now));
        setButtonFace(button, now ? PolarityYellow : LightGrey);
    }
    s.markRecord(record);
}

void LevelDelayEditor::btn_ip0_polClick()
{
    togglePolarity(m_ctx.controls.get<QPushButton>(QStringLiteral("btn_ip0_pol")), levelRecord(Ip0));
}

void LevelDelayEditor::btn_op2_polClick(QPushButton *button)
{
    togglePolarity(button, outputRecord(digitAt(button->objectName(), 6).toInt())); // btn_op2_pol
}

void LevelDelayEditor::delayChanged(const Channel &ch, QAbstractSlider *bar)
{
    EditorState &s = m_ctx.state;
    const int p = bar->value();
    showDelayTexts(ch, p);
    // Filled from the image: nothing to store, and the wheel stays where the user left it.
    if (s.Refreshing) return;
    s.ParamImage.setWord(ch.record, LevelByte::Delay, p);
    s.markRecord(ch.record);
    s.EditTargetName = bar->objectName();
    s.Set_OpenMouseWheel(0, MaxDelayCode);
}

void LevelDelayEditor::scrlbr_ip0_delayChange()
{
    if (auto *bar = m_ctx.controls.get<QScrollBar>(QStringLiteral("scrlbr_ip0_delay")))
        delayChanged(systemChannel(), bar);
}

void LevelDelayEditor::scrlbr_op0_delayChange(QScrollBar *bar)
{
    delayChanged(outputChannel(digitAt(bar->objectName(), 9).toInt()), bar); // scrlbr_op2_delay
}

void LevelDelayEditor::scrlbr_ip0_delayExit()
{
    m_ctx.state.WheelOpen = false;
    m_ctx.state.EditTargetName.clear();
}

void LevelDelayEditor::rztrckbrClick(QSlider *slider)
{
    m_ctx.state.EditTargetName = slider->objectName();
    m_ctx.state.Set_OpenMouseWheel(0, 0);
}

void LevelDelayEditor::rztrckbrExit()
{
    m_ctx.state.WheelOpen = false;
    m_ctx.state.EditTargetName.clear();
}

// --- level and delay edits ---

void LevelDelayEditor::target(ValueEdit *edit, int offset, bool selectAll)
{
    const Channel ch = channelOf(edit->objectName());
    if (ch.record < 0) return;
    EditorState &s = m_ctx.state;
    if (selectAll) edit->selectAll();
    const bool level = offset == LevelByte::Level;
    s.EditTarget = recordByte(ch.record, offset);
    s.LastEdited = ch.record;
    s.EditTargetName = level ? ch.slider : ch.scroll;
    s.EditTargetControl = edit;
    s.Set_OpenMouseWheel(0, level ? MaxLevelCode : MaxDelayCode);
}

bool LevelDelayEditor::ensureTarget(ValueEdit *edit, int offset)
{
    const EditorState &s = m_ctx.state;
    const Channel ch = channelOf(edit->objectName());
    if (!s.EditTarget || ch.record < 0) return false;
    if (*s.EditTarget != recordByte(ch.record, offset)) target(edit, offset, false);
    return true;
}

void LevelDelayEditor::levelEditTarget(ValueEdit *edit)
{
    target(edit, LevelByte::Level, true);
}
void LevelDelayEditor::delayEditTarget(ValueEdit *edit)
{
    target(edit, LevelByte::Delay, true);
}

void LevelDelayEditor::levelEditCommit(ValueEdit *edit, bool byReturn)
{
    if (!ensureTarget(edit, LevelByte::Level)) return;
    EditorState &s = m_ctx.state;
    const Channel ch = channelOf(edit->objectName());
    const int at = *s.EditTarget;
    const int old = s.codeAt(at, true);
    double db = 0;
    if (!parseNumber(edit->text(), &db)) {
        edit->setText(levelText(old, ch.system));
        return;
    }
    const int code = levelCodeFromDb(db);
    if (code != old) {
        s.setCodeAt(at, code, true);
        s.markRecord(at / RecordSize);
    }
    if (byReturn || code != old) {
        edit->setText(levelText(code, ch.system));
        if (auto *slider = m_ctx.controls.get<QSlider>(ch.slider)) slider->setValue(code);
        if (byReturn) edit->selectAll();
    }
}

void LevelDelayEditor::delayEditCommit(ValueEdit *edit, bool byReturn)
{
    if (!ensureTarget(edit, LevelByte::Delay)) return;
    EditorState &s = m_ctx.state;
    const Channel ch = channelOf(edit->objectName());
    const int at = *s.EditTarget;
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
        s.markRecord(at / RecordSize);
    }
    if (byReturn || code != old) {
        edit->setText(byReturn ? enterText(code) : delayMsText(code));
        if (auto *bar = m_ctx.controls.get<QScrollBar>(ch.scroll)) bar->setValue(code);
        if (byReturn) edit->selectAll();
    }
}

void LevelDelayEditor::levelEditKeyDown(ValueEdit *edit, int key)
{
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || !ensureTarget(edit, LevelByte::Level)) return;
    EditorState &s = m_ctx.state;
    const Channel ch = channelOf(edit->objectName());
    const int at = *s.EditTarget;
    int code = std::clamp(s.codeAt(at, true), 0, MaxLevelCode);
    if (key == Qt::Key_Up ? code >= MaxLevelCode : code <= 0) return;
    code += key == Qt::Key_Up ? 1 : -1;
    s.setCodeAt(at, code, true);
    s.markRecord(at / RecordSize);
    edit->setText(levelText(code, ch.system));
    if (auto *slider = m_ctx.controls.get<QSlider>(ch.slider)) slider->setValue(code);
}

void LevelDelayEditor::delayEditKeyDown(ValueEdit *edit, int key)
{
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || !ensureTarget(edit, LevelByte::Delay)) return;
    EditorState &s = m_ctx.state;
    const Channel ch = channelOf(edit->objectName());
    const int at = *s.EditTarget;
    int code = std::clamp(s.codeAt(at, true), 0, MaxDelayCode);
    if (key == Qt::Key_Up ? code >= MaxDelayCode : code <= 0) return;
    code += key == Qt::Key_Up ? 1 : -1;
    s.setCodeAt(at, code, true);
    s.markRecord(at / RecordSize);
    edit->setText(delayMsText(code));
    if (auto *bar = m_ctx.controls.get<QScrollBar>(ch.scroll)) bar->setValue(code);
}

} // namespace spk
