#pragma once

#include <QObject>

#include <cstdint>

// Counts the user's input for the idle detection: an application-wide event filter that adds 1 for each
// mouse move, 5 for any other mouse event (buttons, double clicks, the wheel) and 6 for each key press.
// Every input is counted once, where the window system hands it to a window, and every event is let
// through. Installed and removed explicitly; destroying the monitor removes it.
class TactivityMonitor : public QObject
{
    Q_OBJECT
public:
    static constexpr std::uint32_t kMouseMoveWeight = 1;
    static constexpr std::uint32_t kMouseWeight = 5;
    static constexpr std::uint32_t kKeyWeight = 6;

    explicit TactivityMonitor(QObject* parent = nullptr);
    ~TactivityMonitor() override;

    // Needs the application object; installing twice counts once.
    void Install();
    void Remove();
    bool Installed() const { return installed_; }

    // Input weight since the last reset; wraps around as an unsigned 32-bit number.
    std::uint32_t Count() const { return count_; }
    void AddActivity(std::uint32_t weight) { count_ += weight; }
    void Reset() { count_ = 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::uint32_t count_ = 0;
    bool installed_ = false;
};
