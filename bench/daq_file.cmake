# The measurement file over the project model (linked whole so that its classes read back by name).
orvex_link_whole(bench_${_n} orvex_acquisition orvex_app orvex_experiments orvex_spectral)
target_compile_definitions(bench_${_n} PRIVATE ORVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
