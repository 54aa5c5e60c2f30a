# The command line as its users run it, twice: once by the programs under
# test (the Windows build under its emulator) and once by the reference
# programs (the Linux build). Each run makes the same sample game twice,
# exports one, imports a spreadsheet of edits into it, exports it again,
# writes the difference of the two games as a JSON patch on standard output
# and applies that patch to the untouched copy. Every file either run
# produced, the games' tables included, must be the same byte for byte in
# both runs, and within each run the patched copy must equal the edited game.
#
#   cmake "-DPROGRAMS=emulator...|cli|sample" "-DREFERENCE=cli|sample"
#         -DWORK=folder -P cli_programs_agree.cmake
# Each is a list separated by | (a ; would not survive add_test): the
# emulator's words, if any, then the two programs. Without REFERENCE only the
# run's own checks are made.

cmake_minimum_required(VERSION 3.25)

# Runs one program of a run; stops the test on a failure.
function(run_program label)
  cmake_parse_arguments(RUN "" "OUTPUT" "COMMAND" ${ARGN})
  set(output_args)
  if(RUN_OUTPUT)
    set(output_args OUTPUT_FILE ${RUN_OUTPUT})
  endif()
  execute_process(COMMAND ${RUN_COMMAND} WORKING_DIRECTORY ${run_dir} RESULT_VARIABLE status
                  ${output_args} ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${label}: ${RUN_COMMAND} ended with ${status}\n${errors}")
  endif()
endfunction()

# One run in WORK/<name> with `cli` and `sample` (lists: emulator, program).
function(run_scenario name cli sample)
  set(run_dir ${WORK}/${name})
  file(REMOVE_RECURSE ${run_dir})
  file(MAKE_DIRECTORY ${run_dir})
  # Relative paths, which mean the same on both systems; the edited game's
  # folder name is not ASCII, to carry UTF-8 through both command lines.
  set(edited "Fendra édité")
  set(original "Fendra")
  run_program("${name} sample" COMMAND ${sample} ${edited} --size small --seed 17)
  run_program("${name} sample" COMMAND ${sample} ${original} --size small --seed 17)
  run_program("${name} export" COMMAND ${cli} export ${edited} -o before.csv)
  # Wages and determination of three people; an empty cell keeps its value.
  file(WRITE ${run_dir}/edits.csv "position,wages,determination\r\n0,123456,20\r\n7,,1\r\n1500,99,\r\n")
  run_program("${name} import" COMMAND ${cli} import ${edited} edits.csv)
  run_program("${name} export" COMMAND ${cli} export ${edited} -o after.csv)
  run_program("${name} diff" COMMAND ${cli} diff ${original} ${edited} --json OUTPUT patch.json)
  run_program("${name} apply" COMMAND ${cli} apply ${original} patch.json)

  file(SHA256 "${run_dir}/${edited}/data/staff.dat" edited_sum)
  file(SHA256 "${run_dir}/${original}/data/staff.dat" patched_sum)
  if(NOT edited_sum STREQUAL patched_sum)
    message(FATAL_ERROR "${name}: the patched copy's staff.dat differs from the edited game's")
  endif()
  file(SHA256 "${run_dir}/before.csv" before_sum)
  file(SHA256 "${run_dir}/after.csv" after_sum)
  if(before_sum STREQUAL after_sum)
    message(FATAL_ERROR "${name}: the import changed nothing")
  endif()
  message(STATUS "${name}: staff.dat after the edits ${edited_sum}")
endfunction()

foreach(required PROGRAMS WORK)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "${required} is not given")
  endif()
endforeach()

# The last two words of a program list are cli and sample; any before them
# are the emulator's.
function(split_programs list out_cli out_sample)
  list(LENGTH list count)
  math(EXPR cli_at "${count} - 2")
  math(EXPR sample_at "${count} - 1")
  list(SUBLIST list 0 ${cli_at} emulator)
  list(GET list ${cli_at} cli)
  list(GET list ${sample_at} sample)
  set(${out_cli} ${emulator} ${cli} PARENT_SCOPE)
  set(${out_sample} ${emulator} ${sample} PARENT_SCOPE)
endfunction()

string(REPLACE "|" ";" PROGRAMS "${PROGRAMS}")
string(REPLACE "|" ";" REFERENCE "${REFERENCE}")
split_programs("${PROGRAMS}" cli sample)
run_scenario(tested "${cli}" "${sample}")
if(NOT REFERENCE)
  message(STATUS "no reference programs given: compared with nothing else")
  return()
endif()
split_programs("${REFERENCE}" reference_cli reference_sample)
run_scenario(reference "${reference_cli}" "${reference_sample}")

file(GLOB_RECURSE produced RELATIVE ${WORK}/tested ${WORK}/tested/*)
file(GLOB_RECURSE expected RELATIVE ${WORK}/reference ${WORK}/reference/*)
list(SORT produced)
list(SORT expected)
if(NOT produced STREQUAL expected)
  message(FATAL_ERROR "the runs made different files:\n  tested: ${produced}\n  reference: ${expected}")
endif()
foreach(file IN LISTS produced)
  file(SHA256 ${WORK}/tested/${file} tested_sum)
  file(SHA256 ${WORK}/reference/${file} reference_sum)
  if(NOT tested_sum STREQUAL reference_sum)
    message(FATAL_ERROR "${file} differs between the tested and the reference programs")
  endif()
endforeach()
list(LENGTH produced count)
message(STATUS "all ${count} files the same in both runs")
