#pragma once
// Command ids of the sensor window and the private messages between its windows.
#include "platform/win/CommandIds.h"

inline constexpr int ID_SENSOR_NEW = CommandId::ID_SENSOR_NEW; // list: new sensor; bundles: the bundle dialog
inline constexpr int ID_SENSOR_COPY = CommandId::ID_SENSOR_COPY;
inline constexpr int ID_SENSOR_EXCEL_IMPORT = CommandId::ID_SENSOR_EXCEL_IMPORT;
inline constexpr int ID_SENSOR_INSERT = CommandId::ID_SENSOR_INSERT;
inline constexpr int ID_SENSOR_LEFT = CommandId::ID_SENSOR_LEFT;
inline constexpr int ID_SENSOR_DOWN = CommandId::ID_SENSOR_DOWN;
inline constexpr int ID_SENSOR_UP = CommandId::ID_SENSOR_UP;
inline constexpr int ID_SENSOR_IMPORT = CommandId::ID_SENSOR_IMPORT;
inline constexpr int ID_SENSOR_DELETE = CommandId::ID_SENSOR_DELETE;
inline constexpr int ID_SENSOR_DELETE_ROW = CommandId::ID_SENSOR_DELETE_ROW;
inline constexpr int ID_SENSOR_RIGHT = CommandId::ID_SENSOR_RIGHT;
inline constexpr int ID_SENSOR_EXPORT = CommandId::ID_SENSOR_EXPORT;
inline constexpr int ID_SENSOR_PROPERTY = CommandId::ID_PROPERTIES;
inline constexpr int ID_SENSOR_SORT = CommandId::ID_SENSOR_SORT;
inline constexpr int ID_SENSOR_PUSH = CommandId::ID_SENSOR_PUSH;

// Element types of the measured channel records and of the DAQ projects the push visits.
