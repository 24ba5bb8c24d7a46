#include "soundoutput.h"

#include "pcmsource.h"
#include "pcmwave.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>

// A faster clock plays no sound: the device would play at its own pace.
namespace {

// How long the clock waits for a device to take its first samples.
constexpr qint64 kDeviceStartMs = 2000;

} // namespace

TsoundOutput::TsoundOutput(bool silent, double speed)
    : silent_(silent || (speed > 0 && speed != 1.0)), speed_(speed > 0 ? speed : 1.0)
{}

TsoundOutput::~TsoundOutput()
{
    StopDevice();
}

void TsoundOutput::Start(const TpcmWave& wave, std::uint32_t fromMs)
{
    Stop();
    lengthMs_ = wave.LengthMs();
    fromMs = std::min(fromMs, lengthMs_);
    paused_ = false;
    baseMs_ = fromMs;
    // A device takes a moment to start; the clock starts when it has.
    if (!silent_ && StartDevice(wave, fromMs)) {
        waitingForDevice_ = true;
        deviceStart_.start();
    } else {
        StartClock(fromMs);
    }
}

bool TsoundOutput::StartDevice(const TpcmWave& wave, std::uint32_t fromMs)
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(wave.SampleRate());
    format.setChannelCount(wave.Channels());
    if (wave.IsFloat())
        format.setSampleFormat(QAudioFormat::Float);
    else if (wave.BitsPerSample() == 8)
        format.setSampleFormat(QAudioFormat::UInt8);
    else if (wave.BitsPerSample() == 16)
        format.setSampleFormat(QAudioFormat::Int16);
    else
        format.setSampleFormat(QAudioFormat::Int32);
    if (device.isNull() || !device.isFormatSupported(format))
        return false;
    auto source = std::make_unique<TpcmSource>(wave, wave.ByteAt(fromMs));
    if (!source->Open())
        return false;
    source_ = std::move(source);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setVolume(volume_);
    sink_->start(source_.get());
    if (sink_->error() != QAudio::NoError) {
        StopDevice();
        return false;
    }
    return true;
}

void TsoundOutput::StartClock(std::uint32_t fromMs)
{
    baseMs_ = fromMs;
    clockRunning_ = true;
    clock_.start();
}

void TsoundOutput::StopDevice()
{
    if (waitingForDevice_) {
        waitingForDevice_ = false;
        if (!paused_)
            StartClock(baseMs_);
    }
    if (sink_)
        sink_->stop();
    sink_.reset();
    source_.reset();
}

void TsoundOutput::Drain()
{
    if (!sink_)
        return;
    waitingForDevice_ = false;
    auto draining = std::make_unique<TDraining>();
    draining->source = std::move(source_);
    draining->sink = std::move(sink_);
    QAudioSink* sink = draining->sink.get();
    // The device lags behind what it has taken by about its buffer; give it that and a little more.
    const QAudioFormat format = sink->format();
    const int bytesPerSecond = format.bytesPerFrame() * format.sampleRate();
    const int bufferMs =
        bytesPerSecond > 0 ? static_cast<int>(sink->bufferSize() * 1000LL / bytesPerSecond) : 0;
    QTimer::singleShot(std::min(bufferMs, 5000) + 200, sink, [this, sink] { Release(sink); });
    draining_.push_back(std::move(draining));
}

void TsoundOutput::Release(const QAudioSink* sink)
{
    for (auto it = draining_.begin(); it != draining_.end(); ++it) {
        if ((*it)->sink.get() == sink) {
            // Not from inside the sink's own timer call: hand the deletion to the event loop.
            (*it)->sink->stop();
            (*it)->sink.release()->deleteLater();
            draining_.erase(it);
            return;
        }
    }
}

void TsoundOutput::Pause()
{
    if (paused_)
        return;
    if (sink_)
        sink_->suspend();
    if (clockRunning_) {
        baseMs_ = PositionMs();
        clockRunning_ = false;
    }
    paused_ = true;
}

void TsoundOutput::Resume()
{
    if (!paused_)
        return;
    paused_ = false;
    if (sink_)
        sink_->resume();
    if (!waitingForDevice_)
        StartClock(baseMs_);
}

void TsoundOutput::Stop()
{
    StopDevice();
    clockRunning_ = false;
    baseMs_ = 0;
    paused_ = false;
}

void TsoundOutput::Check()
{
    if (!sink_)
        return;
    if (waitingForDevice_ && !paused_ &&
        (sink_->processedUSecs() > 0 || deviceStart_.elapsed() > kDeviceStartMs)) {
        waitingForDevice_ = false;
        StartClock(baseMs_);
    }
    const QAudio::Error error = sink_->error();
    if (error == QAudio::NoError || error == QAudio::UnderrunError)
        return;
    // The clock goes on without sound.
    StopDevice();
}

std::uint32_t TsoundOutput::PositionMs() const
{
    std::uint64_t position = baseMs_;
    if (clockRunning_)
        position +=
            static_cast<std::uint64_t>(static_cast<double>(clock_.elapsed()) * (sink_ ? 1.0 : speed_));
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(position, lengthMs_));
}

bool TsoundOutput::Finished() const
{
    return clockRunning_ && PositionMs() >= lengthMs_;
}

void TsoundOutput::SetVolume(int volume)
{
    volume_ = std::clamp(volume, 0, 255) / 255.0;
    if (sink_)
        sink_->setVolume(volume_);
}
