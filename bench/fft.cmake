# FFTW is the yardstick of the transform benchmark only; the program does not link it.
pkg_check_modules(FFTW3F REQUIRED IMPORTED_TARGET fftw3f)
target_link_libraries(bench_${_n} PRIVATE orvex_spectral PkgConfig::FFTW3F)
# The plain recurrence it is timed against is the one the transform's tests check it with.
target_include_directories(bench_${_n} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
