# The portable core built natively: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, libFuzzer targets and benchmarks.
set(PLIMO_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)

function(plimo_sanitize target)
    target_compile_options(${target} PRIVATE ${PLIMO_SANITIZERS})
    target_link_options(${target} PRIVATE ${PLIMO_SANITIZERS})
endfunction()

# The fakes stand in for message boxes and GDI objects, and record what was asked of them.
add_library(plimo_core STATIC ${PLIMO_CORE_SOURCES} tests/support/platform_fake.cpp)
target_include_directories(plimo_core PUBLIC ${PROJECT_SOURCE_DIR})
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
