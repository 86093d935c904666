#pragma once

#include <QString>

namespace spk::sim {

class SimBus;

// Keeps the devices' memory between runs as JSON:
//   {"format": "spksim-state", "version": 1,
//    "devices": [{"id": 1, "sysdata": "<96 hex digits>", "image": "<1280 hex digits>",
//                 "presets": [{"slot": 1, "name": "<40 hex digits>", "image": "<1280 hex digits>"}, ...]}]}
// A device of the file is loaded into the line's device with its "id"; the file's devices whose ID
// the line lacks fill the line's remaining devices in order, taking their ID with them (the ID is
// memory too: a device given a new ID keeps it).
namespace SimState {

// 250 devices with all their presets take about 8 MB.
inline constexpr qsizetype MaxFileSize = 16 * 1024 * 1024;
inline constexpr qsizetype MaxDevices = 250;

QByteArray toJson(const SimBus &bus);
// False with `error` set on a damaged file; the bus is left untouched then.
bool fromJson(const QByteArray &json, SimBus &bus, QString *error = nullptr);

// A missing file loads nothing and is not an error.
bool load(const QString &path, SimBus &bus, QString *error = nullptr);
bool save(const QString &path, const SimBus &bus, QString *error = nullptr);

} // namespace SimState
} // namespace spk::sim
