# The energy-balance solver against a plain dense LU of the same band systems.
target_link_libraries(bench_${_n} PRIVATE orvex_platform_elements Eigen3::Eigen)
