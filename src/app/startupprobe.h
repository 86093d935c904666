#pragma once

class QWidget;
class QString;

namespace spk {

// Developer modes of the program, off unless asked for on the command line:
//   --bench-startup     after the window's first paint, print "first-paint <ms> rss-kb <kB>" and quit
//   --screenshot FILE   after the first paint, save the window's picture to FILE and quit
// Returns true when a mode was armed.
bool armStartupProbe(QWidget *window, int argc, char **argv);

// The screenshot shows the window as a person works in it, not the start-up search's empty
// window: false when --screenshot is given.
bool startupSearchWanted(int argc, char **argv);

// Resident memory of this process in kB (0 where it cannot be read).
long residentKb();

} // namespace spk
