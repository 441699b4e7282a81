# libjpeg-turbo, with which the maker decodes JPEG photos straight at a fraction of their size.
# Debian builds it for Linux only, so both builds compile the same Debian source package, fetched
# once into a folder that they share, as a static library with its SIMD code: the host build with
# its clang (without sanitizers: the maker's own code around it is checked), the Windows build
# with MinGW. Only the library is built, once per build folder, when a target needs it.
include(ExternalProject)

set(PLIMO_THIRD_PARTY_DIR ${PROJECT_SOURCE_DIR}/build/third-party CACHE PATH
    "Where the source packages of the libraries that Debian does not build for MinGW are kept")
set(PLIMO_JPEG_DIR ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(PLIMO_JPEG_INCLUDE ${PLIMO_JPEG_DIR}/include)
set(PLIMO_JPEG_LIBRARY ${PLIMO_JPEG_DIR}/build/libjpeg.a)

set(PLIMO_JPEG_CMAKE_ARGS
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    # Nothing is installed, but its package files need a Linux path (its own default is C:).
    -DCMAKE_INSTALL_PREFIX=${PLIMO_JPEG_DIR}
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    # Without its SIMD code the library decodes several times slower: better no build at all.
    -DWITH_SIMD=ON
    -DREQUIRE_SIMD=ON
)
if(CMAKE_TOOLCHAIN_FILE)
    # The toolchain file names the x86_64 processor, for which the SIMD code is assembled.
    list(APPEND PLIMO_JPEG_CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
else()
    list(APPEND PLIMO_JPEG_CMAKE_ARGS -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER})
endif()

ExternalProject_Add(libjpeg_turbo_build
    PREFIX ${PLIMO_JPEG_DIR}
    SOURCE_DIR ${PLIMO_THIRD_PARTY_DIR}/libjpeg-turbo
    BINARY_DIR ${PLIMO_JPEG_DIR}/build
    DOWNLOAD_COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-libjpeg-turbo.sh ${PLIMO_THIRD_PARTY_DIR}
    UPDATE_COMMAND ""
    CMAKE_ARGS ${PLIMO_JPEG_CMAKE_ARGS}
    # The library alone, on at most two of the machine's cores: no programs, no tests.
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static -j 2
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h
                    <SOURCE_DIR>/jerror.h <BINARY_DIR>/jconfig.h ${PLIMO_JPEG_INCLUDE}
    BUILD_BYPRODUCTS ${PLIMO_JPEG_LIBRARY}
    EXCLUDE_FROM_ALL TRUE
)

# An imported target's include folder must exist when the build is generated.
file(MAKE_DIRECTORY ${PLIMO_JPEG_INCLUDE})
add_library(plimo_libjpeg STATIC IMPORTED GLOBAL)
set_target_properties(plimo_libjpeg PROPERTIES
    IMPORTED_LOCATION ${PLIMO_JPEG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${PLIMO_JPEG_INCLUDE})
add_dependencies(plimo_libjpeg libjpeg_turbo_build)
