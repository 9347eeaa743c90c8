#pragma once
#include "platform/win/CommandIds.h"
// The main window's commands on a DAQ project built from universal files: the local points that
// the data sets of one experiment take into their spectra (1089), after which those data sets
// are calculated again.
struct CFrameSelection;
class QWidget;

class CUFDaqProjectCommands
{
public:
    static constexpr int ID_LOCAL_POINTS = CommandId::ID_LOCAL_POINTS;
    static constexpr int kCommands[] = {ID_LOCAL_POINTS};

    // A universal-file DAQ project with exactly one experiment selected in its tree.
    static bool CanEditLocalPoints(const CFrameSelection& selection);
    // False when the command does not apply or the sheet was cancelled.
    static bool EditLocalPoints(const CFrameSelection& selection, QWidget* parent);
};
