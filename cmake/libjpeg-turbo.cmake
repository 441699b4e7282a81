# libjpeg-turbo, with which the maker decodes JPEG photos straight at a fraction of their size.
# Debian builds it for Linux only, so both builds compile the same Debian source package, fetched
# once into a folder that they share, as a static library with its SIMD code: the host build with
# its clang, the Windows build with MinGW. Only the library is built, once per build folder, when
# a target needs it.
include(ExternalProject)

set(PLIMO_THIRD_PARTY_DIR ${PROJECT_SOURCE_DIR}/build/third-party CACHE PATH
    "Where the source packages of the libraries that Debian does not build for MinGW are kept")

# plimo_libjpeg_turbo(TARGET [C_FLAGS]): the library as the imported static library TARGET,
# compiled with C_FLAGS.
function(plimo_libjpeg_turbo target)
    set(folder ${CMAKE_BINARY_DIR}/${target})
    set(include ${folder}/include)
    set(library ${folder}/build/libjpeg.a)
    set(arguments
        # Its own CMake files' policy warnings are not ours to act on.
        -Wno-dev
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_C_FLAGS=${ARGN}
        -DCMAKE_POSITION_INDEPENDENT_CODE=ON
        # Nothing is installed, but its package files need a Linux path (its own default is C:).
        -DCMAKE_INSTALL_PREFIX=${folder}
        -DENABLE_SHARED=OFF
        -DENABLE_STATIC=ON
        -DWITH_TURBOJPEG=OFF
        # Without its SIMD code the library decodes several times slower: better no build at all.
        -DWITH_SIMD=ON
        -DREQUIRE_SIMD=ON
    )
    if(CMAKE_TOOLCHAIN_FILE)
        # The toolchain file names the x86_64 processor, for which the SIMD code is assembled.
        list(APPEND arguments -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
    else()
        list(APPEND arguments -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER})
    endif()

    ExternalProject_Add(${target}_build
        PREFIX ${folder}
        SOURCE_DIR ${PLIMO_THIRD_PARTY_DIR}/libjpeg-turbo
        BINARY_DIR ${folder}/build
        DOWNLOAD_COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-libjpeg-turbo.sh
                         ${PLIMO_THIRD_PARTY_DIR}
        UPDATE_COMMAND ""
        CMAKE_ARGS ${arguments}
        # The library alone, on at most two of the machine's cores: no programs, no tests.
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static -j 2
        INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h
                        <SOURCE_DIR>/jerror.h <BINARY_DIR>/jconfig.h ${include}
        BUILD_BYPRODUCTS ${library}
        EXCLUDE_FROM_ALL TRUE
    )

    # An imported target's include folder must exist when the build is generated.
    file(MAKE_DIRECTORY ${include})
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION ${library}
        INTERFACE_INCLUDE_DIRECTORIES ${include})
    add_dependencies(${target} ${target}_build)
endfunction()

# The maker's own code around it is checked by the sanitizers, not the library: its programs, its
# tests and the benchmark link the one build.
plimo_libjpeg_turbo(plimo_libjpeg)
