# The fuzz targets' entry code built into a plain program (replay_main.cpp)
# with no libFuzzer, so that every build with tests replays the regression
# corpus and every kept crash: one test per folder, named after it.
set(REPLAY_TARGETS fuzz_car_number fuzz_font_cache fuzz_parse fuzz_whole)
foreach(name ${REPLAY_TARGETS})
  add_executable(replay_${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp
    ${CMAKE_CURRENT_LIST_DIR}/support.cpp ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp)
  target_include_directories(replay_${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(replay_${name} PRIVATE ta_core)
endforeach()

file(GLOB REPLAY_FOLDERS LIST_DIRECTORIES true CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/corpus/* ${CMAKE_CURRENT_LIST_DIR}/crashes/*)
foreach(folder ${REPLAY_FOLDERS})
  if(NOT IS_DIRECTORY ${folder})
    continue()
  endif()
  get_filename_component(name ${folder} NAME)
  get_filename_component(kind ${folder} DIRECTORY)
  get_filename_component(kind ${kind} NAME)
  if(NOT name IN_LIST REPLAY_TARGETS)
    message(FATAL_ERROR "No fuzz target replays ${folder}")
  endif()
  add_test(NAME replay_${kind}_${name} COMMAND replay_${name} ${folder})
  # A whole folder; the slowest, fuzz_whole under the sanitizers, takes
  # a few seconds; the time-out leaves room for a loaded machine.
  set_tests_properties(replay_${kind}_${name} PROPERTIES TIMEOUT 600 LABELS fuzz)
endforeach()
