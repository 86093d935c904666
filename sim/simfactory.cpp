// Factory memory of a simulated device: presets that differ from the editor's start-up defaults,
// so that a read from the device visibly changes what the editor shows.
#include "simdevice.h"

#include "model/paramimage.h"

namespace spk::sim {

namespace {

void setLevel(ParamImage &img, int channel, int level, int delay, bool mute, bool inverted)
{
    const int r = levelRecord(channel);
    img.setByte(r, LevelByte::Mute, mute ? 1 : 0);
    img.setByte(r, LevelByte::Polarity, inverted ? 1 : 0);
    img.setWord(r, LevelByte::Level, level);
    img.setWord(r, LevelByte::Delay, delay);
}

void setCrossover(ParamImage &img, int channel, int hpf, int hpfType, int lpf, int lpfType)
{
    const int r = crossoverRecord(channel);
    img.setByte(r, CrossoverByte::HpfFreq, hpf);
    img.setByte(r, CrossoverByte::HpfType, hpfType);
    img.setByte(r, CrossoverByte::LpfFreq, lpf);
    img.setByte(r, CrossoverByte::LpfType, lpfType);
}

void setBand(ParamImage &img, int channel, int band, int freq, int type, int gain, int q, bool bypass)
{
    const int r = bandRecord(channel, band);
    img.setByte(r, BandByte::Freq, freq);
    img.setByte(r, BandByte::Type, type);
    img.setWord(r, BandByte::Gain, gain);
    img.setByte(r, BandByte::Bypass, bypass ? 1 : 0);
    img.setWord(r, BandByte::Q, q);
}

} // namespace

QByteArray SimDevice::factoryImage(int preset)
{
    const int v = qBound(1, preset, PresetCount) - 1;
    ParamImage img;
    img.initDefaults();

    setLevel(img, Ip0, 250 - 3 * v, 0, false, false);
    setCrossover(img, Ip0, 40 + v, 7, 220 - v, 7);
    static constexpr int Shape[BandCount] = {10, -15, 0, 5, -5, 20, -10, 0, 15, -20};
    for (int k = 0; k < BandCount; ++k) {
        const int gain = qBound(0, 120 + Shape[(k + v) % BandCount], 180);
        const int type = k == 0 ? 1 : k == BandCount - 1 ? 4 : 0;
        setBand(img, Ip0, k, 30 + 20 * k, type, gain, 30 + k, k == 7);
    }

    setLevel(img, Op0, 285, 96, false, false);
    setCrossover(img, Op0, 60, 4, 240, 0);
    setLevel(img, Op2, 270, 192, false, true);
    setCrossover(img, Op2, 10, 7, 80, 7);
    for (int k = 0; k < BandCount; ++k) {
        setBand(img, Op0, k, 100 + 12 * k, 0, 120, 24, false);
        setBand(img, Op2, k, 5 + 6 * k, 0, k == 2 ? 130 : 120, 20, false);
    }

    // A mark in the spare records; the editor carries them unchanged.
    img.setRecord(75, {'S', 'I', 'M', std::uint8_t(preset), 0, 0, 0, 0});

    const auto bytes = img.bytes();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), ImageSize);
}

QByteArray SimDevice::factoryName(int preset)
{
    static const char *const Names[] = {"Flat", "Speech", "Music",   "Live Band",
                                        "Club", "Cinema", "Outdoor", "My Setup"};
    if (preset < 1 || preset > 8) return QByteArray(NameLength, '\0'); // never named
    return QByteArray(Names[preset - 1]).leftJustified(NameLength, ' ');
}

} // namespace spk::sim
