# The energy-balance solver against the factorisation Eigen would use for the same band systems.
target_link_libraries(bench_${_n} PRIVATE orvex_platform_elements Eigen3::Eigen)
