#pragma once
// Window message numbers. The private numbers are the ones the program's windows exchange; they
// are kept as they always were, because senders and receivers in different subsystems (and
// message maps written against the numbers) must agree on them.
#include <cstdint>

// Standard window messages that the program sends itself.
inline constexpr uint32_t WM_CLOSE = 0x0010;
// A menu command (wParam: the command id).
inline constexpr uint32_t WM_USER = 0x0400;    // 1024; also told to an automation client's window
inline constexpr uint32_t WM_COMMAND = 0x0111; // wParam: the command id (a menu command sent by code)

// An automation client that handed over its window is told with WM_USER and this wParam (lParam:
// the process id) that the application hid instead of closing.
inline constexpr uintptr_t ZU_CLIENT_NOTIFY_HIDDEN = 16;

// Progress of long operations, sent synchronously to the main window. All return 0.
inline constexpr uint32_t WM_ZU_PROGRESS_RANGE = 1324; // wParam: low word first, high word last; lParam: step
inline constexpr uint32_t WM_ZU_PROGRESS_SHOW = 1325;
inline constexpr uint32_t WM_ZU_PROGRESS_HIDE = 1326;
inline constexpr uint32_t WM_ZU_PROGRESS_STEP = 1327;
inline constexpr uint32_t WM_ZU_PROGRESS_TEXT = 1328; // wParam: const char* (UTF-8)

// The main frame rebuilds menu, toolbar and shortcut bar after a language switch.
inline constexpr uint32_t WM_ZU_LANGUAGE_CHANGED = 1747; // 0x6D3

// Closes the application (automation CloseWindows); wParam non-zero: ask to save first.
inline constexpr uint32_t WM_ZU_CLOSE_WINDOWS = 0x1400;

// Main frame notifications from dialogs and the project tree.
inline constexpr uint32_t WM_ZU_SET_MODIFIED = 0x2405;        // wParam: new modified flag
inline constexpr uint32_t WM_ZU_OPTIONS_CHANGED = 0x2400;     // the display options changed: data windows re-read them
inline constexpr uint32_t WM_ZU_CALC_INPUT_ENERGY = 0x2410;   // wParam: subsystem table, lParam: analysis project
inline constexpr uint32_t WM_ZU_CALC_INPUT_POWER = 0x2411;    // same parameters
inline constexpr uint32_t WM_ZU_DATA_COLUMN_CLICKED = 0x2412; // 9234, experiment data comparison
inline constexpr uint32_t WM_ZU_SET_RPM_INDEX = 0x2413;       // wParam: index into the RPM list
inline constexpr uint32_t WM_ZU_SPL_BY_SINGLE_IP = 0x2414;    // same parameters as 0x2410
inline constexpr uint32_t WM_ZU_SPL_BY_SINGLE_IP_COMP = 0x2415;
inline constexpr uint32_t WM_ZU_TREE_LABEL_EDITED = 0x2416; // wParam: edit notification, lParam: BOOL* result
inline constexpr uint32_t WM_ZU_TREE_RBUTTONDOWN = 0x2417;
inline constexpr uint32_t WM_ZU_TREE_RBUTTONUP = 0x2418;
inline constexpr uint32_t WM_ZU_TREE_RBUTTONDBLCLK = 0x2419;
// The subsystems of an analysis project made for outside data were chosen (wParam: subsystem table,
// lParam: analysis project): its RPM set-up follows.
inline constexpr uint32_t WM_ZU_CONFIGURE_EXT_ANALYSIS = 0x241C;

// Acquisition notifications posted to the registered window (wParam: the interface, lParam 0).
inline constexpr uint32_t WM_ZU_DAQ_STARTED = 0x240B;  // a run has started
inline constexpr uint32_t WM_ZU_DAQ_STOPPED = 0x240C;  // the hardware acquisition has stopped
inline constexpr uint32_t WM_ZU_DAQ_STOP = 0x240D;     // stop request routed to the run manager
inline constexpr uint32_t WM_ZU_DAQ_COMPLETE = 0x240E; // the data are ready
inline constexpr uint32_t WM_ZU_DAQ_DATA = 0x240F;     // one data block
inline constexpr uint32_t WM_ZU_DAQ_RECORD_START = 0x241A;
inline constexpr uint32_t WM_ZU_DAQ_RECORD_END = 0x241B;

// The real-time monitor looks at its channel again (no parameters).
inline constexpr uint32_t WM_ZU_MONITOR_REFRESH = 0x2600;

// Run-up RPM diagnosis window.
inline constexpr uint32_t WM_ZU_RUNUP_RPM = 0x2500; // wParam: const float* RPM
inline constexpr uint32_t WM_ZU_RUNUP_RECORD_START = 0x2501;
inline constexpr uint32_t WM_ZU_RUNUP_RECORD_END = 0x2502;
inline constexpr uint32_t WM_ZU_RUNUP_UPDATE = 0x2503;
inline constexpr uint32_t WM_ZU_RUNUP_DESTROY = 0x2504;
inline constexpr uint32_t WM_ZU_RUNUP_ENABLE = 0x2505;       // lParam: enable
inline constexpr uint32_t WM_ZU_RUNUP_ELAPSED_TEXT = 0x2506; // lParam: const char*
inline constexpr uint32_t WM_ZU_RUNUP_RECORDING_STARTED = 0x2507;
inline constexpr uint32_t WM_ZU_RUNUP_RECORDING_ENDED = 0x2508;
inline constexpr uint32_t WM_ZU_RUNUP_RESET = 0x2509;
inline constexpr uint32_t WM_ZU_RUNUP_SAMPLES = 0x250A; // wParam: const float*, lParam: count

// The sampling progress window tells its owner what the user chose (no parameters).
inline constexpr uint32_t WM_ZU_SAMPLING_START = 0xA201;  // Start pressed
inline constexpr uint32_t WM_ZU_SAMPLING_STOP = 0xA202;   // Stop pressed
inline constexpr uint32_t WM_ZU_SAMPLING_CLOSED = 0xA203; // the window was cancelled
// Acquisition progress passed on by the owner to the sampling progress window (no parameters).
inline constexpr uint32_t WM_ZU_SAMPLING_ENDED = 0xA302;     // sampling over, the transfer follows
inline constexpr uint32_t WM_ZU_DAQ_TRANSFER_BEGIN = 0xA304; // sent by the acquisition worker
inline constexpr uint32_t WM_ZU_DAQ_TRANSFER_DONE = 0xA305;  // sent by the acquisition worker
inline constexpr uint32_t WM_ZU_SAMPLING_DESTROY = 0xA307;   // the window destroys itself
