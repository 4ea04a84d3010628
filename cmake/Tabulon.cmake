# Helpers shared by the folders: one library per subsystem, tests and
# benchmarks registered the same way everywhere.

# Adds every listed folder of the current directory that has a CMakeLists.txt.
function(tabulon_add_folders)
  foreach(folder IN LISTS TABULON_FOLDERS ITEMS gui)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt")
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()

# tabulon_gtest(NAME name SOURCES ... LIBS ...): a GoogleTest program run by ctest.
function(tabulon_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# tabulon_qtest(NAME name SOURCES ... LIBS ...): a Qt Test program (widgets, offscreen).
function(tabulon_qtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# tabulon_bench(NAME name SOURCES ... LIBS ...): a Google Benchmark program.
function(tabulon_bench)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# tabulon_runs_programs(TARGET): a test or benchmark that starts tabulon-cli
# and tabulon-sim as programs, finds them by TABULON_CLI_PATH and
# TABULON_SIM_PATH, and shares tests/ helpers such as cli_process.h.
function(tabulon_runs_programs target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    TABULON_SIM_PATH="$<TARGET_FILE:tabulon-sim>"
    TABULON_CLI_PATH="$<TARGET_FILE:tabulon-cli>")
  add_dependencies(${target} tabulon-sim tabulon-cli)
endfunction()
