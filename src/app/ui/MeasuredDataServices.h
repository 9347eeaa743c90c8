#pragma once
// Puts the acquisition layer's measured-data services at the project model's disposal: the
// recalculation of a DAQ project's data sets and the sensor window's update of the measurement
// files (command 1239), with the program's progress dialog, and the RPM setting dialog of the
// averaging of measured data. Part of the program's window services (InstallWindowServices).
void InstallMeasuredDataServices();
