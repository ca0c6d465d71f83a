# Runs one fuzz target for CTest (cmake -P). MODE=seeds: SECONDS of fuzzing from a fresh copy of
# the seed folder, so the committed corpus never grows. MODE=regressions: every saved input of
# the folder once. Crash inputs land in WORK, never in the source tree.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)

if(MODE STREQUAL "seeds")
  file(GLOB seeds ${SEEDS}/*)
  if(seeds)
    file(COPY ${seeds} DESTINATION ${WORK}/corpus)
  endif()
  set(args -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 ${WORK}/corpus)
else()
  file(GLOB inputs ${SEEDS}/*)
  list(FILTER inputs EXCLUDE REGEX "/README[^/]*$")
  if(NOT inputs)
    message(STATUS "No saved regression inputs in ${SEEDS}")
    return()
  endif()
  set(args -timeout=10 -rss_limit_mb=2048 ${inputs})
endif()

execute_process(COMMAND ${FUZZER} -artifact_prefix=${WORK}/artifacts/ ${args}
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${status}); inputs that failed are in ${WORK}/artifacts")
endif()
