# The energy solver over a model project of the test support's kind.
target_link_libraries(bench_${_n} PRIVATE orvex_calculation orvex_models)
target_include_directories(bench_${_n} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
