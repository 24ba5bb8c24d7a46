#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QAudioSink;
class TpcmSource;
class TpcmWave;

// Plays one song at a time on the default audio device while a clock tells the position; when there is no
// device, it fails or silence was asked for, the clock runs without sound. The silent clock can run faster
// than real time (speed factor) so that tests need not wait for songs to end.
class TsoundOutput
{
public:
    TsoundOutput(bool silent, double speed);
    ~TsoundOutput();
    TsoundOutput(const TsoundOutput&) = delete;
    TsoundOutput& operator=(const TsoundOutput&) = delete;

    // Starts the song at fromMs (playing, not paused).
    void Start(const TpcmWave& wave, std::uint32_t fromMs);
    void Pause();
    void Resume();
    void Stop();
    // The song reached its end: what the device still holds plays out while the next song starts.
    void Drain();
    // Looks after the device: after a failure the song goes on silently.
    void Check();

    std::uint32_t PositionMs() const;
    bool Finished() const;
    // 0 to 255.
    void SetVolume(int volume);
    // True while a device plays the song.
    bool Audible() const { return sink_ != nullptr; }

private:
    bool StartDevice(const TpcmWave& wave, std::uint32_t fromMs);
    void StartClock(std::uint32_t fromMs);
    void StopDevice();
    void Release(const QAudioSink* sink);

    struct TDraining
    {
        std::unique_ptr<TpcmSource> source;
        std::unique_ptr<QAudioSink> sink;
    };

    bool silent_;
    double speed_;
    double volume_ = 1.0;
    std::uint32_t lengthMs_ = 0;
    bool paused_ = false;
    std::unique_ptr<TpcmSource> source_;
    std::unique_ptr<QAudioSink> sink_;
    // The position: baseMs_ plus the time run since clock_ started (times speed_ when silent).
    bool clockRunning_ = false;
    std::uint32_t baseMs_ = 0;
    QElapsedTimer clock_;
    bool waitingForDevice_ = false;
    QElapsedTimer deviceStart_;
    std::vector<std::unique_ptr<TDraining>> draining_;
};
