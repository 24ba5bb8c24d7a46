// A second copy for the single-instance test: tries the gate and says what it found.
#include "platform/singleinstance.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const char* title = argc > 1 ? argv[1] : "Orvane Jukebox";
    platform::TsingleInstance gate(title);
    if (gate.Owns()) {
        std::puts("first");
        return 0;
    }
    std::puts(gate.ActivateRunning() ? "second activated" : "second alone");
    return 0;
}
