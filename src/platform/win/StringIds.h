#pragma once
// The ids of the language tables' strings (resources/lang), each named once. Code names a string by
// its id here, never by a number of its own; a test checks that both languages hold every id listed.
// The comment beside an id gives the English text.
#include <cstdint>

#define ORVEX_STRING_IDS(X)                                                                                                                                                                   \
    X(IDS_PARAMETER_FOLDER, 6000)         /* "Parameters" */                                                                                                                                  \
    X(IDS_STOP, 6001)                     /* "Stop" */                                                                                                                                        \
    X(IDS_CATEGORY_ACCELEROMETERS, 6003)  /* "Accelerometers" */                                                                                                                              \
    X(IDS_ADD, 6004)                      /* "Add" */                                                                                                                                         \
    X(IDS_ANALYSIS_OPTIONS_CAPTION, 6005) /* "Analysis Options" */                                                                                                                            \
    X(IDS_APPLY_TICKS, 6007)              /* "Apply the ticks as use flags" */                                                                                                                \
    X(IDS_REMOVE_SELECTED_PROJECT, 6008)  /* "Remove the selected project?" */                                                                                                                \
    X(IDS_CALC_OPTIONS, 6012)             /* "Calculation Options" */                                                                                                                         \
    X(IDS_TARGET_IS_SOURCE, 6013)         /* "The target subsystem is also one of the sources." */                                                                                            \
    X(IDS_NO_MODEL, 6014)                 /* "The project has no model." */                                                                                                                   \
    X(IDS_NO_INPUT_POWER, 6015)           /* "No input power data were found." */                                                                                                             \
    X(IDS_NO_MODAL_ENERGY, 6016)          /* "No modal energy data were found." */                                                                                                            \
    X(IDS_NO_3D_MODEL, 6017)              /* "The model has no 3D model data." */                                                                                                             \
    X(IDS_CLIPBOARD_NO_TEXT, 6018)        /* "The clipboard holds no text." */                                                                                                                \
    X(IDS_CLIPBOARD_CANNOT_OPEN, 6019)    /* "The clipboard cannot be opened." */                                                                                                             \
    X(IDS_CANNOT_REMOVE_MODEL, 6021)      /* "The model project cannot be removed." */                                                                                                        \
    X(IDS_TICK_ALL, 6026)                 /* "Tick all" */                                                                                                                                    \
    X(IDS_CHECK_INPUT, 6027)              /* "Please check the input values." */                                                                                                              \
    X(IDS_IMPORT_QUESTION, 6028)          /* "The current sensor list will be replaced. Continue?" */                                                                                         \
    X(IDS_CLOSE, 6029)                    /* "Close" */                                                                                                                                       \
    X(IDS_CLOSE_RUN, 6030)                /* "Close" */                                                                                                                                       \
    X(IDS_WRITE_TICKS_BACK, 6034)         /* "Write the ticks back as use flags?" */                                                                                                          \
    X(IDS_NEW_PROJECT_QUESTION, 6035)     /* "Create a new project?" */                                                                                                                       \
    X(IDS_DELETE_SOURCES, 6040)           /* "Remove the selected sources?" */                                                                                                                \
    X(IDS_RPM_DELETE_QUESTION, 6041)      /* "Delete the selected entry?" */                                                                                                                  \
    X(IDS_NAME_INVALID, 6042)             /* "A name must not contain any of the characters \\ / : * ? " < > |" */                                                                            \
    X(IDS_COPY_ANALYSIS_PROJECT, 6043)    /* "Copy the selected analysis project?" */                                                                                                         \
    X(IDS_TAKE_OVER_PREVIOUS_DATA, 6044)  /* "Take over the data of the previous measurement?" */                                                                                             \
    X(IDS_TICK_DATE, 6045)                /* "Tick the data sets of a date" */                                                                                                                \
    X(IDS_SEARCH_REPORT, 6046)            /* "Channel search report for %s\n" */                                                                                                              \
    X(IDS_DELETE_PROJECT, 6047)           /* "Delete the experiment project %s?" */                                                                                                           \
    X(IDS_DELETE_SELECTED, 6048)          /* "Delete the selected items?" */                                                                                                                  \
    X(IDS_DELETE_MISSING, 6049)           /* "Delete every data set whose measurement file is missing?" */                                                                                    \
    X(IDS_MODEL_BANDS_DIFFER, 6050)       /* "The model data do not fit the model: the frequency bands or the n..." */                                                                        \
    X(IDS_MODEL_SUBSYSTEMS_DIFFER, 6051)  /* "The model data do not fit the model: subsystems or couplings..." */                                                                             \
    X(IDS_RPM_LIST_EMPTY, 6055)           /* "The RPM list is empty." */                                                                                                                      \
    X(IDS_PATH_NO_INFLOW, 6056)           /* "(no further inflow)" */                                                                                                                         \
    X(IDS_PATH_LOOP, 6057)                /* "(loop or target)" */                                                                                                                            \
    X(IDS_PATH_NO_FLOW, 6058)             /* "(no flow)" */                                                                                                                                   \
    X(IDS_SPL_FOLDER, 6064)               /* "SPL" */                                                                                                                                         \
    X(IDS_NO_RPM_FUNCTION, 6066)          /* "No spectrum over RPM was found for this experiment." */                                                                                         \
    X(IDS_EXPORT_HSEA_TITLE, 6067)        /* "Export HSEA Model" */                                                                                                                           \
    X(IDS_EXPORT_INPUT_POWER_TITLE, 6068) /* "Export Input Power" */                                                                                                                          \
    X(IDS_RUN_NOT_STARTED, 6069)          /* "The measurement could not be started." */                                                                                                       \
    X(IDS_READ_FAILED, 6070)              /* "The data could not be read." */                                                                                                                 \
    X(IDS_SETUP_FAILED, 6071)             /* "The channels could not be set up." */                                                                                                           \
    X(IDS_BLOCK_TOO_SHORT, 6072)          /* "The measured block is shorter than one sample; nothing was stored." */                                                                          \
    X(IDS_MODEL_FILE_UNREADABLE, 6073)    /* "The model file could not be read." */                                                                                                           \
    X(IDS_SETTINGS_NOT_SAVED, 6074)       /* "The settings could not be saved." */                                                                                                            \
    X(IDS_PICKED_COMMAND_FAILED, 6075)    /* "The result could not be created." */                                                                                                            \
    X(IDS_CALCULATION_FAILED, 6076)       /* "The calculation failed." */                                                                                                                     \
    X(IDS_NO_CALC_DATA, 6077)             /* "No calculation data could be built." */                                                                                                         \
    X(IDS_MODEL_NOT_CREATED, 6078)        /* "The model could not be created." */                                                                                                             \
    X(IDS_BANDS_NOT_REFINABLE, 6081)      /* "Some bands cannot be refined and were unticked." */                                                                                             \
    X(IDS_PROJECT_HEADER, 6082)           /* "ORVEX Project File" */                                                                                                                          \
    X(IDS_MODEL_DATA_FILTER, 6085)        /* "Model Data Files (*.dmd;*.txt)|*.dmd;*.txt|All Files (*.*)|*.*||" */                                                                            \
    X(IDS_RECALC_AFTER_OPTIONS, 6086)     /* "Recalculate the measured data with the new options?" */                                                                                         \
    X(IDS_CATEGORY_HAMMERS, 6087)         /* "Impact Hammers" */                                                                                                                              \
    X(IDS_NO_HSEA_MODEL, 6088)            /* "There is no HSEA model." */                                                                                                                     \
    X(IDS_BALANCE_ENTRY, 6090)            /* "(balance)" */                                                                                                                                   \
    X(IDS_INPUT_ENERGY_FOLDER, 6092)      /* "Input Energy" */                                                                                                                                \
    X(IDS_ORDER_PROMPT, 6094)             /* "Order:" */                                                                                                                                      \
    X(IDS_ORDER_CAPTION, 6095)            /* "Add Order" */                                                                                                                                   \
    X(IDS_INPUT_POWER_FOLDER, 6096)       /* "Input Power" */                                                                                                                                 \
    X(IDS_NO_SET, 6097)                   /* "No set is selected." */                                                                                                                         \
    X(IDS_ANALYSIS_TOO_OLD, 6099)       /* "This analysis project was written by a version that can no longer b..." */                                                                        \
    X(IDS_BAD_BAND_LIMIT, 6100)         /* "The band limit must be greater than 0." */                                                                                                        \
    X(IDS_BAD_LEVEL, 6103)              /* "The level must be greater than 0 and at most 100." */                                                                                             \
    X(IDS_HIGH_RPM_BELOW_1, 6104)       /* "The high RPM must be at least 1." */                                                                                                              \
    X(IDS_BAD_RATIO, 6105)              /* "The RPM ratio must be greater than 0." */                                                                                                         \
    X(IDS_FACTOR_NOT_POSITIVE, 6106)    /* "The analysis factor must be greater than 0." */                                                                                                   \
    X(IDS_RPM_VALUE_TOO_SMALL, 6107)    /* "The value must be at least 1." */                                                                                                                 \
    X(IDS_TIME_SPAN_TOO_SHORT, 6109)    /* "The time span is below its minimum." */                                                                                                           \
    X(IDS_ORDER_NOT_POSITIVE, 6110)     /* "The order must be greater than 0." */                                                                                                             \
    X(IDS_PASTE_ON_HEADER, 6111)        /* "Data cannot be pasted onto a header cell." */                                                                                                     \
    X(IDS_FILE_TOO_OLD, 6113)           /* "This project file is too old to be read." */                                                                                                      \
    X(IDS_BAD_PULSES, 6114)             /* "The pulses per revolution must be greater than 0." */                                                                                             \
    X(IDS_RPM_MARGIN_TOO_SMALL, 6115)   /* "The RPM margin is below its minimum." */                                                                                                          \
    X(IDS_BAD_FREQUENCY, 6116)          /* "The frequencies must be greater than 0." */                                                                                                       \
    X(IDS_SAMPLING_TOO_LOW, 6117)       /* "The sampling frequency must be at least 2.56 times the maximum freq..." */                                                                        \
    X(IDS_LOW_RPM_NOT_BELOW_HIGH, 6118) /* "The low RPM must be below the high RPM." */                                                                                                       \
    X(IDS_LOW_RPM_BELOW_1, 6119)        /* "The low RPM must be at least 1." */                                                                                                               \
    X(IDS_TICK_MORE, 6120)              /* "Tick at least one item besides the reference." */                                                                                                 \
    X(IDS_CATEGORY_MICROPHONES, 6123)   /* "Microphones" */                                                                                                                                   \
    X(IDS_RPM_ADD_PROMPT, 6124)         /* "Value:" */                                                                                                                                        \
    X(IDS_NO_HARDWARE, 6127)            /* "The acquisition units of this experiment are not connected." */                                                                                   \
    X(IDS_NO_RPM_CHANNEL, 6128)         /* "Choose the RPM channel." */                                                                                                                       \
    X(IDS_NO_EXPERIMENTS_FOR_SUBSYSTEM, 6129) /* "There are no experiments for this subsystem." */                                                                                            \
    X(IDS_NAME_EMPTY, 6130)                   /* "The name must not be empty." */                                                                                                             \
    X(IDS_NOT_HSEA_MODEL_DATA, 6133)          /* "The file does not hold HSEA model data." */                                                                                                 \
    X(IDS_GROUP_AXES_DIFFER, 6134)            /* "The spectra of this group have different axes." */                                                                                          \
    X(IDS_LP_COUNTS_DIFFER, 6135)             /* "The data sets have different numbers of local points." */                                                                                   \
    X(IDS_LP_AXES_DIFFER, 6136)               /* "The spectra of the local points have different axes." */                                                                                    \
    X(IDS_MODEL_OPEN_TITLE, 6139)             /* "Choose the Model Data File" */                                                                                                              \
    X(IDS_OPEN_MODEL_DATA, 6142)              /* "Open Model Data" */                                                                                                                         \
    X(IDS_MODEL_FILE_TITLE, 6158)             /* "Choose the Vehicle Model File" */                                                                                                           \
    X(IDS_DAQ_OPTIONS, 6164)                  /* "DAQ Options" */                                                                                                                             \
    X(IDS_TOTAL, 6165)                        /* "Total" */                                                                                                                                   \
    X(IDS_FOLDER_NAME, 6166)                  /* "Pictures" */                                                                                                                                \
    X(IDS_CONNECT_HARDWARE, 6167)             /* "Connect to the acquisition hardware?" */                                                                                                    \
    X(IDS_FINISHED, 6168)                     /* "Finished." */                                                                                                                               \
    X(IDS_OPERATION_FAILED, 6169)             /* "The operation failed." */                                                                                                                   \
    X(IDS_CALCULATION_FINISHED, 6170)         /* "The calculation is finished." */                                                                                                            \
    X(IDS_OPT_EXP_COMMANDS, 6172)             /* "OPT_ExpCommands" */                                                                                                                         \
    X(IDS_FIXED_MODE_OPTION, 6173)            /* "OPT_EngineSetupControls" */                                                                                                                 \
    X(IDS_NO_TAKE_OVER_OPTION, 6174)          /* "OPT_NoTakeOver" */                                                                                                                          \
    X(IDS_OPT_ALWAYS_NEW_DAQ_PROJECT, 6175)   /* "OPT_AlwaysNewDaqProject" */                                                                                                                 \
    X(IDS_OPT_ASK_RECALC, 6176)               /* "OPT_AskRecalcAfterDaqOptions" */                                                                                                            \
    X(IDS_OPT_ORDER_TRACKING, 6177)           /* "OPT_OrderTracking" */                                                                                                                       \
    X(IDS_OPT_EXTENDED_PAGES, 6178)           /* "OPT_ExtendedAnalysisPages" */                                                                                                               \
    X(IDS_CUMULATIVE_CHARTS, 6179)            /* "OPT_CumulativeCharts" */                                                                                                                    \
    X(IDS_SPL_PER_CONTRIBUTOR, 6180)          /* "OPT_SplPerContributor" */                                                                                                                   \
    X(IDS_OPT_DATA_PICKER, 6181)              /* "OPT_DataPicker" */                                                                                                                          \
    X(IDS_OPT_SPL_BY_SINGLE_IP, 6182)         /* "OPT_SplBySingleInputPower" */                                                                                                               \
    X(IDS_OPT_SPL_BY_SINGLE_IP_COMP, 6183)    /* "OPT_SplBySingleInputPowerComp" */                                                                                                           \
    X(IDS_OPT_ALT_DATA_VIEWS, 6184)           /* "OPT_AltDataViews" */                                                                                                                        \
    X(IDS_OPTIONS_KEY_PATH, 6187)             /* "Software\\%s\\ORVEX\\Settings" */                                                                                                           \
    X(IDS_CLEAR_GROUP, 6190)                  /* "Clear the members of this group?" */                                                                                                        \
    X(IDS_INPUT_POWER_SOURCES, 6191)          /* "Input Power Sources" */                                                                                                                     \
    X(IDS_ASK_REVISE_POWERS, 6192)    /* "Revise input powers that come out zero or negative by lowering cou..." */                                                                           \
    X(IDS_RPM_CAPTION, 6193)          /* "RPM Set-up" */                                                                                                                                      \
    X(IDS_RPM_CHANNEL_NAME, 6194)     /* "RPM" */                                                                                                                                             \
    X(IDS_TICK_USED, 6196)            /* "Tick the used data sets" */                                                                                                                         \
    X(IDS_INPUT_ENERGY_CAPTION, 6197) /* "Input Energy Calculation" */                                                                                                                        \
    X(IDS_SPL_BY_INPUT_CAPTION, 6198) /* "SPL by Input Power" */                                                                                                                              \
    X(IDS_INPUT_POWER_CAPTION, 6199)  /* "Input Power Calculation" */                                                                                                                         \
    X(IDS_CHOOSE_SUBSYSTEM, 6200)     /* "Choose a subsystem." */                                                                                                                             \
    X(IDS_SENSOR_EXISTS, 6201)        /* "A sensor with this ID already exists." */                                                                                                           \
    X(IDS_TAKE_OVER_STORED_SETTINGS, 6202)     /* "Take over the settings of the stored experiments?" */                                                                                      \
    X(IDS_DATA_SET_PROPERTIES, 6203)           /* "Data set properties" */                                                                                                                    \
    X(IDS_SORT_QUESTION, 6205)                 /* "Sort the bundles?" */                                                                                                                      \
    X(IDS_NO_SOURCE, 6206)                     /* "Choose at least one source." */                                                                                                            \
    X(IDS_NO_TARGET, 6207)                     /* "Choose a target." */                                                                                                                       \
    X(IDS_RPM_ADD_CAPTION, 6209)               /* "Add Value" */                                                                                                                              \
    X(IDS_POWER_CONTRIBUTION, 6210)            /* "Power Contribution" */                                                                                                                     \
    X(IDS_RPM_MARGIN_TOO_LARGE, 6211)          /* "The RPM margin is larger than the RPM range." */                                                                                           \
    X(IDS_UNTICK_ALL, 6212)                    /* "Untick all" */                                                                                                                             \
    X(IDS_DAQ_FILE_ERROR, 6213)                /* "The measurement file could not be processed." */                                                                                           \
    X(IDS_NO_TITLE, 6214)                      /* "No Title" */                                                                                                                               \
    X(IDS_MAX_CHANNEL_TOO_SMALL, 6216)         /* "The number is below the current maximum channel number." */                                                                                \
    X(IDS_CHANNEL_SHEET, 6217)                 /* "Sensors" */                                                                                                                                \
    X(IDS_SHORTCUT_NEW_PROJECT, 6218)          /* "New Project" */                                                                                                                            \
    X(IDS_SHORTCUT_OPEN_PROJECT, 6219)         /* "Open Project" */                                                                                                                           \
    X(IDS_SHORTCUT_PROJECT_GROUP, 6220)        /* "Project" */                                                                                                                                \
    X(IDS_SHORTCUT_MODEL_VIEW, 6221)           /* "Model View" */                                                                                                                             \
    X(IDS_SHORTCUT_READ_MODEL_DATA, 6222)      /* "Read Model Data" */                                                                                                                        \
    X(IDS_SHORTCUT_MODEL_VARIANT, 6223)        /* "Model Variant" */                                                                                                                          \
    X(IDS_SHORTCUT_MODEL_UPDATE, 6224)         /* "Model Update" */                                                                                                                           \
    X(IDS_SHORTCUT_MODEL_GROUP, 6225)          /* "Model" */                                                                                                                                  \
    X(IDS_SHORTCUT_NEW_DAQ_PROJECT, 6226)      /* "New DAQ Project" */                                                                                                                        \
    X(IDS_SHORTCUT_NEW_ANALYSIS_PROJECT, 6227) /* "New Analysis Project" */                                                                                                                   \
    X(IDS_SHORTCUT_ANALYSIS_GROUP, 6228)       /* "Analysis" */                                                                                                                               \
    X(IDS_OWN_SUBSYSTEM_KEPT, 6229)            /* "The project's own subsystem cannot be removed." */                                                                                         \
    X(IDS_NO_WINDOW, 6230)                     /* "No measurement window could be opened." */                                                                                                 \
    X(IDS_HARDWARE_INIT_FAILED, 6232)          /* "The acquisition hardware could not be initialised." */                                                                                     \
    X(IDS_NONE, 6233)                          /* "(none)" */                                                                                                                                 \
    X(IDS_SET, 6234)                           /* "Set" */                                                                                                                                    \
    X(IDS_NO_FREE_CHANNELS, 6235)              /* "Not enough free channels." */                                                                                                              \
    X(IDS_NO_FREE_UNITS, 6236)                 /* "Not enough free units." */                                                                                                                 \
    X(IDS_TIP_COPY, 6237)                      /* "Copy" */                                                                                                                                   \
    X(IDS_READ_FROM_HARDWARE, 6238)            /* "Read from the hardware" */                                                                                                                 \
    X(IDS_TIP_DOWN, 6239)                      /* "Down" */                                                                                                                                   \
    X(IDS_TIP_UP, 6240)                        /* "Up" */                                                                                                                                     \
    X(IDS_TIP_PASTE, 6241)                     /* "Paste" */                                                                                                                                  \
    X(IDS_TIP_MOVE_BY_DRAG, 6242)              /* "Move by drag" */                                                                                                                           \
    X(IDS_CARRY_ON, 6243)                      /* "Open a new measurement with these experiments?" */                                                                                         \
    X(IDS_APPLY, 6244)                         /* "Apply" */                                                                                                                                  \
    X(IDS_SOLMOX_PROJECT_FILTER, 6245)         /* "Project Files (*.*)|*.*||" */                                                                                                              \
    X(IDS_SOLMOX_PROJECT_TITLE, 6247)          /* "Open Project of the Model Source" */                                                                                                       \
    X(IDS_RECALC_INPUT_POWERS, 6254)           /* "The input powers of the analysis projects will be recalculated." */                                                                        \
    X(IDS_RECALC_PULSES, 6255)                 /* "Recalculate the measured data?" */                                                                                                         \
    X(IDS_EXCEL_NOT_STARTED, 6256)             /* "Excel could not be started." */                                                                                                            \
    X(IDS_MOVING, 6258)                        /* "Moving" */                                                                                                                                 \
    X(IDS_TICK_ONE_GROUP, 6259)                /* "Tick at least one group." */                                                                                                               \
    X(IDS_CABLES_TICKED, 6260)                 /* "%d cables are needed, but %d are ticked." */                                                                                               \
    X(IDS_EMPTY_ORDER_LIST, 6261)              /* "The order list is empty." */                                                                                                               \
    X(IDS_PROJECT_MADE, 6262)                  /* "The analysis project was created." */                                                                                                      \
    X(IDS_UF_FILTER, 6263)                     /* "Universal Files (*.uff;*.unv)|*.uff;*.unv|All Files (*.*)|*.*||" */                                                                        \
    X(IDS_BAND_VALUE_NOT_POSITIVE, 6266)       /* "The band value must be greater than 0." */                                                                                                 \
    X(IDS_PASTED, 6268)                        /* "The data were pasted." */                                                                                                                  \
    X(IDS_COPIED, 6269)                        /* "The data were copied." */                                                                                                                  \
    X(IDS_TIP_LOAD, 6270)                      /* "Load from file" */                                                                                                                         \
    X(IDS_TIP_SAVE, 6271)                      /* "Save to file" */                                                                                                                           \
    X(IDS_ADD_SOURCE_CAPTION, 6274)            /* "Add Source" */                                                                                                                             \
    X(IDS_ENTER_PROJECT_NAME, 6275)            /* "Please enter the project name." */                                                                                                         \
    X(IDS_FOLDER_EMPTY, 6276)                  /* "Please select the folder of the project." */                                                                                               \
    X(IDS_BROWSE_TITLE, 6278)                  /* "Select the folder of the project" */                                                                                                       \
    X(IDS_MODEL_FILE_FILTER, 6280)       /* "Vehicle Model Files (*.ntf;*.xml)|*.ntf;*.xml|All Files (*.*)|*.*||" */                                                                          \
    X(IDS_COLUMN_FIRST, 6281)            /* "Name" */                                                                                                                                         \
    X(IDS_GRID_COMBO_FONT, 6285)         /* "Sans Serif" */                                                                                                                                   \
    X(IDS_REPLACE_TABLE, 6286)           /* "The current table will be replaced. Continue?" */                                                                                                \
    X(IDS_NO_PLAN_SELECTED, 6287)        /* "Select at least one plan." */                                                                                                                    \
    X(IDS_WORKBOOK_FILTER, 6288)         /* "Excel Workbooks (*.xlsx)|*.xlsx||" */                                                                                                            \
    X(IDS_APPLY_CHANGES, 6289)           /* "Apply the changes?" */                                                                                                                           \
    X(IDS_SAVE_CHANGES, 6290)            /* "Save the changes?" */                                                                                                                            \
    X(IDS_TIP_MOVE_DOWN, 6291)           /* "Move down" */                                                                                                                                    \
    X(IDS_TIP_MOVE_UP, 6292)             /* "Move up" */                                                                                                                                      \
    X(IDS_TIP_MOVE, 6293)                /* "Move" */                                                                                                                                         \
    X(IDS_PLAN_HOLDS_CHANNELS, 6294)     /* "The plan still holds channels." */                                                                                                               \
    X(IDS_ROWS_PAST_LAST_CHANNEL, 6295)  /* "The rows would run past the last channel." */                                                                                                    \
    X(IDS_TIP_CUT, 6296)                 /* "Cut" */                                                                                                                                          \
    X(IDS_TIP_UNDO, 6297)                /* "Undo" */                                                                                                                                         \
    X(IDS_TIP_REDO, 6298)                /* "Redo" */                                                                                                                                         \
    X(IDS_OPT_RUN_TOLERANCE, 6299)       /* "OPT_UFBuildParam" */                                                                                                                             \
    X(IDS_COLUMN_NONE, 6301)             /* "(none)" */                                                                                                                                       \
    X(IDS_COLUMN_GLOBAL_NO, 6302)        /* "Global No." */                                                                                                                                   \
    X(IDS_COLUMN_CHANNEL_GROUP, 6303)    /* "Channel Group" */                                                                                                                                \
    X(IDS_COLUMN_POINT, 6304)            /* "Point" */                                                                                                                                        \
    X(IDS_COLUMN_DIRECTION, 6305)        /* "Direction" */                                                                                                                                    \
    X(IDS_COLUMN_INPUT_MODE, 6306)       /* "Input Mode" */                                                                                                                                   \
    X(IDS_COLUMN_QUANTITY, 6307)         /* "Quantity" */                                                                                                                                     \
    X(IDS_COLUMN_SENSITIVITY, 6308)      /* "Sensitivity" */                                                                                                                                  \
    X(IDS_COLUMN_ELECTRICAL_UNIT, 6309)  /* "Electrical Unit" */                                                                                                                              \
    X(IDS_COLUMN_SENSITIVITY_UNIT, 6310) /* "Sensitivity Unit" */                                                                                                                             \
    X(IDS_COLUMN_SUBSYSTEM, 6311)        /* "Subsystem" */                                                                                                                                    \
    X(IDS_COLUMN_LOCAL_NO, 6312)         /* "Local No." */                                                                                                                                    \
    X(IDS_COLUMN_SENSOR, 6313)           /* "Sensor" */                                                                                                                                       \
    X(IDS_OPT_ASK_RECALC_IE, 6319)       /* "IP_AskRecalcIE" */                                                                                                                               \
    X(IDS_NEWER_VERSION, 6320)           /* "A newer version is available. Open the download page?" */                                                                                        \
    X(IDS_UP_TO_DATE, 6321)              /* "You are using the latest version." */                                                                                                            \
    X(IDS_CHECK_FAILED, 6322)            /* "The update check failed." */                                                                                                                     \
    X(IDS_PUSH_QUESTION, 6323)           /* "Copy the sensor properties into the measured data?" */                                                                                           \
    X(IDS_PUSH_DONE, 6324)               /* "The sensor properties were copied." */                                                                                                           \
    X(IDS_FILE_TOO_NEW, 6450)     /* "This project file was written by a newer version of the program and can..." */                                                                          \
    X(IDS_NOT_PROJECT_FILE, 6451) /* "This file is not a project file." */                                                                                                                    \
    X(IDS_PROJECT_WINDOW_TITLE, 6452)       /* "Project Window" */                                                                                                                            \
    X(IDS_SHORTCUT_BAR_TITLE, 6453)         /* "ShortcutBar" */                                                                                                                               \
    X(IDS_UNKNOWN_DUMP_PARAMETER, 6454)     /* "The dump parameter "%s" is not known; nothing was written." */                                                                                \
    X(IDS_SENSOR_IMPORT_LIST, 6700)         /* "Import Sensor List..." */                                                                                                                     \
    X(IDS_SENSOR_EXPORT_LIST, 6701)         /* "Export Sensor List..." */                                                                                                                     \
    X(IDS_SENSOR_IMPORT_WORKBOOK, 6702)     /* "Import from Workbook..." */                                                                                                                   \
    X(IDS_SENSOR_NEW, 6703)                 /* "New" */                                                                                                                                       \
    X(IDS_SENSOR_INSERT, 6704)              /* "Insert" */                                                                                                                                    \
    X(IDS_SENSOR_PROPERTIES, 6705)          /* "Properties..." */                                                                                                                             \
    X(IDS_SENSOR_DELETE, 6706)              /* "Delete" */                                                                                                                                    \
    X(IDS_SENSOR_DELETE_ROW, 6707)          /* "Delete Row" */                                                                                                                                \
    X(IDS_SENSOR_COPY_ROWS, 6708)           /* "Copy Rows" */                                                                                                                                 \
    X(IDS_SENSOR_MOVE_UP, 6709)             /* "Move Up" */                                                                                                                                   \
    X(IDS_SENSOR_MOVE_DOWN, 6710)           /* "Move Down" */                                                                                                                                 \
    X(IDS_SENSOR_MOVE_LEFT, 6711)           /* "Move Left" */                                                                                                                                 \
    X(IDS_SENSOR_MOVE_RIGHT, 6712)          /* "Move Right" */                                                                                                                                \
    X(IDS_SENSOR_SORT_BUNDLES, 6713)        /* "Sort Bundles" */                                                                                                                              \
    X(IDS_SENSOR_PUSH, 6714)                /* "Copy into Measured Data" */                                                                                                                   \
    X(IDS_SENSOR_LIST_TAB, 6715)            /* "Sensor List" */                                                                                                                               \
    X(IDS_SENSOR_BUNDLES_TAB, 6716)         /* "Bundles" */                                                                                                                                   \
    X(IDS_SENSOR_GROUPS_TAB, 6717)          /* "Groups" */                                                                                                                                    \
    X(IDS_SENSOR_WINDOW_TITLE, 6718)        /* "Sensors" */                                                                                                                                   \
    X(IDS_BUNDLE_MEMBER_NAME, 7001)         /* "%s #%d" */                                                                                                                                    \
    X(IDS_BUNDLE_EXISTS, 7002)              /* "The bundle %s already exists." */                                                                                                             \
    X(IDS_SAME_BUNDLE_OTHER, 7003)          /* "%s and %s use the same bundle %s." */                                                                                                         \
    X(IDS_BUNDLE_TWICE, 7004)               /* "%s: the bundle %s is used twice." */                                                                                                          \
    X(IDS_BAD_NUMBER, 7005)                 /* "The number %s may contain only digits and '.'." */                                                                                            \
    X(IDS_NAME_LETTERS_DIGITS, 7006)        /* "The name %s may contain only letters and digits." */                                                                                          \
    X(IDS_NO_BUNDLE, 7007)                  /* "%s has no bundle." */                                                                                                                         \
    X(IDS_BOARD_REPLACED, 7008)             /* "The board in slot %d was replaced." */                                                                                                        \
    X(IDS_UNEXPECTED_UNIT_SERIAL, 7009)     /* "Unexpected unit serial %s." */                                                                                                                \
    X(IDS_DATA_FILE_UNOPENABLE, 7010)       /* "The data file %s could not be opened." */                                                                                                     \
    X(IDS_CHANNEL_OTHER, 7011)              /* "%s: channel %d is already used." */                                                                                                           \
    X(IDS_CHANNEL_TWICE, 7012)              /* "%s: channel %d is used twice." */                                                                                                             \
    X(IDS_CHANNEL_NUMBER_TWICE, 7013)       /* "Channel %d is used twice." */                                                                                                                 \
    X(IDS_REMOVE_PROJECT_NAMED, 7015)       /* "Remove the project %s?" */                                                                                                                    \
    X(IDS_DATASET_LABEL, 7016)              /* "DataSet%d" */                                                                                                                                 \
    X(IDS_DELETE_ELEMENT, 7017)             /* "Delete "%s"?" */                                                                                                                              \
    X(IDS_UNIT_CHANNEL_NUMBER, 7018)        /* "%d-%d" */                                                                                                                                     \
    X(IDS_UNIT_CHANNEL, 7019)               /* "%s CH%d" */                                                                                                                                   \
    X(IDS_SAME_BUNDLE_ID_OTHER, 7020)       /* "%s and %s use the same bundle ID %s." */                                                                                                      \
    X(IDS_BUNDLE_ID_TWICE, 7021)            /* "%s: the bundle ID %s is used twice." */                                                                                                       \
    X(IDS_DOMINANT_PATH_NAME, 7023)         /* "Dominant Path [%s]" */                                                                                                                        \
    X(IDS_ENERGY_NAME, 7024)                /* "Energy [%s]" */                                                                                                                               \
    X(IDS_ENERGY_RATIO_NAME, 7025)          /* "ER(%s, %s)" */                                                                                                                                \
    X(IDS_GCLF_COUPLED_NAME, 7026)          /* "Global CLF(%s, %s)" */                                                                                                                        \
    X(IDS_GCLF_UNCOUPLED_NAME, 7027)        /* "Global CLF(%s, %s) (not coupled in the model)" */                                                                                             \
    X(IDS_SERIAL_NAME, 7028)                /* "%s #%d" */                                                                                                                                    \
    X(IDS_POWER_NAME_1, 7029)               /* "Input Energy(%s)" */                                                                                                                          \
    X(IDS_POWER_NAME_0, 7030)               /* "Input Power(%s)" */                                                                                                                           \
    X(IDS_POWER_NAME_2, 7031)               /* "Pressure(%s)" */                                                                                                                              \
    X(IDS_POWER_NAME_3, 7032)               /* "Velocity(%s)" */                                                                                                                              \
    X(IDS_POWER_CONTRIBUTION_NAME, 7036)    /* "Power Contribution [%s]" */                                                                                                                   \
    X(IDS_SPL_NAME, 7038)                   /* "SPL [%s]" */                                                                                                                                  \
    X(IDS_SPL_BY_INPUT_TITLE, 7039)         /* "SPL by Input Power [%s]" */                                                                                                                   \
    X(IDS_SPL_COMPARISON, 7040)             /* "SPL Comparison [%s]" */                                                                                                                       \
    X(IDS_VIBRATION_LEVEL_NAME, 7041)       /* "Vibration Level [%s]" */                                                                                                                      \
    X(IDS_VIBRATION_COMPARISON, 7042)       /* "Vibration Level Comparison [%s]" */                                                                                                           \
    X(IDS_REVISE_RATIO, 7043)               /* "Revised %g: %s at %s, ratio %g\n" */                                                                                                          \
    X(IDS_CHANNEL_NAME, 7044)               /* "%s:%02d" */                                                                                                                                   \
    X(IDS_WORK_FOLDER_PATTERN, 7046)        /* "%sDAQ" */                                                                                                                                     \
    X(IDS_NO_MEASURED_DATA, 7047)           /* "There are no measured data for %s." */                                                                                                        \
    X(IDS_AVERAGE_EXP_DESCRIPTION, 7048)    /* "%s: %s - %s" */                                                                                                                               \
    X(IDS_AVERAGE_EXP_NAME, 7049)           /* "EXP%d-%d" */                                                                                                                                  \
    X(IDS_REVISE_SOLVE_FAILED, 7050)        /* "The solve failed at %s.\n" */                                                                                                                 \
    X(IDS_MODEL_DATA_FILE_UNREADABLE, 7052) /* "The model data file %s could not be read." */                                                                                                 \
    X(IDS_CHANNEL_FAILED, 7053)             /* "Channel %d is not available." */                                                                                                              \
    X(IDS_INPUT_POWER_NOT_CALCULATED, 7054) /* "The input power of %s cannot be calculated." */                                                                                               \
    X(IDS_FILE_CANNOT_OPEN, 7055)           /* "The file %s cannot be opened." */                                                                                                             \
    X(IDS_BLIX_FILE_FAILED, 7056)           /* "The channel file %s could not be processed." */                                                                                               \
    X(IDS_FILE_NOT_VALID, 7057)             /* "The file %s is not valid." */                                                                                                                 \
    X(IDS_GENERAL_DATA_EMPTY, 7058)         /* "%s holds no data." */                                                                                                                         \
    X(IDS_FILE_VERSION, 7059)               /* "File Version: %s" */                                                                                                                          \
    X(IDS_FILE_TIME, 7060)                  /* "File Time: %s" */                                                                                                                             \
    X(IDS_PROGRAM_FILE, 7061)               /* "EXENAME:%s" */                                                                                                                                \
    X(IDS_PRODUCT_VERSION, 7062)            /* "Product Version: %s" */                                                                                                                       \
    X(IDS_FILE_NOT_WRITTEN, 7063)           /* "The file %s could not be written." */                                                                                                         \
    X(IDS_FILE_EMPTY, 7064)                 /* "The file %s is empty." */                                                                                                                     \
    X(IDS_NO_FILE, 7065)                    /* "The file %s does not exist." */                                                                                                               \
    X(IDS_FILE_READ_ONLY, 7066)             /* "The file %s is read-only." */                                                                                                                 \
    X(IDS_BLIX_BUNDLE_ID, 7067)             /* "%05d-BLIX" */                                                                                                                                 \
    X(IDS_UNIT_LABEL, 7068)                 /* "%05d" */                                                                                                                                      \
    X(IDS_DATA_SET_MISSING, 7069)           /* "A data set is missing in %s." */                                                                                                              \
    X(IDS_MASS_NOT_POSITIVE, 7073)          /* "The mass of %s must be greater than 0." */                                                                                                    \
    X(IDS_SENSOR_KIND, 7074)                /* "%s: sensor %s does not fit the subsystem." */                                                                                                 \
    X(IDS_VOLUME_NOT_POSITIVE, 7076)        /* "The volume of %s must be greater than 0." */                                                                                                  \
    X(IDS_CHANNEL_LEVELS, 7080)             /* "Channel Levels [%s]" */                                                                                                                       \
    X(IDS_GROUP_TOO_LARGE, 7081)            /* "A sensor group cannot hold more than %d channels." */                                                                                         \
    X(IDS_NO_EXPERIMENTS, 7082)             /* "These subsystems have no experiments:\n%s" */                                                                                                 \
    X(IDS_NUMBER_MISSING, 7083)             /* "The number of %s must be 0 or more." */                                                                                                       \
    X(IDS_CLF_ENTRY_ZERO, 7084) /* "The coupling loss factor at %g Hz between %s and %s is 0 and cannot b..." */                                                                              \
    X(IDS_DAQ_NOT_MEASUREMENT_FILE, 7085) /* "%s is not a measurement file." */                                                                                                               \
    X(IDS_ORDER_FREQUENCIES, 7086)        /* "N [%s]" */                                                                                                                                      \
    X(IDS_ORDER_NAME, 7087)               /* "Order %g" */                                                                                                                                    \
    X(IDS_ORDER_LEVELS, 7088)             /* "Order Levels [%s]" */                                                                                                                           \
    X(IDS_ORDER_DATA, 7089)               /* "Order Data [%s]" */                                                                                                                             \
    X(IDS_BLIX_REPORT_WRITTEN, 7090)      /* "The channel file could not be processed. See %s for the errors." */                                                                             \
    X(IDS_RECALC_ERRORS, 7091)            /* "The recalculation reported errors. See %s." */                                                                                                  \
    X(IDS_REVISE_NOT_CONVERGED, 7094)     /* "Not converged after %d steps: %s at %s\n" */                                                                                                    \
    X(IDS_OVERWRITE_POWER, 7095)          /* "%s exists already. Overwrite its values?" */                                                                                                    \
    X(IDS_PROJECT_EXISTS, 7096)           /* "A project of this name already exists in %s." */                                                                                                \
    X(IDS_SPECTRUM, 7097)                 /* "%s" */                                                                                                                                          \
    X(IDS_ID_USED, 7098)                  /* "The bundle ID %s is already used." */                                                                                                           \
    X(IDS_TEXT_TWICE, 7099)               /* "%s is used twice." */                                                                                                                           \
    X(IDS_NO_SEA_MODEL_DATA, 7100)        /* "There is no SEA model data #%d." */                                                                                                             \
    X(IDS_BUNDLE_IN_USE, 7101)            /* "The sensor is used by %s" */                                                                                                                    \
    X(IDS_UNKNOWN_BUNDLE, 7102)           /* "%s: unknown bundle." */                                                                                                                         \
    X(IDS_SAME_SENSOR_OTHER, 7103)        /* "%s and %s use the same sensor %s." */                                                                                                           \
    X(IDS_SENSOR_TWICE, 7104)             /* "%s: the sensor %s is used twice." */                                                                                                            \
    X(IDS_NO_GROUP, 7105)                 /* "%s has no sensor group." */                                                                                                                     \
    X(IDS_NO_LP, 7106)                    /* "%s has no local point." */                                                                                                                      \
    X(IDS_NO_SENSOR_FOR, 7107)            /* "No sensor for %s." */                                                                                                                           \
    X(IDS_SENSOR_UNKNOWN, 7108)           /* "%s: sensor %s is not in the sensor list." */                                                                                                    \
    X(IDS_SOURCE_LISTED, 7109)            /* "%s is already listed." */                                                                                                                       \
    X(IDS_CANNOT_BE_PLACED, 7117)         /* "%s cannot be placed." */                                                                                                                        \
    X(IDS_APPEARS_TWICE, 7119)            /* "%s appears twice (row %d column %d and row %d column %d)." */                                                                                   \
    X(IDS_NO_SPEAKER_ER, 7120)            /* "No energy ratio between %s and %s." */                                                                                                          \
    X(IDS_NO_MODEL_ER, 7121)              /* "No model energy ratio between %s and %s." */                                                                                                    \
    X(IDS_INPUT_POWER_FAILED, 7122)       /* "The input powers of %s could not be calculated." */                                                                                             \
    X(IDS_PLAN_SENSORS_DO_NOT_FIT, 7123)  /* "The plan %s has too few channels for the sensors of %s." */                                                                                     \
    X(IDS_NO_SENSOR_TICKED, 7124)         /* "No sensor of %s is ticked. Remove all sensors from %s?" */                                                                                      \
    X(IDS_SENSOR_COUNT_CHANGES, 7125)     /* "The number of sensors of %s changes. Change %s?" */                                                                                             \
    X(IDS_UNIT_GROUP, 7126)               /* "Unit group %d" */                                                                                                                               \
    X(IDS_GROUP_IN_USE, 7127)             /* "The group %s is in use." */                                                                                                                     \
    X(IDS_NO_POSITIVE_INPUT_POWER, 7130)  /* "%s has no input power. Continue?" */                                                                                                            \
    X(IDS_DUPLICATE_NODE, 7131)           /* "Node %d is already used in row %d (%s, point %d)." */                                                                                           \
    X(IDS_MARGIN_RAISED, 7134)            /* "The RPM margin was raised to its minimum %d." */                                                                                                \
    X(IDS_SPAN_RAISED, 7135)              /* "The time span was raised to its minimum %g s." */                                                                                               \
    X(IDS_MIN_SPAN, 7136)                 /* "Minimum: %g s" */                                                                                                                               \
    X(IDS_IMPORT_ID_TAKEN, 7137)          /* "A sensor with the ID %s already exists." */                                                                                                     \
    X(IDS_IMPORT_SENSITIVITY, 7138)       /* "%s: the sensitivity must be greater than 0." */                                                                                                 \
    X(IDS_IMPORT_LIMIT, 7139)             /* "%s: the limit must be greater than 0." */                                                                                                       \
    X(IDS_ELAPSED_SECONDS, 7140)          /* "%.1f s" */                                                                                                                                      \
    X(IDS_PLOVA_TOO_OLD, 7143)            /* "The installed PLOVA (%s) is older than required (%s)." */                                                                                       \
    X(IDS_RPM_STEP_NOT_POSITIVE, 7190)    /* "The RPM step must be greater than 0." */                                                                                                        \
    X(IDS_NO_MODEL_SUBSYSTEM, 7191)       /* "The model has no subsystem %s." */                                                                                                              \
    X(IDS_NO_TARGET_SUBSYSTEM, 7185)   /* "No target subsystem is set: choose it under View > Target and Sources." */                                                                         \
    X(IDS_MIN_ABOVE_MAX, 7195)         /* "The minimum RPM must not be above the maximum RPM." */                                                                                             \
    X(IDS_NAME_NOT_FOR_PICTURES, 7196) /* "The name %s cannot be used for picture files." */                                                                                                  \
    X(IDS_MERGE_SKIPPED, 7221)         /* "These subsystems are not in both projects and were not merged:%s" */                                                                               \
    X(IDS_UF_NOTHING_TO_IMPORT, 7260)  /* "Nothing can be imported from these universal files: %s" */                                                                                         \
    X(IDS_UF_NO_DATASET, 7261)         /* "they hold no dataset 58 (function at a node) in ASCII." */                                                                                         \
    X(IDS_UF_NO_USABLE_KIND,                                                                                                                                                                  \
      7262) /* "none of their %d datasets 58 is a spectrum (function type 2 or 12) or an order function (27); their function types are %s." */                                                \
    X(IDS_UF_NOT_OVER_AXIS,                                                                                                                                                                   \
      7263) /* "their spectra are not over frequency (abscissa type 18) and their order functions not over RPM (abscissa type 19)." */                                                        \
    X(IDS_UF_ORDERS_NEED_ORDER_MODE,                                                                                                                                                          \
      7264) /* "they hold order functions, which are read with "Order functions of order"." */                                                                                                \
    X(IDS_UF_NODES_NOT_IN_TABLE,                                                                                                                                                              \
      7265) /* "no node of their datasets (%s) is in the node table. Choose the node table (UFNodeTable.txt) in the import dialog, or take the subsystems from the datasets' point names." */ \
    X(IDS_UF_NAMES_NOT_SUBSYSTEMS, 7266) /* "no point name of their datasets (%s) names a subsystem of the model." */                                                                         \
    X(IDS_UF_NO_RPM_RUN,                                                                                                                                                                      \
      7267) /* "Every spectrum of the run of %s in %s is at %g RPM: there is no run-up to take the RPM from. Import them with "One fixed RPM"." */                                            \
    X(IDS_UF_RPM_TOO_CLOSE,                                                                                                                                                                   \
      7268) /* "The spectra of the run of %s in %s lie between %g and %g RPM, less than 1 RPM apart." */                                                                                      \
    X(IDS_UF_NODE_TABLE_UNREADABLE, 7269) /* "The node table %s cannot be used: %s." */                                                                                                       \
    X(IDS_CLIPPED_RUN_GAIN_SETTING, 7236) /* "%d channels reached the top of their input range ..." */                                                                                        \
    X(IDS_RECALC_NO_MAPS, 7237)           /* "%s: no maps over RPM could be calculated from its measured data." */                                                                            \
    X(IDS_RECALC_NONE_USED, 7238)         /* "No measured data set of %s is in use: nothing was recalculated. ..." */                                                                         \
    X(IDS_NO_UNIT_FOR_SUBSYSTEMS, 7110)   /* "No acquisition unit is connected, so the channels ..." */                                                                                       \
    X(IDS_SUBSYSTEM_NO_CHANNELS, 7111)    /* "%s has no channels to measure: assign it channels ..." */                                                                                       \
    X(IDS_CLF_NAME, 11608)                /* "CLF(%s, %s)" */                                                                                                                                 \
    X(IDS_INTRINSIC_DLF_NAME, 11609)      /* "Intrinsic DLF(%s)" */                                                                                                                           \
    X(IDS_TOTAL_DLF_NAME, 11610)          /* "Total DLF(%s)" */                                                                                                                               \
    X(IDS_SUBSYSTEM_NOT_IN_MATRIX, 11611) /* "The subsystem %s is not in the loss-factor matrix." */                                                                                          \
    X(IDS_WAVE_NUMBER_NAME, 11802)        /* "Wave Number" */                                                                                                                                 \
    X(IDS_ETA_MATRIX_NAME, 11803)         /* "Eta Matrix" */                                                                                                                                  \
    X(IDS_MODAL_DENSITY_NAME, 11804)      /* "Modal Density" */                                                                                                                               \
    X(IDS_AUTO_NAME_NOT_FOUND, 11901)     /* "The name was not found." */                                                                                                                     \
    X(IDS_AUTO_INDEX_OUT_OF_RANGE, 11902) /* "The index is out of range." */                                                                                                                  \
    X(IDS_AUTO_TYPE_MISMATCH, 11904)      /* "The argument has the wrong type." */                                                                                                            \
    X(IDS_REG_OPEN_FAILED, 12302)         /* "The settings could not be opened." */                                                                                                           \
    X(IDS_APP_TITLE, 0xE000)              /* "ORVEX" */                                                                                                                                       \
    X(IDS_OPEN_FILE, 0xF000)              /* "Open" */

#define ORVEX_DEFINE_STRING_ID(name, id) inline constexpr uint32_t name = id;
ORVEX_STRING_IDS(ORVEX_DEFINE_STRING_ID)
#undef ORVEX_DEFINE_STRING_ID

// Every id above, for the checks of the language tables.
#define ORVEX_LIST_STRING_ID(name, id) id,
inline constexpr uint32_t kAllStringIds[] = {ORVEX_STRING_IDS(ORVEX_LIST_STRING_ID)};
#undef ORVEX_LIST_STRING_ID
