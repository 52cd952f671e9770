# Cross-compile for 32-bit Windows: the x64 toolchain's settings with the i686 compilers.
set(KIVO_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
