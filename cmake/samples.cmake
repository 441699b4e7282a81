# The sample quizzes as quiz executables. The host build's maker (which runs no Windows code)
# turns each quiz source into a resource script and its resources; windres links them into a
# copy of the player. Without a host maker the samples are left out.
set(PLIMO_HOST_MAKER "${PROJECT_SOURCE_DIR}/build/host/maker/plimo-maker"
    CACHE FILEPATH "The host build's plimo-maker, which prepares the sample quizzes")
set(PLIMO_SAMPLES capitales drapeaux animaux couleurs)

if(NOT EXISTS ${PLIMO_HOST_MAKER})
    message(STATUS "No host maker at ${PLIMO_HOST_MAKER}: sample quizzes left out "
                   "(build the host preset's plimo-maker first)")
    return()
endif()

foreach(sample IN LISTS PLIMO_SAMPLES)
    set(source ${PROJECT_SOURCE_DIR}/samples/${sample})
    set(prepared ${CMAKE_BINARY_DIR}/samples/${sample})
    file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${source}/*.toml ${source}/*.jpg ${source}/*.bmp
         ${source}/*.gif ${source}/*.mp3 ${source}/*.avi)
    # --force: a rebuild after a change of the quiz replaces what the last one prepared.
    add_custom_command(
        OUTPUT ${prepared}/quiz.rc
        COMMAND ${PLIMO_HOST_MAKER} build ${source}/quiz.toml --rc ${prepared} --force
        DEPENDS ${inputs} ${PLIMO_HOST_MAKER}
        COMMENT "Preparing the sample quiz ${sample}")
    add_executable(${sample} WIN32 shell/winmain.cpp ${PLIMO_RESOURCE_SCRIPT}
                   ${prepared}/quiz.rc)
    # windres finds the prepared resources beside their script.
    target_include_directories(${sample} PRIVATE ${prepared})
    target_link_libraries(${sample} PRIVATE plimo_windows)
    set_target_properties(${sample} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/samples)
endforeach()
