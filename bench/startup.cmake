# The program's start-up as main runs it, with the sample project; the program's child and one
# bare window child are this executable, so it links the program's libraries whole.
get_property(_startup_libs GLOBAL PROPERTY ORVEX_LIBRARIES)
orvex_link_whole(bench_${_n} ${_startup_libs})
target_link_libraries(bench_${_n} PRIVATE Qt6::Widgets)
target_compile_definitions(bench_${_n} PRIVATE ORVEX_SAMPLE_PROJECT="${ORVEX_SAMPLE_PROJECT}")
add_dependencies(bench_${_n} orvex_sample)
# The parent keeps a connection to the X server (see main).
find_library(ORVEX_XCB_LIBRARY xcb REQUIRED)
target_link_libraries(bench_${_n} PRIVATE ${ORVEX_XCB_LIBRARY})
# The bare and the furnished window in an executable of their own, linked with Qt Widgets alone
# (see startup.cpp).
add_executable(bench_startup_bare_window ${CMAKE_CURRENT_SOURCE_DIR}/support/BareWindow.cpp)
target_link_libraries(bench_startup_bare_window PRIVATE Qt6::Widgets)
add_dependencies(bench_${_n} bench_startup_bare_window)
target_compile_definitions(bench_${_n} PRIVATE ORVEX_BARE_WINDOW="$<TARGET_FILE:bench_startup_bare_window>")
