# Runs the reader's fuzz target for a bounded time: first each page of a set
# of pathological ones once (each must be read or refused well within the
# time-out), then a fuzzing session that starts from the seeds.
#   cmake -DFUZZER=<target> -DSEEDS=<dir> -DDICT=<file> -DWORK=<dir> -DSECONDS=<n> -P run_fuzz.cmake

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus" "${WORK}/pathological")
file(GLOB seeds "${SEEDS}/*")
file(COPY ${seeds} DESTINATION "${WORK}/corpus")

# One megabyte of a piece of markup repeated.
function(megabyte name piece)
    string(LENGTH "${piece}" length)
    math(EXPR count "1048576 / ${length}")
    string(REPEAT "${piece}" ${count} text)
    file(WRITE "${WORK}/pathological/${name}.html" "<form><input name=a>${text}")
endfunction()
megabyte(unclosed_blocks "<div>")
megabyte(formatting "<b>")
megabyte(reconstructed "<b><p>")
megabyte(deep_inline "<span>")
megabyte(table_forms "<table><form><tr><td><input name=x>")
megabyte(attributes "<a b c d e f g h>")
file(GLOB pathological "${WORK}/pathological/*.html")

set(options -timeout=10 -rss_limit_mb=2048)
execute_process(COMMAND "${FUZZER}" ${options} ${pathological} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "a pathological page failed the reader (exit ${result})")
endif()
execute_process(COMMAND "${FUZZER}" ${options} -max_len=1048576 -max_total_time=${SECONDS} -dict=${DICT}
                        -print_final_stats=1 "${WORK}/corpus"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "fuzzing found a failure (exit ${result}); the input is in the working folder")
endif()
