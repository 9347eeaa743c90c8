# The analytical model and the energy solver, over the test support's stand-in model project.
orvex_link_whole(bench_${_n} orvex_models)
target_include_directories(bench_${_n} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
