#pragma once
// Window message numbers. The private numbers are the ones the program's windows exchange; they
// are kept as they always were, because senders and receivers in different subsystems (and
// message maps written against the numbers) must agree on them. Each private number has one name,
// listed once below; code names a message by it, never by a number of its own, and a test checks
// that no number is listed twice.
#include <cstdint>

// Standard window messages that the program sends itself.
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_USER = 0x0400;    // 1024; also told to an automation client's window
inline constexpr uint32_t WM_COMMAND = 0x0111; // wParam: the command id (a menu command sent by code)
// Mouse messages a grid posts its dialog for dragging (lParam: (column << 16) | row).
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;

// An automation client that handed over its window is told with WM_USER and this wParam (lParam:
// the process id) that the application hid instead of closing.
inline constexpr uintptr_t ZU_CLIENT_NOTIFY_HIDDEN = 16;

// clang-format off
#define ORVEX_PRIVATE_MESSAGES(X)                                                                                      \
    /* Progress of long operations, sent synchronously to the main window. All return 0. */                            \
    X(WM_ZU_PROGRESS_RANGE, 1324) /* wParam: low word first, high word last; lParam: step */                           \
    X(WM_ZU_PROGRESS_SHOW, 1325)                                                                                       \
    X(WM_ZU_PROGRESS_HIDE, 1326)                                                                                       \
    X(WM_ZU_PROGRESS_STEP, 1327)                                                                                       \
    X(WM_ZU_PROGRESS_TEXT, 1328) /* wParam: const char* (UTF-8) */                                                     \
    /* The SPL-source list tells its owner, synchronously: a tick changed (table index, new state; */                  \
    /* (0, 0) after all ticks changed), the selection moved (table index), the selection was cleared. */               \
    X(WM_ZU_SPL_SRC_TICK, 1234)                                                                                        \
    X(WM_ZU_SPL_SRC_SELECT, 1235)                                                                                      \
    X(WM_ZU_SPL_SRC_CLEAR, 1236)                                                                                       \
    /* The main frame rebuilds menu, toolbar and shortcut bar after a language switch. */                              \
    X(WM_ZU_LANGUAGE_CHANGED, 1747) /* 0x6D3 */                                                                        \
    /* A grid's cell notices to its dialog (wParam 0, lParam (column << 16) | row): a left click, a */                 \
    /* right click, and the cell's text changed (a grid placed in a dialog sends it for a double */                    \
    /* click, which starts the edit). */                                                                               \
    X(WM_GRID_CELL_CLICK, 2024)                                                                                        \
    X(WM_GRID_CELL_RCLICK, 2025)                                                                                       \
    X(WM_GRID_CELL_CHANGED, 2026) /* 0x7EA */                                                                          \
    /* The input-power data dialog asks its owner to close it (wParam 2). */                                           \
    X(WM_ZU_INPUT_POWER_DATA, 4033)                                                                                    \
    /* The subsystem and subsystem-pair pickers closed with OK (wParam 1) or Cancel (2). */                            \
    X(WM_ZU_SUBSYSTEM_PICKED, 4069)      /* 0xFE5 */                                                                   \
    X(WM_ZU_SUBSYSTEM_PAIR_PICKED, 4070) /* 0xFE6 */                                                                   \
    /* The subsystem-sensor table was closed. */                                                                       \
    X(WM_ZU_SENSOR_TABLE_CLOSED, 0xFF1)                                                                                \
    /* Closes the application (automation CloseWindows); wParam non-zero: ask to save first. */                        \
    X(WM_ZU_CLOSE_WINDOWS, 0x1400)                                                                                     \
    /* Main frame notifications from dialogs, data windows and the project tree. */                                    \
    X(WM_ZU_OPTIONS_CHANGED, 0x2400)     /* the display options changed: data windows re-read them */                  \
    X(WM_ZU_SET_MODIFIED, 0x2405)        /* wParam: new modified flag */                                               \
    X(WM_ZU_CALC_INPUT_ENERGY, 0x2410)   /* wParam: subsystem table, lParam: analysis project */                       \
    X(WM_ZU_CALC_INPUT_POWER, 0x2411)    /* same parameters; the energy result of those inputs */                      \
    X(WM_ZU_DATA_COLUMN_CLICKED, 0x2412) /* 9234: a data column of a comparison; lParam: the data set */               \
    X(WM_ZU_SET_RPM_INDEX, 0x2413)       /* wParam: index into the RPM list */                                         \
    X(WM_ZU_SPL_BY_SINGLE_IP, 0x2414)    /* same parameters as 0x2410 */                                               \
    X(WM_ZU_SPL_BY_SINGLE_IP_COMP, 0x2415)                                                                             \
    X(WM_ZU_TREE_LABEL_EDITED, 0x2416) /* wParam: edit notification, lParam: BOOL* result */                           \
    X(WM_ZU_TREE_RBUTTONDOWN, 0x2417)                                                                                  \
    X(WM_ZU_TREE_RBUTTONUP, 0x2418)                                                                                    \
    X(WM_ZU_TREE_RBUTTONDBLCLK, 0x2419)                                                                                \
    /* Acquisition notifications posted to the registered window (wParam: the interface, lParam 0). */                 \
    X(WM_ZU_DAQ_STARTED, 0x240B)  /* a run has started */                                                              \
    X(WM_ZU_DAQ_STOPPED, 0x240C)  /* the hardware acquisition has stopped */                                           \
    X(WM_ZU_DAQ_STOP, 0x240D)     /* stop request routed to the run manager */                                         \
    X(WM_ZU_DAQ_COMPLETE, 0x240E) /* the data are ready */                                                             \
    X(WM_ZU_DAQ_DATA, 0x240F)     /* one data block */                                                                 \
    X(WM_ZU_DAQ_RECORD_START, 0x241A)                                                                                  \
    X(WM_ZU_DAQ_RECORD_END, 0x241B)                                                                                    \
    /* Run-up RPM diagnosis window. */                                                                                 \
    X(WM_ZU_RUNUP_RPM, 0x2500) /* wParam: const float* RPM */                                                          \
    X(WM_ZU_RUNUP_RECORD_START, 0x2501)                                                                                \
    X(WM_ZU_RUNUP_RECORD_END, 0x2502)                                                                                  \
    X(WM_ZU_RUNUP_UPDATE, 0x2503)                                                                                      \
    X(WM_ZU_RUNUP_DESTROY, 0x2504)                                                                                     \
    X(WM_ZU_RUNUP_ENABLE, 0x2505)       /* lParam: enable */                                                           \
    X(WM_ZU_RUNUP_ELAPSED_TEXT, 0x2506) /* lParam: const char* */                                                      \
    X(WM_ZU_RUNUP_RECORDING_STARTED, 0x2507)                                                                           \
    X(WM_ZU_RUNUP_RECORDING_ENDED, 0x2508)                                                                             \
    X(WM_ZU_RUNUP_RESET, 0x2509)                                                                                       \
    X(WM_ZU_RUNUP_SAMPLES, 0x250A) /* wParam: const float*, lParam: count */                                           \
    /* The real-time monitor looks at its channel again (no parameters). */                                            \
    X(WM_ZU_MONITOR_REFRESH, 0x2600)                                                                                   \
    /* In-cell editing of the flex grid: an edit begins (wParam (column << 16) | row, lParam the */                    \
    /* combo to fill), a cell took a text (lParam a const char*, or 0 when the edit was dropped), a */                 \
    /* key in the cell's combo. */                                                                                     \
    X(WM_FLEX_BEGIN_EDIT, 0x8101)                                                                                      \
    X(WM_FLEX_END_EDIT, 0x8102)                                                                                        \
    X(WM_FLEX_COMBO_KEY, 0x8110)                                                                                       \
    /* Clicks on a custom tree by hit region: the first of seven numbers for left clicks, left double */               \
    /* clicks, right clicks and right double clicks (icon, label, check box, indent, expand button, */                 \
    /* right of the label, then one for any click on icon, label or check box). */                                     \
    X(WM_TREE_LCLICK_FIRST, 0x8201)                                                                                    \
    X(WM_TREE_LDBLCLK_FIRST, 0x8208)                                                                                   \
    X(WM_TREE_RCLICK_FIRST, 0x820F)                                                                                    \
    X(WM_TREE_RDBLCLK_FIRST, 0x8216)                                                                                   \
    /* The sampling progress window tells its owner what the user chose (no parameters). */                            \
    X(WM_ZU_SAMPLING_START, 0xA201)  /* Start pressed */                                                               \
    X(WM_ZU_SAMPLING_STOP, 0xA202)   /* Stop pressed */                                                                \
    X(WM_ZU_SAMPLING_CLOSED, 0xA203) /* the window was cancelled */                                                    \
    /* Acquisition progress passed on by the owner to the sampling progress window (no parameters). */                 \
    X(WM_ZU_SAMPLING_ENDED, 0xA302)     /* sampling over, the transfer follows */                                      \
    X(WM_ZU_DAQ_TRANSFER_BEGIN, 0xA304) /* sent by the acquisition worker */                                           \
    X(WM_ZU_DAQ_TRANSFER_DONE, 0xA305)  /* sent by the acquisition worker */                                           \
    X(WM_ZU_SAMPLING_DESTROY, 0xA307)   /* the window destroys itself */
// clang-format on

#define ORVEX_DEFINE_PRIVATE_MESSAGE(name, number) inline constexpr uint32_t name = number;
ORVEX_PRIVATE_MESSAGES(ORVEX_DEFINE_PRIVATE_MESSAGE)
#undef ORVEX_DEFINE_PRIVATE_MESSAGE

// Every private message number, in the order listed (for the check that each has one name).
#define ORVEX_LIST_PRIVATE_MESSAGE(name, number) number,
inline constexpr uint32_t kPrivateMessageNumbers[] = {ORVEX_PRIVATE_MESSAGES(ORVEX_LIST_PRIVATE_MESSAGE)};
#undef ORVEX_LIST_PRIVATE_MESSAGE
