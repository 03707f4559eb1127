# Fails when a translation file lacks a text of the sources, leaves one
# unfinished, or keeps one the sources no longer have. lupdate refreshes a copy
# of the file from the sources, so a text added to the sources shows there as
# unfinished and a text taken out as vanished; the file in the tree is not
# touched. An empty translation counts as missing.
# cmake -DLUPDATE=lupdate -DSOURCES=list -DTS=file.ts -DWORK=copy.ts -DSTAMP=stamp -P check_ts.cmake
cmake_minimum_required(VERSION 3.25)
file(COPY_FILE ${TS} ${WORK})
execute_process(
    COMMAND ${LUPDATE} -silent -locations none @${SOURCES} -ts ${WORK}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${TS}:\n${output}")
endif()
file(READ ${WORK} rest)
set(faults "")
while(TRUE)
    string(REGEX MATCH
        "<source>([^<]*)</source>[^<]*(<[a-z]*comment>[^<]*</[a-z]*comment>[^<]*)*<translation( type=\"(unfinished|vanished|obsolete)\"[^>]*>|/>|></translation>)"
        fault "${rest}")
    if(fault STREQUAL "")
        break()
    endif()
    set(kind "${CMAKE_MATCH_4}")
    if(kind STREQUAL "")
        set(kind "empty")
    endif()
    set(source "${CMAKE_MATCH_1}")
    foreach(entity IN ITEMS "lt;<" "gt;>" "quot;\"" "apos;'" "amp;&")
        string(FIND "${entity}" ";" end)
        math(EXPR end "${end} + 1")
        string(SUBSTRING "${entity}" 0 ${end} name)
        string(SUBSTRING "${entity}" ${end} -1 character)
        string(REPLACE "&${name}" "${character}" source "${source}")
    endforeach()
    string(APPEND faults "  ${kind}: ${source}\n")
    string(FIND "${rest}" "${fault}" at)
    string(LENGTH "${fault}" length)
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${rest}" ${at} -1 rest)
endwhile()
if(NOT faults STREQUAL "")
    message(FATAL_ERROR "${TS} is not complete; run the update_translations target and translate:\n${faults}")
endif()
file(TOUCH ${STAMP})
