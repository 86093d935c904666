// The preset file readers (.sdat, .gdat): any text, and the images of the records they accept.

#include "fuzzinput.h"

#include "presets/presetfile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    spk::fuzz::quietLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using spk::PresetFile;
    spk::fuzz::Input in(data, size);
    const bool group = in.byte() & 1;
    const QByteArray text = in.rest();
    const PresetFile::Content content = group ? PresetFile::parseGdat(text) : PresetFile::parseSdat(text);
    if (content.status != PresetFile::Status::Ok) {
        spk::fuzz::require(content.records.isEmpty(), "nothing loaded from a refused file");
        return 0;
    }
    spk::fuzz::require(content.records.size() == (group ? PresetFile::PresetCount : 1), "record count");
    for (const QByteArray &record : content.records) {
        spk::fuzz::require(PresetFile::isRecord(record), "records accepted are records");
        const auto image = PresetFile::imageOfRecord(record);
        // What a writer makes of an accepted image reads back as the same image.
        const QByteArray again = PresetFile::recordText(image, 0, 1, 0x28);
        spk::fuzz::require(PresetFile::imageOfRecord(again) == image, "image survives a round trip");
    }
    return 0;
}
