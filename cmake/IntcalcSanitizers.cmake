# Sanitizers for the whole build: -DINTCALC_SANITIZE=address,undefined. Any report ends
# the program, so a test that provokes one fails.
if(INTCALC_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "INTCALC_SANITIZE is for GCC and Clang")
  endif()
  add_compile_options(-fsanitize=${INTCALC_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g)
  # The program is built without run-time type information, which the check of a call's
  # dynamic type needs: a test that calls one of its classes would not link.
  if(INTCALC_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize=vptr)
  endif()
  add_link_options(-fsanitize=${INTCALC_SANITIZE})
  add_compile_definitions(INTCALC_SANITIZED=1)
  # A sanitized program is not link-time optimised, and valgrind cannot run it.
  set(INTCALC_LTO OFF CACHE BOOL "" FORCE)
  set(INTCALC_MEMCHECK OFF CACHE BOOL "" FORCE)
endif()

# Fuzzing: every target carries libFuzzer's coverage instrumentation; only the fuzz
# targets link its driver.
if(INTCALC_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
