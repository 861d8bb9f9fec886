# Build conventions shared by every folder of the tree.

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(default_dist ${CMAKE_SOURCE_DIR}/dist/win64)
  else()
    set(default_dist ${CMAKE_SOURCE_DIR}/dist/win32)
  endif()
  # One self-contained file per program: no MinGW runtime DLL beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # 32-bit Windows enters window, dialog and hook procedures with the stack
  # aligned to 4 bytes only, while GCC's code expects 16 for its SSE moves:
  # every function that needs more realigns the stack itself.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_compile_options(-mstackrealign)
  endif()
  # Unicode Win32 API throughout; the 8-bit calls are named explicitly.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                          _WIN32_WINNT=0x0601 WINVER=0x0601)
else()
  set(default_dist ${CMAKE_SOURCE_DIR}/dist/bin)
endif()
set(QUIMORA_DIST_DIR ${default_dist} CACHE PATH "Where the programs that ship or are called by path land")

add_compile_options(-Wall -Wextra -Wshadow)

option(QUIMORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUIMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  # A sanitizer's report needs files and lines, not variables and types:
  # line tables alone take a good part off building this tree.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-gline-tables-only)
  else()
    add_compile_options(-g1)
  endif()
endif()

option(QUIMORA_FUZZ "Build the libFuzzer targets (clang); implies the sanitizers" OFF)
if(QUIMORA_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
  # Entries of a few hundred bytes decode whole, larger ones stream: a
  # fuzzer's inputs of a few kilobytes reach both ways of decoding, and so
  # do the unit tests that this tree runs again under the sanitizers.
  add_compile_definitions(QUIMORA_WHOLE_ENTRY_LIMIT=1024)
endif()

# Test names say where they run: natively, natively under the sanitizers,
# or under Wine.
if(WIN32)
  set(QUIMORA_TEST_PREFIX wine.)
elseif(QUIMORA_SANITIZE)
  set(QUIMORA_TEST_PREFIX sanitized.)
else()
  set(QUIMORA_TEST_PREFIX native.)
endif()

# The platform suffix of the backend source files: foo_win.cpp or foo_posix.cpp.
if(WIN32)
  set(QUIMORA_PLATFORM win)
else()
  set(QUIMORA_PLATFORM posix)
endif()

# GoogleTest: Debian's prebuilt library natively; for Windows, built here
# from the sources that Debian's googletest package installs.
# libdeflate, the whole-entry deflate decoder, as the imported target
# libdeflate::libdeflate, linked statically. Natively Debian's
# libdeflate-dev; the Windows builds take the MinGW build of Debian's source
# that scripts/libdeflate.sh makes, named by QUIMORA_LIBDEFLATE_ROOT.
function(quimora_find_libdeflate)
  if(WIN32)
    set(QUIMORA_LIBDEFLATE_ROOT "" CACHE PATH "The MinGW build of libdeflate (scripts/libdeflate.sh)")
    if(NOT EXISTS "${QUIMORA_LIBDEFLATE_ROOT}/lib/libdeflate.a")
      message(FATAL_ERROR "No MinGW libdeflate at '${QUIMORA_LIBDEFLATE_ROOT}': build the Windows "
                          "trees through ./test or ./run, which make it with scripts/libdeflate.sh")
    endif()
    set(library "${QUIMORA_LIBDEFLATE_ROOT}/lib/libdeflate.a")
    set(include "${QUIMORA_LIBDEFLATE_ROOT}/include")
  else()
    find_library(LIBDEFLATE_STATIC_LIBRARY NAMES libdeflate.a REQUIRED)
    find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
    set(library "${LIBDEFLATE_STATIC_LIBRARY}")
    set(include "${LIBDEFLATE_INCLUDE_DIR}")
  endif()
  add_library(libdeflate::libdeflate STATIC IMPORTED GLOBAL)
  set_target_properties(libdeflate::libdeflate PROPERTIES IMPORTED_LOCATION "${library}"
                                                          INTERFACE_INCLUDE_DIRECTORIES "${include}")
endfunction()

macro(quimora_find_gtest)
  if(WIN32)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
  # GoogleTest's header takes longer to compile than most test files: it is
  # precompiled once, here, and every test program includes that copy. The
  # target compiles with exactly the options quimora_add_gtest gives.
  file(WRITE ${CMAKE_BINARY_DIR}/gtest_header.cpp "")
  add_library(quimora_gtest_header OBJECT EXCLUDE_FROM_ALL ${CMAKE_BINARY_DIR}/gtest_header.cpp)
  target_link_libraries(quimora_gtest_header PRIVATE GTest::gtest)
  quimora_test_compile_options(quimora_gtest_header)
  target_precompile_headers(quimora_gtest_header PRIVATE <gtest/gtest.h>)
endmacro()

function(quimora_test_compile_options target)
  # Tests build records with designated initializers that name only the
  # fields a case is about.
  target_compile_options(${target} PRIVATE -Wno-missing-field-initializers)
  # The code under test is built optimized in its own libraries; the test
  # cases themselves compile in half the time unoptimized.
  target_compile_options(${target} PRIVATE -O0)
endfunction()

# A program that ships or that later checks call by path: it lands in dist/.
function(quimora_dist_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUIMORA_DIST_DIR})
endfunction()

# A GoogleTest program. Natively every test case is its own ctest test; under
# Wine the whole program is one ctest test, since each start of a Windows
# process costs far more than a test case. Programs that show windows and
# drive them hold the ctest resource lock "desktop": they take turns, and
# tests without windows run beside them.
function(quimora_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main)
  quimora_test_compile_options(${target})
  target_precompile_headers(${target} REUSE_FROM quimora_gtest_header)
  if(WIN32)
    quimora_dist_program(${target})
    add_test(NAME ${QUIMORA_TEST_PREFIX}${target} COMMAND ${target} --gtest_brief=1)
  else()
    gtest_discover_tests(${target} TEST_PREFIX ${QUIMORA_TEST_PREFIX} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# quimora_windows_path(VAR PATH): PATH of this machine as a Windows program
# under Wine sees it (drive Z: is the root of the file system).
function(quimora_windows_path var path)
  string(REPLACE "/" "\\" windows "${path}")
  set(${var} "Z:${windows}" PARENT_SCOPE)
endfunction()

# Fuzz targets. With QUIMORA_FUZZ (clang) each is a libFuzzer program;
# every build also makes its replay form, which runs a corpus as a test.
function(quimora_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;CORPUS" ${ARGN})
  if(QUIMORA_FUZZ)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # Every libFuzzer program in one folder, wherever it is defined.
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  endif()
  add_executable(${name}_replay ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(${name}_replay PRIVATE ${ARG_LIBRARIES})
  if(WIN32)
    quimora_dist_program(${name}_replay)
  endif()
  # Its minimized seed corpus (fuzz/minimize) is replayed with the rest.
  set(minimized ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  if(NOT EXISTS ${minimized})
    set(minimized)
  endif()
  add_test(NAME ${QUIMORA_TEST_PREFIX}${name}_replay COMMAND ${name}_replay ${ARG_CORPUS} ${minimized})
endfunction()

# Test data shared with other projects.
set(QUIMORA_TESTDATA ${CMAKE_SOURCE_DIR}/../shared/testdata)
