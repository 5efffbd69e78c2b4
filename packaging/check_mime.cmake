# The shipped MIME definitions build a MIME database, and that database knows our extensions.
# Run with -DMIME_XML=... -DWORK_DIR=...
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/packages)
file(COPY_FILE ${MIME_XML} ${WORK_DIR}/packages/analisis-tracks.xml)
execute_process(COMMAND update-mime-database -V ${WORK_DIR}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "[Ww]arning|[Ee]rror")
    message(FATAL_ERROR "update-mime-database failed:\n${output}")
endif()
file(READ ${WORK_DIR}/globs2 globs)
foreach(expected "application/x-plt-track:\\*\\.plt" "application/vnd.garmin.tcx\\+xml:\\*\\.tcx"
                 "application/vnd.ant.fit:\\*\\.fit")
    if(NOT globs MATCHES "${expected}")
        message(FATAL_ERROR "The MIME database lacks ${expected}:\n${globs}")
    endif()
endforeach()
