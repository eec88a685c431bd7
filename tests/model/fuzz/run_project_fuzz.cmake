# Runs the project reader's fuzz target for a bounded time, starting from
# saved projects.
#   cmake -DFUZZER=<target> -DSEEDS=<dir> -DDICT=<file> -DWORK=<dir> -DSECONDS=<n> -P run_project_fuzz.cmake

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus")
file(GLOB seeds "${SEEDS}/*")
file(COPY ${seeds} DESTINATION "${WORK}/corpus")

execute_process(COMMAND "${FUZZER}" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -max_total_time=${SECONDS}
                        -dict=${DICT} -print_final_stats=1 "${WORK}/corpus"
                WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "fuzzing found a failure (exit ${result}); the input is in ${WORK}")
endif()
