// The song component stream: reads songs one after the other until the bytes run out or a record is
// refused; every song read writes out and reads back, and a second write settles on the same bytes.
#include "fuzz/fuzzcheck.h"

#include "core/songs/audiotagstream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace {

std::string Written(const TaudioTag& song)
{
    TstreamWriter out;
    WriteAudioTagComponent(out, song);
    return out.Bytes();
}

std::unique_ptr<TaudioTag> ReadBack(const std::string& bytes)
{
    TstreamReader in(bytes);
    std::unique_ptr<TaudioTag> song;
    try {
        song = ReadAudioTagComponent(in);
    } catch (const EReadError&) {
        FuzzCheck(false, "a written song reads back");
    }
    FuzzCheck(in.Remaining() == 0, "a written song is read to its end");
    return song;
}

void CheckRoundTrip(const TaudioTag& song)
{
    const std::string second = Written(*ReadBack(Written(song)));
    FuzzCheck(Written(*ReadBack(second)) == second, "writing a read song settles");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TstreamReader in(std::string_view(reinterpret_cast<const char*>(data), size));
    while (in.Remaining() > 0) {
        std::unique_ptr<TaudioTag> song;
        try {
            song = ReadAudioTagComponent(in);
        } catch (const EReadError&) {
            break;
        }
        CheckRoundTrip(*song);
    }
    return 0;
}
