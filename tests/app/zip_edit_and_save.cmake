# The players' zip as a player meets it: unzipped into an empty folder, its
# rostradb.exe answers --version and its rostradb-sample.exe makes a game;
# edit_and_save.exe, put beside rostradb.exe so that it loads the zip's Qt
# and runtime DLLs and nothing else, takes that game through File > Choose
# Game Folder..., edits it and saves. The staff file saved must be the Linux
# build's save of the same edit on the same game, byte for byte.
#
#   cmake -DZIP=rostradb-VERSION-win64.zip -DEMULATOR="env|...|wine"
#         -DDRIVER=edit_and_save.exe -DOFFSCREEN=qoffscreen.dll
#         [-DREFERENCE=linux-build] -DWORK=folder -P zip_edit_and_save.cmake
# The zip holds the windows platform plugin, which needs a display; the test
# adds the offscreen one (QT_QPA_PLATFORM=offscreen, given to Wine as
# WINEQT_QPA_PLATFORM).

cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")

function(run label)
  cmake_parse_arguments(RUN "" "IN;OUTPUT_VARIABLE" "COMMAND" ${ARGN})
  execute_process(COMMAND ${RUN_COMMAND} WORKING_DIRECTORY ${RUN_IN} RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${label}: ${RUN_COMMAND} ended with ${status}\n${output}\n${errors}")
  endif()
  if(RUN_OUTPUT_VARIABLE)
    set(${RUN_OUTPUT_VARIABLE} "${output}" PARENT_SCOPE)
  endif()
endfunction()

if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "${ZIP} is missing: make it first with cpack -G ZIP in the build folder")
endif()
file(REMOVE_RECURSE "${WORK}")
set(unzipped "${WORK}/rostradb")
file(MAKE_DIRECTORY "${unzipped}")
run("unzip" IN "${unzipped}" COMMAND ${CMAKE_COMMAND} -E tar xf "${ZIP}")

set(shipped rostradb.exe rostradb-cli.exe rostradb-sample.exe rostradb.txt README.txt
    Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll
    platforms/qwindows.dll styles/qwindowsvistastyle.dll)
foreach(file ${shipped})
  if(NOT EXISTS "${unzipped}/${file}")
    message(FATAL_ERROR "the zip has no ${file}")
  endif()
endforeach()

run("rostradb.exe --version" IN "${unzipped}" COMMAND ${EMULATOR} "${unzipped}/rostradb.exe" --version
    OUTPUT_VARIABLE version)
if(NOT version MATCHES "^rostradb [0-9]")
  message(FATAL_ERROR "rostradb.exe --version said: ${version}")
endif()

# The same game twice: one for the zip's programs, one for the reference.
set(sample_args --size small --seed 5)
run("the zip's rostradb-sample.exe" IN "${WORK}"
    COMMAND ${EMULATOR} "${unzipped}/rostradb-sample.exe" "${WORK}/windows-game" ${sample_args})
file(COPY_FILE "${WORK}/windows-game/data/staff.dat" "${WORK}/staff-before.dat")

file(COPY_FILE "${DRIVER}" "${unzipped}/edit_and_save.exe")
file(COPY "${OFFSCREEN}" DESTINATION "${unzipped}/platforms")
run("edit_and_save.exe from the unzipped folder" IN "${unzipped}"
    COMMAND ${EMULATOR} "${unzipped}/edit_and_save.exe" "${WORK}/windows-game")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/staff-before.dat"
                        "${WORK}/windows-game/data/staff.dat" RESULT_VARIABLE same)
if(same EQUAL 0)
  message(FATAL_ERROR "edit_and_save.exe left staff.dat as it was")
endif()

if(REFERENCE)
  run("the reference rostradb-sample" IN "${WORK}"
      COMMAND "${REFERENCE}/tools/rostradb-sample" "${WORK}/linux-game" ${sample_args})
  run("the reference edit_and_save" IN "${REFERENCE}/app"
      COMMAND "${REFERENCE}/tests/app/edit_and_save" "${WORK}/linux-game")
  run("the two saves compared" IN "${WORK}"
      COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/windows-game/data/staff.dat" "${WORK}/linux-game/data/staff.dat")
endif()
