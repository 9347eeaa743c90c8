# orvex_library(<name> [DEPS <targets>...])
# One static library per source folder: every .cpp/.h of the calling folder (not its sub-folders).
function(orvex_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    # A folder whose sources have not arrived yet still gives a target others can link.
    set(_src ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${_src})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  target_compile_definitions(${name} PUBLIC ORVEX_VERSION_TEXT="${PROJECT_VERSION}")
  set_property(GLOBAL APPEND PROPERTY ORVEX_LIBRARIES ${name})
endfunction()

# orvex_link_whole(<target> <libs>...)
# Links every object of the given libraries: persistent classes register themselves by name when
# their object file is linked, and a class that is only ever read from files is referenced nowhere.
function(orvex_link_whole target)
  set(_opts "LINKER:--whole-archive")
  foreach(_l ${ARGN})
    list(APPEND _opts "$<TARGET_FILE:${_l}>")
  endforeach()
  list(APPEND _opts "LINKER:--no-whole-archive")
  target_link_options(${target} PRIVATE ${_opts})
  target_link_libraries(${target} PRIVATE ${ARGN})
endfunction()

# orvex_tests(<name> [DEPS <targets>...])
# One GoogleTest executable per test folder; every .cpp of the calling folder. Each runs with its
# settings in a temporary folder of its own (tests/support/TestMain.cpp).
function(orvex_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  set(_orvex)
  set(_other)
  foreach(_d ${ARG_DEPS})
    if(_d MATCHES "^orvex_")
      list(APPEND _orvex ${_d})
    else()
      list(APPEND _other ${_d})
    endif()
  endforeach()
  if(_orvex)
    orvex_link_whole(${name} ${_orvex})
  endif()
  target_link_libraries(${name} PRIVATE ${_other} orvex_test_main GTest::gtest)
  target_compile_definitions(${name} PRIVATE
    ORVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ORVEX_BINARY_DIR="${CMAKE_BINARY_DIR}"
    ORVEX_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ORVEX_TEST_ENVIRONMENT}"
    DISCOVERY_TIMEOUT 60)
endfunction()
