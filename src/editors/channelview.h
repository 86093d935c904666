#pragma once

#include <QObject>

#include <vector>

namespace spk {

struct EditorContext;
class CrossoverEqEditor;
class EqReset;
class LevelDelayEditor;
class PointDrag;

// The channel the crossover/EQ editors and the graph act on (GraphChannel: 0 = ip0 System,
// 1 = op0 satellite, 2 = op1 third output, 3 = op2 subwoofer), and showing records wherever they
// are. Selecting another channel settles the editors on the old one first (a typed value commits,
// a drag or the EQ reset walk ends), then fills the editors and the graph from the new one's
// records without marking anything.
class ChannelView : public QObject
{
    Q_OBJECT
public:
    ChannelView(EditorContext &ctx, CrossoverEqEditor &crossoverEq, LevelDelayEditor &levelDelay,
                EqReset &reset, PointDrag &drag, QObject *parent = nullptr);

    int channel() const;
    // A channel 0..3; others and the one shown already do nothing.
    void select(int channel);

    // What is being edited ends: the focused edit commits, a drag or the EQ reset walk finishes.
    void settle();
    // The selected channel's crossover and bands into the editors, curves recomputed and drawn.
    void showChannel();
    // Restored records into their controls: level records where they are shown, crossover and
    // band records in the editors, selecting their channel first.
    void showRecords(const std::vector<int> &records);

signals:
    void channelChanged(int channel);

private:
    void switchTo(int channel);

    EditorContext &m_ctx;
    CrossoverEqEditor &m_crossoverEq;
    LevelDelayEditor &m_levelDelay;
    EqReset &m_reset;
    PointDrag &m_drag;
};

} // namespace spk
