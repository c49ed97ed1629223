# Compiler and linker switches of the sanitizer build (KOLMARA_SANITIZE: the whole program and its
# tests under AddressSanitizer and UndefinedBehaviorSanitizer) and of the fuzz build (KOLMARA_FUZZ:
# every object also instrumented for libFuzzer's coverage, which only clang has). A finding stops
# the program at once, so no report scrolls by unnoticed.
if(NOT KOLMARA_SANITIZE AND NOT KOLMARA_FUZZ)
  return()
endif()
if(KOLMARA_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (CXX=clang++)")
endif()
set(kolmara_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(KOLMARA_FUZZ)
  list(APPEND kolmara_sanitizers -fsanitize=fuzzer-no-link)
endif()
add_compile_options(${kolmara_sanitizers} -g)
add_link_options(-fsanitize=address,undefined)
