# One interface target carries the language level, the warning set and Qt's strictness macros,
# so every library, program, test and benchmark is built the same way.
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

add_library(quillon_options INTERFACE)
target_compile_features(quillon_options INTERFACE cxx_std_20)
target_compile_options(quillon_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(quillon_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
option(QUILLON_WERROR "Treat warnings as errors" OFF)
if(QUILLON_WERROR)
    target_compile_options(quillon_options INTERFACE -Werror)
endif()
# GCC 12 reports -Wrestrict on std::string concatenation at -O2 (a false positive in libstdc++'s inlined
# code, GCC bug 105329); it would fail -Werror builds without pointing at anything of ours.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(quillon_options INTERFACE -Wno-restrict)
endif()
