# Cross-compile for 64-bit Windows with the posix-threads flavour of mingw-w64
# (the win32 flavour has no std::mutex in GCC 12). mingw-w64-i686.cmake reuses it for 32 bits.
if(NOT KIVO_MINGW_TRIPLET)
  set(KIVO_MINGW_TRIPLET x86_64-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KIVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KIVO_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KIVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Fully static, so the exe imports only system DLLs (no libwinpthread-1.dll).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Windows test binaries run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
