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

# tabulon_library(NAME name SOURCES ... LIBS ...): a folder's static library;
# what links it includes its headers as "folder/header.h" and links LIBS too.
function(tabulon_library)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${T_NAME} STATIC ${T_SOURCES})
  target_include_directories(${T_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${T_NAME} PUBLIC ${T_LIBS})
endfunction()

# Test and benchmark programs find what they share below tests/, such as
# "support/file_bytes.h" (benchmarks below bench/ as well).

# tabulon_gtest(NAME name [QT_MAIN] SOURCES ... LIBS ...): a GoogleTest program
# run by ctest. QT_MAIN: its main() makes a Qt application object first, which
# a real serial port or a child process wants.
function(tabulon_gtest)
  cmake_parse_arguments(T "QT_MAIN" "NAME" "SOURCES;LIBS" ${ARGN})
  if(T_QT_MAIN)
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# tabulon_qtest(NAME name SOURCES ... LIBS ...): a Qt Test program (widgets, offscreen).
function(tabulon_qtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# tabulon_bench(NAME name [QT_MAIN|WIDGETS_MAIN] SOURCES ... LIBS ...): a
# Google Benchmark program; QT_MAIN as for tabulon_gtest, WIDGETS_MAIN for the
# benchmarks of windows.
function(tabulon_bench)
  cmake_parse_arguments(T "QT_MAIN;WIDGETS_MAIN" "NAME" "SOURCES;LIBS" ${ARGN})
  if(T_QT_MAIN)
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/bench/support/qt_bench_main.cpp)
  elseif(T_WIDGETS_MAIN)
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/bench/support/widgets_bench_main.cpp)
    list(APPEND T_LIBS Qt6::Widgets)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/bench)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# tabulon_runs_sim(TARGET): a test or benchmark that starts tabulon-sim as a
# program and finds it by TABULON_SIM_PATH.
function(tabulon_runs_sim target)
  target_compile_definitions(${target} PRIVATE TABULON_SIM_PATH="$<TARGET_FILE:tabulon-sim>")
  add_dependencies(${target} tabulon-sim)
endfunction()

# tabulon_runs_programs(TARGET): tabulon-cli as well, by TABULON_CLI_PATH.
function(tabulon_runs_programs target)
  tabulon_runs_sim(${target})
  target_compile_definitions(${target} PRIVATE TABULON_CLI_PATH="$<TARGET_FILE:tabulon-cli>")
  add_dependencies(${target} tabulon-cli)
endfunction()

# Collects into `out` every library `target` links, through the libraries
# those link in turn.
function(_tabulon_linked_libraries target out)
  set(seen ${${out}})
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current} OR current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND pending ${aliased})
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(linked ${current} ${property})
      if(linked)
        list(APPEND pending ${linked})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# tabulon_without_widgets(TARGET...): stops the configuration when one of these
# links QtWidgets, directly or through another library. The engine and the
# command line stay buildable and testable without a display, and the Windows
# command line does not carry the widget DLLs.
function(tabulon_without_widgets)
  foreach(target IN LISTS ARGN)
    set(linked "")
    _tabulon_linked_libraries(${target} linked)
    foreach(widgets Qt6::Widgets Qt::Widgets)
      if(widgets IN_LIST linked)
        message(FATAL_ERROR "${target} must not link QtWidgets, but it does (through one of: ${linked})")
      endif()
    endforeach()
  endforeach()
endfunction()
