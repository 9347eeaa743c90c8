# The several-systems interface over simulated systems, first run of a fresh process.
target_link_libraries(bench_${_n} PRIVATE orvex_acquisition orvex_platform_qmx orvex_platform_base orvex_platform_win)
