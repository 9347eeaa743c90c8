# The channel-assignment import (text and workbook) against the sensor catalogue.
target_link_libraries(bench_${_n} PRIVATE orvex_acquisition orvex_experiments orvex_platform_excel orvex_platform_win)
target_compile_definitions(bench_${_n} PRIVATE ORVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
