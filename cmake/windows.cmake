# The player, its library and its tests, cross-built for Windows and run under Wine.
enable_language(RC)

# GCC 12's libstdc++ warns wrongly about "literal" + std::string (GCC bug 105329).
add_compile_options(-Wno-restrict)

# Statically linked: the player must run on a bare Windows with nothing beside it.
add_link_options(-static)
# The player, the maker and the tests side by side: tests find them there.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(PLIMO_WINDOWS_LIBRARIES gdi32 ole32 oleaut32 uuid shell32 comctl32)

# The core with its Windows side of the platform seam (message boxes, brushes, fonts).
add_library(plimo_core STATIC ${PLIMO_CORE_SOURCES} content/platform_win.cpp)
target_include_directories(plimo_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(plimo_core PUBLIC user32 gdi32)

add_library(plimo_windows STATIC
    board/answer_field.cpp
    board/board_dialog.cpp
    board/board_scroll.cpp
    board/progress_file.cpp
    content/quiz_loader.cpp
    judge/answer_judge.cpp
    judge/score.cpp
    media/media_player.cpp
    shell/header_pane.cpp
    shell/main_window.cpp
    shell/pictures.cpp
    win/control_text.cpp
    win/controls.cpp
)
target_link_libraries(plimo_windows PUBLIC plimo_core ${PLIMO_WINDOWS_LIBRARIES})

# windres finds the icons and the cursor through the include path.
set(PLIMO_RESOURCE_SCRIPT ${PROJECT_SOURCE_DIR}/resources/plimo.rc)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR}/resources")

add_executable(plimo WIN32 shell/winmain.cpp ${PLIMO_RESOURCE_SCRIPT})
target_link_libraries(plimo PRIVATE plimo_windows)

add_subdirectory(maker)
add_subdirectory(studio)
include(cmake/samples.cmake)

# The board's build time against decoding its pictures once (run it under Wine).
add_executable(plimo_board_bench bench/board_bench.cpp bench/board_bench_pictures.rc
               ${PLIMO_RESOURCE_SCRIPT})
target_include_directories(plimo_board_bench PRIVATE ${PROJECT_SOURCE_DIR}/bench)
target_link_libraries(plimo_board_bench PRIVATE plimo_windows)

if(BUILD_TESTING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests/windows)
endif()
