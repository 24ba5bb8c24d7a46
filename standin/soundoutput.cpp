#include "soundoutput.h"

#include "pcmsource.h"
#include "pcmwave.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

// A faster clock plays no sound: the device would play at its own pace.
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
    if (!silent_)
        StartDevice(wave, fromMs);
    StartClock(fromMs);
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
    if (sink_)
        sink_->stop();
    sink_.reset();
    source_.reset();
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
