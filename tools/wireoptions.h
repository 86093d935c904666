#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace spk::tool {

// The command line of one device command, checked: IDs within 1..250, one port where one is meant,
// the right number of arguments.
struct WireOptions
{
    QString command;
    QStringList ports;  // --port, in order given
    int id = 0;         // --id
    QList<int> ids;     // --ids of scan and fleet jobs, ascending
    bool idsGiven = false;
    // backup or meter over several ports or --ids: every device of every line
    bool fleet = false;
    bool json = false;  // scan, fleet jobs
    bool watch = false; // meter
    bool yes = false;   // restore, put, set-id
    bool quiet = false; // no progress
    bool help = false;
    QStringList arguments; // FILE or NEW
};

struct WireCommandInfo
{
    const char *name;
    const char *options;   // the options it takes, e.g. "port id yes"
    const char *arguments; // its argument, e.g. "FILE"; empty for none
    const char *help;
};

// The device commands; null for another name.
const WireCommandInfo *wireCommand(const QString &name);
QList<WireCommandInfo> wireCommands();

// Parses args (the command first). On a usage error returns nullopt and sets error.
std::optional<WireOptions> parseWireOptions(const WireCommandInfo &info, const QStringList &args,
                                            QString *error);

// The options every device command takes, for its --help.
QString commonHelp();

// "5", "1-250", "1,5,9-12": IDs 1..250, ascending, each once; nullopt for anything else.
std::optional<QList<int>> parseIdList(const QString &text);

} // namespace spk::tool
