#pragma once

#include <cstdint>

// What a player is doing.
enum TmediaPlayState : std::uint8_t
{
    mpsStopped = 0,
    mpsPlaying = 1,
    mpsPaused = 2,
};
