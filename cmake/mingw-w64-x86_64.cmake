# Cross build for 64-bit Windows with Debian's MinGW-w64 (win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORMIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${VORMIX_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VORMIX_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER  ${VORMIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORMIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under Wine as if they were native; the scripts set up the
# prefix, locale and display that the Wine process needs.
find_program(VORMIX_WINE NAMES wine wine64)
if(VORMIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VORMIX_WINE})
endif()
