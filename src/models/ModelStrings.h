#pragma once
// Texts of the model data taken from the language module. Names of model functions are looked up
// by their text, so a name must keep its arguments apart even when the module lacks the string:
// the fallback format then stands in.
#include <cstdint>
#include <string>

std::string ModelFormat(uint32_t id, const char* fallback, ...) __attribute__((format(printf, 2, 3)));
std::string ModelText(uint32_t id, const char* fallback);

// String ids of the model data.
enum : uint32_t
{
    IDS_PARAMETER_FOLDER = 6000,
    IDS_NO_INPUT_POWER = 6015,
    IDS_NO_MODAL_ENERGY = 6016,
    IDS_PATH_NO_INFLOW = 6056,
    IDS_PATH_LOOP = 6057,
    IDS_PATH_NO_FLOW = 6058,
    IDS_BALANCE_ENTRY = 6090,
    IDS_DOMINANT_PATH_NAME = 7023,
    IDS_ENERGY_NAME = 7024,
    IDS_POWER_CONTRIBUTION_NAME = 7036,
    IDS_SPL_NAME = 7038,
    IDS_VIBRATION_LEVEL_NAME = 7041,
    IDS_GENERAL_DATA_EMPTY = 7058,
    IDS_MASS_NOT_POSITIVE = 7073,
    IDS_VOLUME_NOT_POSITIVE = 7076,
    IDS_NO_SEA_MODEL_DATA = 7100,
    IDS_NO_3D_MODEL = 6017,
    IDS_MODEL_FILE_UNREADABLE = 6073,
    IDS_DEFAULT_DATA_TITLE = 6214,
    IDS_DATA_FILE_UNOPENABLE = 7010,
    IDS_ENERGY_RATIO_NAME = 7025,
    IDS_GCLF_COUPLED_NAME = 7026,
    IDS_GCLF_UNCOUPLED_NAME = 7027,
    IDS_SERIAL_NAME = 7028,
    IDS_POWER_NAME_1 = 7029,
    IDS_POWER_NAME_0 = 7030,
    IDS_POWER_NAME_2 = 7031,
    IDS_POWER_NAME_3 = 7032,
    IDS_CLF_ENTRY_ZERO = 7084,
    IDS_OVERWRITE_POWER = 7095,
    IDS_CLF_NAME = 11608,
    IDS_INTRINSIC_DLF_NAME = 11609,
    IDS_TOTAL_DLF_NAME = 11610,
    IDS_SUBSYSTEM_NOT_IN_MATRIX = 11611,
    IDS_WAVE_NUMBER_NAME = 11802,
    IDS_ETA_MATRIX_NAME = 11803,
    IDS_MODAL_DENSITY_NAME = 11804,
};
