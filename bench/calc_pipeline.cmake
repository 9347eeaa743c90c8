target_link_libraries(bench_${_n} PRIVATE orvex_calculation orvex_experiments)
