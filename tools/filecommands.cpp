// show and response: what a preset file holds, without a device.
#include "filecommands.h"
#include "imagetext.h"

#include "filters/channelresponse.h"
#include "model/paramimage.h"
#include "presets/presetfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace {

using namespace spk;

enum Exit { Success = 0, FileProblem = 1, Usage = 2 };

const char *const ShowHelp = R"(Usage: spktool show FILE [--preset N]

Prints every parameter of the preset's image: for each channel its level, mute, polarity, delay,
high-pass and low-pass filters and ten equaliser bands, in the texts the editor shows.

  --preset N   preset 1..20 of a .gdat file (default 1)
)";

const char *const ResponseHelp = R"(Usage: spktool response FILE [--preset N] [--channel ip0|op0|op1|op2]

Prints the summed response (high-pass, low-pass and ten bands) of one channel as CSV with the
header column,frequency_hz,magnitude_db,phase_rad and one row per graph column 42..713.

  --preset N    preset 1..20 of a .gdat file (default 1)
  --channel C   ip0 (default), op0, op1 or op2
)";

struct Options
{
    QString command;
    QString file;
    int preset = 1;
    int channel = Ip0;
    bool help = false;
};

class Tool
{
public:
    Tool() : m_out(stdout), m_err(stderr) {}

    int run(QStringList args);

private:
    int fail(int code, const QString &message)
    {
        m_err << message << Qt::endl;
        return code;
    }
    std::optional<Options> parse(QStringList args, int *exitCode);
    std::optional<ParamImage> load(const Options &options, int *exitCode);

    QTextStream m_out;
    QTextStream m_err;
};

std::optional<Options> Tool::parse(QStringList args, int *exitCode)
{
    Options o;
    o.command = args.takeFirst();
    const bool response = o.command == QLatin1String("response");
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        const bool takesValue =
            arg.startsWith(QLatin1String("--preset")) || arg.startsWith(QLatin1String("--channel"));
        if (takesValue && arg.contains(u'=')) {
            value = arg.section(u'=', 1);
            arg = arg.section(u'=', 0, 0);
        } else if (takesValue && (arg == QLatin1String("--preset") || arg == QLatin1String("--channel"))) {
            if (i + 1 >= args.size()) {
                *exitCode = fail(Usage, QStringLiteral("spktool %1: %2 needs a value").arg(o.command, arg));
                return std::nullopt;
            }
            value = args[++i];
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
        } else if (arg == QLatin1String("--preset")) {
            bool ok = false;
            o.preset = value.toInt(&ok);
            if (!ok || o.preset < 1 || o.preset > PresetFile::PresetCount) {
                *exitCode = fail(Usage, QStringLiteral("spktool %1: --preset must be 1..20").arg(o.command));
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--channel") && response) {
            o.channel = -1;
            for (int c = 0; c < ChannelCount; ++c) {
                if (value == QLatin1String(ChannelGroups[c].name)) o.channel = c;
            }
            if (o.channel < 0) {
                *exitCode =
                    fail(Usage, QStringLiteral("spktool response: --channel must be ip0, op0, op1 or op2"));
                return std::nullopt;
            }
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            *exitCode = fail(Usage, QStringLiteral("spktool %1: unknown option '%2'").arg(o.command, arg));
            return std::nullopt;
        } else if (o.file.isEmpty()) {
            o.file = arg;
        } else {
            *exitCode =
                fail(Usage, QStringLiteral("spktool %1: unexpected argument '%2'").arg(o.command, arg));
            return std::nullopt;
        }
    }
    if (!o.help && o.file.isEmpty()) {
        *exitCode =
            fail(Usage, QStringLiteral("spktool %1: missing FILE (see spktool %1 --help)").arg(o.command));
        return std::nullopt;
    }
    return o;
}

std::optional<ParamImage> Tool::load(const Options &options, int *exitCode)
{
    const bool group =
        QFileInfo(options.file).suffix().compare(QLatin1String("gdat"), Qt::CaseInsensitive) == 0;
    if (!group && options.preset != 1) {
        *exitCode =
            fail(Usage, QStringLiteral("spktool %1: --preset applies to .gdat files").arg(options.command));
        return std::nullopt;
    }
    const PresetFile::Content content =
        group ? PresetFile::readGdat(options.file) : PresetFile::readSdat(options.file);
    switch (content.status) {
    case PresetFile::Status::Ok:
        break;
    case PresetFile::Status::Unreadable:
        *exitCode =
            fail(FileProblem, QStringLiteral("spktool: cannot open %1: %2").arg(options.file, content.error));
        return std::nullopt;
    case PresetFile::Status::Empty:
        *exitCode = fail(FileProblem, QStringLiteral("spktool: %1 is empty").arg(options.file));
        return std::nullopt;
    case PresetFile::Status::Damaged:
        *exitCode = fail(FileProblem, QStringLiteral("File damaged."));
        return std::nullopt;
    }
    ParamImage image;
    image.setBytes(PresetFile::imageOfRecord(content.records[group ? options.preset - 1 : 0]));
    return image;
}

int Tool::run(QStringList args)
{
    int exitCode = Success;
    const std::optional<Options> options = parse(args, &exitCode);
    if (!options) return exitCode;
    const bool show = options->command == QLatin1String("show");
    if (options->help) {
        m_out << (show ? ShowHelp : ResponseHelp);
        return Success;
    }
    const std::optional<ParamImage> image = load(*options, &exitCode);
    if (!image) return exitCode;
    if (show) {
        m_out << describeImage(*image).join(u'\n') << Qt::endl;
    } else {
        ChannelResponse response(options->channel);
        response.computeAll(*image);
        m_out << responseCsv(response).join(u'\n') << Qt::endl;
    }
    return Success;
}

} // namespace

namespace spk::tool {

bool isFileCommand(const QString &name)
{
    return name == QLatin1String("show") || name == QLatin1String("response");
}

int runFileCommand(const QStringList &args)
{
    return Tool().run(args);
}

} // namespace spk::tool
