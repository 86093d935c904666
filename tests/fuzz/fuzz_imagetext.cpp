// spktool's show and response texts of any 640-byte image, codes outside the tables included.

#include "fuzzinput.h"
#include "imagetext.h"

#include "filters/channelresponse.h"
#include "model/layout.h"
#include "model/paramimage.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    spk::fuzz::Input in(data, size);
    const int channel = in.byte() % spk::ChannelCount;
    const QByteArray bytes = in.take(spk::ImageSize);
    spk::ParamImage image;
    image.setBytes(std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()), bytes.size()));
    spk::fuzz::require(!spk::describeImage(image).isEmpty(), "description");
    spk::ChannelResponse response(channel);
    response.computeAll(image);
    const QStringList csv = spk::responseCsv(response);
    spk::fuzz::require(csv.size() > 1, "response rows");
    for (const QString &row : csv)
        spk::fuzz::require(!row.contains(u"nan", Qt::CaseInsensitive), "no NaN in the response");
    return 0;
}
