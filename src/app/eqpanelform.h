#pragma once

class QGroupBox;

namespace spk {

// The controls of the crossover and equaliser panel (grp1): the response graph in pnl1, the
// hidden phase box, the crossover row with "Filters reset", and the ten band columns.
class EqPanelForm
{
public:
    static void build(QGroupBox *panel);

private:
    static void buildGraph(QGroupBox *panel);
    static void buildCrossover(QGroupBox *panel);
    static void buildBands(QGroupBox *panel);
};

} // namespace spk
