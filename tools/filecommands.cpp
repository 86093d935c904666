// show and response: what a preset file holds, without a device.
#include "filecommands.h"
#include "imagetext.h"

#include "filters/channelresponse.h"
#include "filters/outputprediction.h"
#include "model/paramimage.h"
#include "presets/presetfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <array>
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
       spktool response FILE [--preset N] --output sat|sub|third|sum

Prints the summed response (high-pass, low-pass and ten bands) of one channel as CSV with the
header column,frequency_hz,magnitude_db,phase_rad and one row per graph column 42..713.

With --output, the predicted response at an output instead, as the editor's overlay draws it:
the system input's filters in series with the output's, at the output's level, polarity and
delay (phase within -pi..pi). A muted output prints the header alone.

  --preset N    preset 1..20 of a .gdat file (default 1)
  --channel C   ip0 (default), op0, op1 or op2
  --output O    sat (op0), sub (op2), third (op1), or sum (the complex sum of sat and sub)
)";

// --output's values and the channel each predicts; Ip0 stands for the sum.
constexpr struct
{
    const char *name;
    int channel;
} OutputNames[] = {{"sat", Op0}, {"sub", Op2}, {"third", Op1}, {"sum", Ip0}};

struct Options
{
    QString command;
    QString file;
    int preset = 1;
    int channel = Ip0;
    bool channelGiven = false;
    int output = -1; // a channel of OutputNames, -1 without --output
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
    void printPrediction(const ParamImage &image, int output);

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
        const bool takesValue = arg.startsWith(QLatin1String("--preset")) ||
                                arg.startsWith(QLatin1String("--channel")) ||
                                arg.startsWith(QLatin1String("--output"));
        if (takesValue && arg.contains(u'=')) {
            value = arg.section(u'=', 1);
            arg = arg.section(u'=', 0, 0);
        } else if (takesValue && (arg == QLatin1String("--preset") || arg == QLatin1String("--channel") ||
                                  arg == QLatin1String("--output"))) {
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
            o.channelGiven = true;
            for (int c = 0; c < ChannelCount; ++c) {
                if (value == QLatin1String(ChannelGroups[c].name)) o.channel = c;
            }
            if (o.channel < 0) {
                *exitCode =
                    fail(Usage, QStringLiteral("spktool response: --channel must be ip0, op0, op1 or op2"));
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--output") && response) {
            o.output = -1;
            for (const auto &n : OutputNames) {
                if (value == QLatin1String(n.name)) o.output = n.channel;
            }
            if (o.output < 0) {
                *exitCode =
                    fail(Usage, QStringLiteral("spktool response: --output must be sat, sub, third or sum"));
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
    if (o.channelGiven && o.output >= 0) {
        *exitCode = fail(Usage, QStringLiteral("spktool response: give --channel or --output, not both"));
        return std::nullopt;
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

void Tool::printPrediction(const ParamImage &image, int output)
{
    std::array<ChannelResponse, ChannelCount> responses{ChannelResponse(Ip0), ChannelResponse(Op0),
                                                        ChannelResponse(Op1), ChannelResponse(Op2)};
    for (ChannelResponse &r : responses)
        r.computeAll(image);
    OutputPrediction prediction(output == Op1);
    prediction.update(image, responses);
    const Curve *curve = output == Ip0 ? prediction.sum() : prediction.output(output);
    if (!curve)
        m_err << (output == Ip0 ? QStringLiteral("spktool response: both outputs are muted")
                                : QStringLiteral("spktool response: %1 is muted")
                                      .arg(QLatin1String(ChannelGroups[output].name)))
              << Qt::endl;
    m_out << curveCsv(curve, FrequencyGrid::standard()).join(u'\n') << Qt::endl;
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
    } else if (options->output < 0) {
        ChannelResponse response(options->channel);
        response.computeAll(*image);
        m_out << responseCsv(response).join(u'\n') << Qt::endl;
    } else {
        printPrediction(*image, options->output);
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
