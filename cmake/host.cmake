# The portable core built natively: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, libFuzzer targets and benchmarks.
set(PLIMO_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)

function(plimo_sanitize target)
    target_compile_options(${target} PRIVATE ${PLIMO_SANITIZERS})
    target_link_options(${target} PRIVATE ${PLIMO_SANITIZERS})
endfunction()

# The portable core, compiled once for the programs and for the tests, which give it different
# platform sides.
add_library(plimo_core_objects OBJECT ${PLIMO_CORE_SOURCES})
target_include_directories(plimo_core_objects PUBLIC ${PROJECT_SOURCE_DIR})
plimo_sanitize(plimo_core_objects)

# What the host programs (the maker) link: the core with its host platform side.
add_library(plimo_core STATIC content/platform_host.cpp)
target_link_libraries(plimo_core PUBLIC plimo_core_objects)
plimo_sanitize(plimo_core)

add_subdirectory(maker)

if(BUILD_TESTING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests/host)
    add_subdirectory(tests/maker)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_subdirectory(fuzz)
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND)
    add_subdirectory(bench)
endif()
