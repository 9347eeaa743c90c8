#pragma once
// What went wrong in an acquisition run that still left data to read: a unit that stopped
// answering (the run then keeps the samples every answering unit had up to the fault) and channels
// whose samples could not be read (ReadData refuses them).
#include <string>
#include <vector>

struct CDAQRunFault
{
    int Unit = -1;                    // 0-based unit that stopped answering; -1 when none did
    int SamplesKept = 0;              // samples per channel kept when a unit was lost
    std::vector<int> MissingChannels; // channel numbers without data, ascending

    bool Empty() const { return Unit < 0 && MissingChannels.empty(); }
    // The report shown to the user; empty when there is nothing to report.
    std::string Text() const;
};
