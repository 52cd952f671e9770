# cmake -DOBJDUMP=... -DEXE=... -P check-imports.cmake: fails unless EXE imports only DLLs that
# every Windows has, so the program runs from a bare folder (no libwinpthread-1.dll, no
# libstdc++-6.dll next to it).
cmake_minimum_required(VERSION 3.25)
set(system_dlls
  advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi user32
  uxtheme version)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "${EXE}: no imports found")
endif()
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST system_dlls)
    message(SEND_ERROR "${EXE} imports ${dll}, which Windows does not ship")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
