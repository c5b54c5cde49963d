# Shared build rules for both trees.

if(WIN32)
  # Static runtime: the programs need no mingw DLLs beside them.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(TOLVI_WINDOWS ON)
else()
  set(TOLVI_WINDOWS OFF)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
endif()

# GoogleTest from the source Debian ships; mingw needs the POSIX-thread compilers for it. It is
# added before the sanitizer options below: only our own code is instrumented (the sanitizer
# runtimes are linked into every program all the same), which keeps its build short.
set(TOLVI_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT TOLVI_FUZZ)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # Its build looks for Python for its own tests, which are not built: a minute of each
  # configure on a busy machine.
  set(CMAKE_DISABLE_FIND_PACKAGE_Python ON)
  add_subdirectory(${TOLVI_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  unset(CMAKE_DISABLE_FIND_PACKAGE_Python)
endif()

if(NOT TOLVI_WINDOWS)
  if(TOLVI_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
  elseif(TOLVI_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

include(GoogleTest)

# The Python of the system's packages (scripts/packages.txt), whose modules (pyftpdlib) the tests
# use, else the first on PATH. Found as a program: FindPython runs it several times at every
# configure, and a version manager's shim on PATH costs a second or more per start.
find_program(TOLVI_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(TOLVI_PYTHON3 python3)

# tolvi_wine_test(NAME name COMMAND ...): a test of the Windows tree, run by scripts/wine-isolated
# with an Xvfb display and a copy of the booted Wine prefix of its own, so that it may run beside
# the others whatever it does to its display, its prefix or its wineserver (windows of its own,
# INI files and registry, the wineserver restarted). The others share one prefix and display.
# A prefix of its own costs a few seconds at the start (Wine's services start in it).
function(tolvi_wine_test)
  cmake_parse_arguments(W "" "NAME" "COMMAND" ${ARGN})
  add_test(NAME ${W_NAME} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-isolated ${W_COMMAND})
endfunction()

# tolvi_unit_test(name [ISOLATED] SOURCES ... LIBS ...)
# A GoogleTest program. Natively each test case is its own ctest entry; under wine64 the whole
# program is one entry (every wine64 start costs about half a second), ISOLATED: through
# tolvi_wine_test.
function(tolvi_unit_test name)
  if(TOLVI_FUZZ)
    return()  # the fuzz tree builds only the libFuzzer targets (it has no GoogleTest)
  endif()
  cmake_parse_arguments(T "ISOLATED" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(TOLVI_WINDOWS)
    if(T_ISOLATED)
      tolvi_wine_test(NAME ${name} COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> ${T_ARGS})
    else()
      add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST EXTRA_ARGS ${T_ARGS})
  endif()
endfunction()

# tolvi_fuzz_target(name SOURCES ... LIBS ...): a libFuzzer program, only in the fuzz tree.
function(tolvi_fuzz_target name)
  if(NOT TOLVI_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
