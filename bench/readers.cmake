# The readers of user files at two sizes; links the application whole so the sample model reads.
orvex_link_whole(bench_${_n} orvex_app)
target_link_libraries(bench_${_n} PRIVATE Qt6::Core)
target_compile_definitions(bench_${_n} PRIVATE ORVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
