# The workbook readers: the styles part and the sensor-list import (which writes its workbooks
# first). The package builder of the workbook tests makes the styles parts.
target_link_libraries(bench_${_n} PRIVATE orvex_experiments orvex_platform_excel orvex_platform_win)
target_include_directories(bench_${_n} PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform/excel)
