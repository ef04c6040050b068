# Builds with AddressSanitizer and UndefinedBehaviorSanitizer (ASTROVELA_SANITIZE)
# and the libFuzzer targets (ASTROVELA_FUZZ, clang only). Each wants its own
# build folder: ./test.sh uses build-san and build-fuzz.
option(ASTROVELA_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ASTROVELA_FUZZ "Build the readers and their libFuzzer targets only (clang, sanitizers on)" OFF)

if(ASTROVELA_SANITIZE OR ASTROVELA_FUZZ)
  # Any finding stops the program with a non-zero status, so a test or a
  # fuzz run fails on it.
  set(ASTROVELA_SANITIZER_FLAGS
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${ASTROVELA_SANITIZER_FLAGS})
  add_link_options(${ASTROVELA_SANITIZER_FLAGS})
endif()

if(ASTROVELA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ASTROVELA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # The libraries are instrumented for coverage; each target links libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
  set(ASTROVELA_TESTS OFF CACHE BOOL "" FORCE)
  set(ASTROVELA_BENCH OFF CACHE BOOL "" FORCE)
endif()
