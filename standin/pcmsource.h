#pragma once

#include <QFile>
#include <QIODevice>

#include <cstdint>

class TpcmWave;

// Feeds a WAVE file's samples to an audio sink from a given byte on. 24-bit samples are widened to 32 bits
// on the way, since audio sinks take no 24-bit format.
class TpcmSource : public QIODevice
{
public:
    TpcmSource(const TpcmWave& wave, std::uint64_t startByte);

    // Opens the file for reading; false when it cannot be read.
    bool Open();

    bool isSequential() const override { return true; }
    bool atEnd() const override { return remaining_ == 0; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile file_;
    std::uint64_t start_;
    std::uint64_t remaining_;
    bool widen24_;
};
