# The tests (BUILD_TESTING): GoogleTest for the core and the windows, Qt Test
# for the windows, and scripts run under the one Python interpreter.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(core_tests
  tests/core/test_commentary.cpp
  tests/core/test_controls.cpp
  tests/core/test_drawing.cpp
  tests/core/test_examples.cpp
  tests/core/test_extended_record.cpp
  tests/core/test_fault_order.cpp
  tests/core/test_figures.cpp
  tests/core/test_file_faults.cpp
  tests/core/test_files.cpp
  tests/core/test_force_law.cpp
  tests/core/test_number_text.cpp
  tests/core/test_observables.cpp
  tests/core/test_sim.cpp
  tests/core/test_step.cpp
  tests/core/test_view_transform.cpp
)
set_target_properties(core_tests PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
target_link_libraries(core_tests PRIVATE zentrova_core zentrova_bench GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE ZENTROVA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
  ZENTROVA_SIM="$<TARGET_FILE:zentrova-sim>"
  ZENTROVA_EXAMPLES="${CMAKE_SOURCE_DIR}/examples"
  ZENTROVA_EXAMPLES_TOOL="$<TARGET_FILE:zentrova-examples>")
add_dependencies(core_tests zentrova-sim zentrova-examples)
gtest_discover_tests(core_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core)

add_executable(ui_tests
  tests/ui/test_about_box.cpp
  tests/ui/test_editor.cpp
  tests/ui/test_editor_calc.cpp
  tests/ui/test_editor_chart.cpp
  tests/ui/test_error_box.cpp
  tests/ui/test_help_viewer.cpp
  tests/ui/test_main_commands.cpp
  tests/ui/test_main_file_faults.cpp
  tests/ui/test_main_keep_work.cpp
  tests/ui/test_main_startup.cpp
  tests/ui/ui_main.cpp
)
target_link_libraries(ui_tests PRIVATE zentrova_ui Qt6::Test GTest::gtest)
target_compile_definitions(ui_tests PRIVATE ZENTROVA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
add_dependencies(ui_tests zentrova_help)
gtest_discover_tests(ui_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS window)

# Every text of the window is in the Polish and Russian .ts files, translated.
add_test(NAME TranslationsComplete
  COMMAND ${Python_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/ui/check_translations.py $<TARGET_FILE:Qt6::lupdate>
          ${CMAKE_SOURCE_DIR})
set_tests_properties(TranslationsComplete PROPERTIES LABELS window)

# exp and log against a high-precision reference (python3-mpmath).
add_executable(xmath_dump tests/accuracy/xmath_dump.cpp)
target_link_libraries(xmath_dump PRIVATE zentrova_core)
add_test(NAME XmathAccuracy
  COMMAND ${Python_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/accuracy/check_xmath.py $<TARGET_FILE:xmath_dump> 40000)

# The committed tables of exp and log are what their generator writes.
add_test(NAME XmathTablesRegenerate
  COMMAND ${CMAKE_SOURCE_DIR}/tests/accuracy/check_xmath_tables.sh ${Python_EXECUTABLE}
          ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/xmath_tables.h)

# Fuzzing and the end-to-end run as a user keep their own build rules.
if(ZENTROVA_FUZZ)
  add_subdirectory(tests/fuzz)
endif()
add_subdirectory(tests/e2e)

add_test(NAME InstallIntoScratchPrefix
  COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_BINARY_DIR} ${Python_EXECUTABLE})
set_tests_properties(InstallIntoScratchPrefix PROPERTIES LABELS install)
add_test(NAME SweepThroughParallel
  COMMAND ${CMAKE_SOURCE_DIR}/tests/sweep/check_sweep.sh $<TARGET_FILE:zentrova-sim>
          ${CMAKE_SOURCE_DIR}/tests/data/set-a.lis1)
# The README's Slurm job array on a one-node Slurm of its own (root only).
add_test(NAME SlurmRecipeResumesAfterCancel
  COMMAND ${CMAKE_SOURCE_DIR}/tests/slurm/check_slurm_recipe.sh $<TARGET_FILE:zentrova-sim>
          ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/tests/data/set-b.lis1)
set_tests_properties(SlurmRecipeResumesAfterCancel PROPERTIES LABELS slurm SKIP_RETURN_CODE 77 TIMEOUT 400
  RUN_SERIAL TRUE)
add_test(NAME TrajectoryReadByAse
  COMMAND ${Python_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/sweep/check_xyz_ase.py $<TARGET_FILE:zentrova-sim>
          ${CMAKE_SOURCE_DIR}/tests/data/set-b.lis1)

# Builds the three packages from this build and checks what they install.
# Only a build with the module makes all three (never the sanitizer build,
# whose packages would be of no use to anyone).
if(ZENTROVA_BUILD_PYTHON)
  add_test(NAME DebianPackage
    COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_package.sh ${CMAKE_BINARY_DIR} ${Python_EXECUTABLE})
  set_tests_properties(DebianPackage PROPERTIES LABELS package TIMEOUT 900)
endif()
