# The universal-file reader; its persistent classes need not read back by name here.
target_link_libraries(bench_${_n} PRIVATE orvex_uff)
target_compile_definitions(bench_${_n} PRIVATE ORVEX_BENCH_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
