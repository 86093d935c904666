// spktool's device command lines: arguments separated by NUL bytes, the command first.

#include "fuzzinput.h"
#include "wireoptions.h"

#include <QStringList>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace spk::tool;
    QStringList args;
    for (const QByteArray &part : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0'))
        args << QString::fromUtf8(part);
    for (const QString &arg : args) {
        if (const auto ids = parseIdList(arg)) {
            for (int i = 0; i < ids->size(); ++i)
                spk::fuzz::require(ids->at(i) >= 1 && ids->at(i) <= 250 && (i == 0 || ids->at(i - 1) < ids->at(i)),
                                   "IDs 1..250 ascending, each once");
        }
    }
    const WireCommandInfo *info = wireCommand(args.first());
    if (!info)
        return 0;
    QString error;
    if (const auto options = parseWireOptions(*info, args, &error)) {
        spk::fuzz::require(options->command == QLatin1String(info->name), "command kept");
        spk::fuzz::require(options->id == 0 || (options->id >= 1 && options->id <= 250), "ID in range");
    } else {
        spk::fuzz::require(!error.isEmpty(), "a refused line says why");
    }
    return 0;
}
