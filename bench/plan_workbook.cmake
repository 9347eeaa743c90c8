# The planning workbook import; the in-memory plan owner of the tests stands for a project.
target_link_libraries(bench_${_n} PRIVATE orvex_planning orvex_platform_excel orvex_platform_win)
target_include_directories(bench_${_n} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
