#pragma once
// Command ids of the sensor window and the private messages between its windows.
inline constexpr int ID_SENSOR_NEW = 1002; // list: new sensor; bundles: the bundle dialog
inline constexpr int ID_SENSOR_COPY = 1106;
inline constexpr int ID_SENSOR_EXCEL_IMPORT = 1132;
inline constexpr int ID_SENSOR_INSERT = 1134;
inline constexpr int ID_SENSOR_LEFT = 1135;
inline constexpr int ID_SENSOR_DOWN = 1153;
inline constexpr int ID_SENSOR_UP = 1154;
inline constexpr int ID_SENSOR_IMPORT = 1158;
inline constexpr int ID_SENSOR_DELETE = 1163;
inline constexpr int ID_SENSOR_DELETE_ROW = 1164;
inline constexpr int ID_SENSOR_RIGHT = 1168;
inline constexpr int ID_SENSOR_EXPORT = 1171;
inline constexpr int ID_SENSOR_PROPERTY = 1175;
inline constexpr int ID_SENSOR_SORT = 1180;
inline constexpr int ID_SENSOR_PUSH = 1239;

// Element types of the measured channel records and of the DAQ projects the push visits.
