// Makes the README's picture of the predicted outputs: the window offscreen with a satellite and
// subwoofer crossed at 99.2 Hz (24db-LR), a system EQ boost, the subwoofer 2 dB down and 2.5 ms late,
// and the overlay on.   build/bench/overlayshot docs/overlay.png
#include "app/mainwindow.h"
#include "window/editorstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    spk::MainWindow window(spk::MainWindowOptions{nullptr, nullptr, false});
    using namespace spk;
    ParamImage &m = window.state().ParamImage;
    m.setWord(levelRecord(Ip0), LevelByte::Level, 300);
    m.setByte(crossoverRecord(Ip0), CrossoverByte::HpfFreq, 20); // 35.1 Hz
    m.setByte(crossoverRecord(Ip0), CrossoverByte::HpfType, 7);
    m.setByte(bandRecord(Ip0, 7), BandByte::Freq, 165); // 2311 Hz, +4 dB
    m.setWord(bandRecord(Ip0, 7), BandByte::Gain, 140);
    m.setWord(bandRecord(Ip0, 7), BandByte::Q, 8);
    m.setByte(crossoverRecord(Op0), CrossoverByte::HpfFreq, 56); // 99.2 Hz
    m.setByte(crossoverRecord(Op0), CrossoverByte::HpfType, 7);
    m.setWord(levelRecord(Op0), LevelByte::Level, 300);
    m.setByte(crossoverRecord(Op2), CrossoverByte::LpfFreq, 56);
    m.setByte(crossoverRecord(Op2), CrossoverByte::LpfType, 7);
    m.setWord(levelRecord(Op2), LevelByte::Level, 290);
    m.setWord(levelRecord(Op2), LevelByte::Delay, 240);
    window.state().Loading = true;
    window.UpdataToComponent();
    window.state().Loading = false;
    window.findChild<QCheckBox *>(QStringLiteral("chk_overlay"))->setChecked(true);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
