# Builds the .deb of BUILD_DIR with CPack into WORK_DIR, emptied first; `out` names the package.
function(build_deb build_dir work_dir out)
    file(REMOVE_RECURSE ${work_dir})
    get_filename_component(cmake_dir ${CMAKE_COMMAND} DIRECTORY)
    find_program(CPACK cpack HINTS ${cmake_dir} REQUIRED)
    execute_process(COMMAND ${CPACK} -G DEB -B ${work_dir} --config ${build_dir}/CPackConfig.cmake
        RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
    file(GLOB debs ${work_dir}/*.deb)
    list(LENGTH debs count)
    if(NOT status EQUAL 0 OR NOT count EQUAL 1)
        message(FATAL_ERROR "cpack failed (${status}), packages: ${debs}\n${log}")
    endif()
    set(${out} ${debs} PARENT_SCOPE)
endfunction()
