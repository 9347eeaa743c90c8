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
  if(ORVEX_FUZZ_INSTRUMENTED)
    # The fuzz targets' build reads the test folders only for their fuzz targets.
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ORVEX_TEST_ENVIRONMENT}"
    DISCOVERY_TIMEOUT 60)
  # The binary once whole as well: state one test leaves behind for the next is state one document
  # leaves behind for the next in the program, and only a run in one process shows it.
  add_test(NAME ${name}.WholeBinary COMMAND ${name})
  set_tests_properties(${name}.WholeBinary PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ORVEX_TEST_ENVIRONMENT}"
    TIMEOUT 900)
endfunction()

# orvex_fuzz_target(<test name> TARGET <executable> SOURCE <file> LIBS <orvex libs>... SEEDS <dir>
#                   RUNS <n> [DEFINES <definitions>...])
# A libFuzzer target over the program's own libraries, run by ctest for a bounded number of inputs.
# In the normal build the target's file is compiled by clang with coverage and linked with the
# libraries as the project's compiler built them, so the fuzzer sees only the target's own
# branches. In the instrumented build (ORVEX_FUZZ_INSTRUMENTED) the libraries carry the coverage
# as well, and the fuzzer steers by the readers' branches.
function(orvex_fuzz_target test)
  cmake_parse_arguments(ARG "" "TARGET;SOURCE;SEEDS;RUNS" "LIBS;DEFINES" ${ARGN})
  if(ORVEX_FUZZ_INSTRUMENTED)
    add_executable(${ARG_TARGET} EXCLUDE_FROM_ALL ${ARG_SOURCE})
    target_compile_definitions(${ARG_TARGET} PRIVATE ${ARG_DEFINES})
    orvex_link_whole(${ARG_TARGET} ${ARG_LIBS})
    target_link_options(${ARG_TARGET} PRIVATE -fsanitize=fuzzer)
    add_dependencies(orvex_fuzz_targets ${ARG_TARGET})
  elseif(ORVEX_BUILD_FUZZ)
    find_program(ORVEX_CLANGXX NAMES clang++ clang++-14)
    if(NOT ORVEX_CLANGXX)
      return()
    endif()
    execute_process(COMMAND ${ORVEX_CLANGXX} --print-runtime-dir OUTPUT_VARIABLE _rt_dir
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    find_library(ORVEX_FUZZER_RUNTIME NAMES clang_rt.fuzzer-x86_64 PATHS ${_rt_dir} NO_DEFAULT_PATH)
    if(NOT ORVEX_FUZZER_RUNTIME)
      return()
    endif()
    set(_defs)
    foreach(_d ${ARG_DEFINES})
      list(APPEND _defs -D${_d})
    endforeach()
    set(_obj ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}.o)
    add_custom_command(OUTPUT ${_obj}
      COMMAND ${ORVEX_CLANGXX} -std=c++20 -O1 -g -fsanitize=fuzzer-no-link ${_defs}
              -I${CMAKE_SOURCE_DIR}/src -MD -MF ${_obj}.d -c ${ARG_SOURCE} -o ${_obj}
      DEPENDS ${ARG_SOURCE} DEPFILE ${_obj}.d
      COMMENT "Compiling the ${ARG_TARGET} fuzz target with clang")
    set_source_files_properties(${_obj} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    add_executable(${ARG_TARGET} ${_obj})
    set_target_properties(${ARG_TARGET} PROPERTIES LINKER_LANGUAGE CXX)
    orvex_link_whole(${ARG_TARGET} ${ARG_LIBS})
    target_link_libraries(${ARG_TARGET} PRIVATE ${ORVEX_FUZZER_RUNTIME})
  else()
    return()
  endif()
  # New inputs go to a temporary corpus; the seeds in the source tree are only read.
  add_test(NAME ${test}
    COMMAND sh -c "d=$(mktemp -d) && \"$0\" -runs=$2 -max_len=4096 -seed=1 -rss_limit_mb=2048 -malloc_limit_mb=512 \"$d\" \"$1\"; rc=$?; rm -rf \"$d\"; exit $rc"
            $<TARGET_FILE:${ARG_TARGET}> ${ARG_SEEDS} ${ARG_RUNS})
  set_tests_properties(${test} PROPERTIES ENVIRONMENT
                       "QT_QPA_PLATFORM=offscreen;ORVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR};${ORVEX_TEST_ENVIRONMENT}")
endfunction()

# orvex_runtime_library(<prefix>...)
# For libraries found by pkg_check_modules(<prefix> ...) that the program loads when they are first
# used (platform/base/RuntimeLibrary.h): the generated header platform/base/RuntimeLibraryNames.h
# defines ORVEX_<prefix>_RUNTIME_NAME, the file name each loads under (its SONAME), and the
# interface target <prefix>_headers carries each one's include folders and flags alone.
# ORVEX_GENERATED_INCLUDE is the folder of the generated header.
function(orvex_runtime_library)
  set(_defines)
  foreach(prefix ${ARGN})
    set(_name)
    foreach(_lib ${${prefix}_LINK_LIBRARIES})
      if(_lib MATCHES "\\.so" AND NOT _name)
        execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${_lib} OUTPUT_VARIABLE _out ERROR_QUIET)
        if(_out MATCHES "SONAME +([^ \n]+)")
          set(_name ${CMAKE_MATCH_1})
        endif()
      endif()
    endforeach()
    if(NOT _name)
      message(FATAL_ERROR "No run-time file name found for ${prefix} (${${prefix}_LINK_LIBRARIES})")
    endif()
    string(APPEND _defines "#define ORVEX_${prefix}_RUNTIME_NAME \"${_name}\"\n")
    add_library(${prefix}_headers INTERFACE)
    target_include_directories(${prefix}_headers SYSTEM INTERFACE ${${prefix}_INCLUDE_DIRS})
    target_compile_options(${prefix}_headers INTERFACE ${${prefix}_CFLAGS_OTHER})
  endforeach()
  set(ORVEX_GENERATED_INCLUDE ${CMAKE_BINARY_DIR}/generated PARENT_SCOPE)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/platform/base/RuntimeLibraryNames.h
       CONTENT "#pragma once\n// The file names of the libraries loaded on first use, as this build found them.\n${_defines}")
endfunction()
