# The energy-balance solver against the factorisation Eigen would use for the same band systems.
# Eigen is built here for the instructions the solver's factorisations are built for (AVX2 and FMA
# with GCC on x86-64, where the processor has them), so the yardstick is Eigen at its best on the
# same machine, not Eigen at the baseline.
target_link_libraries(bench_${_n} PRIVATE orvex_platform_elements Eigen3::Eigen)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
  target_compile_options(bench_${_n} PRIVATE -mavx2 -mfma)
  target_compile_definitions(bench_${_n} PRIVATE ORVEX_BENCH_WIDE_EIGEN=1)
endif()
