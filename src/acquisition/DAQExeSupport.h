#pragma once
// What a window that runs an acquisition offers the run manager: permission to start, the engine
// speed of each data block, the start and end of the recording, and how the run ended. Every
// operation returns non-zero for success or "go on"; a client that does not need one returns 1.
#include <cstdint>

class IDAQExeSupport
{
public:
    virtual ~IDAQExeSupport() = default;
    // Before a run starts; 0 vetoes the start.
    virtual int CanStart() = 0;
    // After every data block whose engine speed could be detected.
    virtual int OnRpm(float rpm) = 0;
    // Right after OnRpm, with 0 and 0.
    virtual int OnUpdate(uintptr_t wParam, intptr_t lParam) = 0;
    virtual int OnRecordStart() = 0;
    virtual int OnRecordEnd() = 0;
    // The run was stopped, aborted or ended without data.
    virtual int OnStop() = 0;
    // After OnDataReady, when the run ended with data.
    virtual int OnComplete() = 0;
    // First call when the run ended with data.
    virtual int OnDataReady() = 0;
};
