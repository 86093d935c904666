#pragma once

#include <QString>

namespace spk::sim {

// The folder of virtual adapters the editor's port catalog lists, and publishing a pty there.
namespace SimPorts {

// $XDG_RUNTIME_DIR/spkedit/ports, or /tmp/spkedit-<uid>/ports without XDG_RUNTIME_DIR.
QString directory();
// Links `target` as ttySIM<n> with the lowest free n (a link whose target is gone counts as free)
// and returns the link's path; creates the folder. Empty with `error` set on failure.
QString publish(const QString &target, QString *error = nullptr);
// Removes the link if it still points at `target` (another simulator may have taken the name over).
void unpublish(const QString &linkPath, const QString &target);

} // namespace SimPorts
} // namespace spk::sim
