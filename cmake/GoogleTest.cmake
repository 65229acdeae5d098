# GoogleTest for both trees. Natively Debian's packaged libraries are used; for the
# Windows tree the sources of Debian's googletest package (or any checkout given in
# VORMIX_GTEST_SOURCE) are built with the same compiler as the program.
include(GoogleTest)
if(WIN32)
  set(VORMIX_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree for the Windows build")
  if(NOT EXISTS "${VORMIX_GTEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${VORMIX_GTEST_SOURCE}; set VORMIX_GTEST_SOURCE or VORMIX_BUILD_TESTS=OFF")
  endif()
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # GoogleTest's own sources do not build warning-free under our flags.
  add_subdirectory("${VORMIX_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t})
      target_compile_options(${t} PRIVATE -w)
      if(NOT MSVC)
        target_compile_options(${t} PUBLIC -include "${PROJECT_SOURCE_DIR}/cmake/mingw-gtest-threads.h")
      endif()
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()

# vormix_add_test(<name> SOURCES ... LIBS ... [SERIAL] [FILTER <gtest filter>])
# Every test case becomes its own CTest entry; under the cross build the cases are
# listed and run through CMAKE_CROSSCOMPILING_EMULATOR (wine). FILTER limits the cases
# that are listed (others can be listed again with vormix_discover_tests).
function(vormix_add_test name)
  cmake_parse_arguments(T "SERIAL" "FILTER" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set(props)
  if(T_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  set(filter)
  if(T_FILTER)
    set(filter TEST_FILTER "${T_FILTER}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${filter}
                       PROPERTIES TIMEOUT 300 ${props})
endfunction()

# vormix_discover_tests(<target> FILTER <gtest filter> ENVIRONMENT <NAME=value>)
# Lists the cases of an existing test executable that match the filter as CTest entries
# of their own, run one at a time with one variable of the environment changed (the
# cases that need another Wine prefix or another system locale).
function(vormix_discover_tests target)
  cmake_parse_arguments(T "" "FILTER;ENVIRONMENT" "" ${ARGN})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER "${T_FILTER}"
                       PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()
