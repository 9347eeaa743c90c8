#pragma once
// What a simulated acquisition system consists of and what its channels measure.
//
// Boards: index 0 is the control board ("10EM") when there is one; the acquisition boards ("10 R")
// follow. Each acquisition board carries up to four Blix units of two channels on chain 0 (device
// addresses 128-191) and up to four on chain 1 (192-255); a unit's channels sit at consecutive
// addresses. Units are numbered across the system in board, chain and position order, and their
// serial numbers ("%05d") count up from the first.
//
// Signals: an engine runs a linear RPM ramp; the pulse channel (a global channel number) gives
// pulses per revolution, every other channel the configured engine orders with a gain and phase
// of its own plus uniform noise; every sample is clipped at the channel's input range.
//
// A layout can be written as text, "key=value" items separated by ';':
//   boards=4+4,2+0   units on chain 0 + chain 1 of each acquisition board
//   control=1        a control board at index 0 (0: none)
//   serial=1         the first unit's serial number
//   address=192.168.0.100   the address the system reports as in use
//   pulse=15  pulses=2  pulsevolts=5
//   counter=14 (a channel counting its samples: (i mod 8192) / 1024 volts; -1: none)
//   rpm=1000-6000  ramp=10 (seconds, then the RPM stays)
//   orders=2:1.0,4:0.3 (order:volts)  noise=0.05 (volts)
// The settings hold one text per address (profile section "QMX Simulator", the address as entry,
// "Default" for any other address, "none" for an address that does not answer).
#include <string>
#include <utility>
#include <vector>

class CQmxSimLayout
{
public:
    struct Board
    {
        int chain0Units = 4;
        int chain1Units = 4;
    };

    bool controlBoard = true;
    std::vector<Board> boards{Board{}};
    int firstSerial = 1;
    int channelsPerUnit = 2;
    std::string address = "192.168.0.100";

    int pulseChannel = 15;
    int pulsesPerRev = 2;
    double pulseVolts = 5.0;
    // A channel whose sample i is (i mod 8192) / 1024 volts, so a reader sees every lost or
    // repeated sample; -1 for none.
    int counterChannel = -1;
    double rpmStart = 1000.0;
    double rpmEnd = 6000.0;
    double rampSeconds = 10.0;
    std::vector<std::pair<double, double>> orders{{2.0, 1.0}, {4.0, 0.3}}; // order, volts
    double noiseVolts = 0.05;

    int UnitCount() const;
    int ChannelCount() const;

    // Reads the text form over the defaults; false (with a reason) on an unknown key or a bad value.
    bool Parse(const std::string& text, std::string* error = nullptr);

    static constexpr const char* kSettingsSection = "QMX Simulator";
    // The layout the settings give an address; false when the address is set to "none" or its text
    // does not parse (the system then does not answer).
    static bool FromSettings(const std::string& address, CQmxSimLayout& layout);
};
