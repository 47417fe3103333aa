# Whether a static PIE built with the flags this build was given starts at
# all. Sanitizers, for one, need the dynamic loader: given in
# CMAKE_CXX_FLAGS or CMAKE_EXE_LINKER_FLAGS (as fuzzing services and
# distributions' hardening builds pass them), they make such a program die
# before main. The answer is kept for the flags it was found with.
function(ta_static_pie_starts result)
  string(TOUPPER "${CMAKE_BUILD_TYPE}" config)
  set(flags "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${config}} | ${CMAKE_EXE_LINKER_FLAGS} ${CMAKE_EXE_LINKER_FLAGS_${config}}")
  if(NOT "${TA_STATIC_PIE_FLAGS}" STREQUAL "${flags}")
    if(CMAKE_CROSSCOMPILING)
      set(starts TRUE)
    else()
      try_run(run_result compiled ${CMAKE_BINARY_DIR}/static-pie-check
        ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/static-pie-check.cpp
        LINK_OPTIONS -static-pie
        RUN_OUTPUT_VARIABLE output)
      if(compiled AND run_result EQUAL 0 AND output STREQUAL "started\n")
        set(starts TRUE)
      else()
        set(starts FALSE)
      endif()
    endif()
    set(TA_STATIC_PIE_FLAGS "${flags}" CACHE INTERNAL "the flags TA_STATIC_PIE_STARTS holds for")
    set(TA_STATIC_PIE_STARTS ${starts} CACHE INTERNAL "whether a static PIE starts with them")
  endif()
  set(${result} ${TA_STATIC_PIE_STARTS} PARENT_SCOPE)
endfunction()
