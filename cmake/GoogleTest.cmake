# GoogleTest from the source Debian ships, built with this build's toolchain.
set(VANTREL_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
if(NOT EXISTS "${VANTREL_GTEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest source not found in ${VANTREL_GTEST_SOURCE}: "
                        "run scripts/install-deps (Debian package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
if(WIN32)
    # mingw's posix thread model provides std::thread; gtest's own pthread probing is not needed.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory("${VANTREL_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)
