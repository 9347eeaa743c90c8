# The simulated acquisition systems.
target_link_libraries(bench_${_n} PRIVATE orvex_platform_qmx)
