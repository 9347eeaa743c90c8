#pragma once
// What the planning windows share: the project's size in slots, the texts of unit groups, marking
// the project changed, and the hardware inventory of the connected units.
#include <string>

class CQmxBlixChMgr;
class CTALVOProject;
class QWidget;

// Slots of four two-channel units that the project's channels fill (channel count / 8, rounded up).
int GetBlixUnitCount(const CTALVOProject& project);
// Bands of 32 channels (four slots) that a grid of the channel count shows.
int GetPlanBandCount(int channels);
// "Unit group %d" of the language table.
std::string UnitGroupText(int number);
// The number of a registered unit name: the text read as an integer, after the prefix of the
// registered form ("B12" and "12" give 12, "12.5" 12); 0 when there is none.
int UnitNumberOf(const std::string& name);
// Tells the project's document that the project changed.
void MarkProjectModified(CTALVOProject& project);
// Copies the merged inventory of the connected units, connecting first when none is (the
// connection dialog). False when no inventory can be had.
bool GetQMXChannelInventory(CTALVOProject* project, CQmxBlixChMgr& inventory, QWidget* parent = nullptr);
