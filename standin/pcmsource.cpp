#include "pcmsource.h"

#include "pcmwave.h"
#include "platform/qtstring.h"

#include <vector>

TpcmSource::TpcmSource(const TpcmWave& wave, std::uint64_t startByte)
    : file_(platform::ToQString(wave.FileName())), start_(wave.DataOffset() + startByte),
      remaining_(wave.DataSize() - startByte), widen24_(!wave.IsFloat() && wave.BitsPerSample() == 24)
{}

bool TpcmSource::Open()
{
    if (!file_.open(QIODevice::ReadOnly) || !file_.seek(static_cast<qint64>(start_)))
        return false;
    return open(QIODevice::ReadOnly);
}

qint64 TpcmSource::bytesAvailable() const
{
    const std::uint64_t left = widen24_ ? remaining_ / 3 * 4 : remaining_;
    return static_cast<qint64>(left) + QIODevice::bytesAvailable();
}

qint64 TpcmSource::readData(char* data, qint64 maxSize)
{
    if (remaining_ == 0 || maxSize <= 0)
        return 0;
    if (!widen24_) {
        const qint64 wanted = std::min<qint64>(maxSize, static_cast<qint64>(remaining_));
        const qint64 got = file_.read(data, wanted);
        if (got <= 0) {
            remaining_ = 0; // a file cut short ends the song
            return 0;
        }
        remaining_ -= static_cast<std::uint64_t>(got);
        return got;
    }
    const qint64 samples = std::min<qint64>(maxSize / 4, static_cast<qint64>(remaining_ / 3));
    if (samples == 0)
        return 0;
    std::vector<unsigned char> packed(static_cast<std::size_t>(samples) * 3);
    const qint64 got = file_.read(reinterpret_cast<char*>(packed.data()), static_cast<qint64>(packed.size()));
    if (got < 3) {
        remaining_ = 0;
        return 0;
    }
    const qint64 whole = got / 3;
    remaining_ -= static_cast<std::uint64_t>(whole * 3);
    for (qint64 i = 0; i < whole; ++i) {
        data[i * 4] = 0;
        data[i * 4 + 1] = static_cast<char>(packed[static_cast<std::size_t>(i * 3)]);
        data[i * 4 + 2] = static_cast<char>(packed[static_cast<std::size_t>(i * 3 + 1)]);
        data[i * 4 + 3] = static_cast<char>(packed[static_cast<std::size_t>(i * 3 + 2)]);
    }
    return whole * 4;
}
