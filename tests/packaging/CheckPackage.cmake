# Builds the Debian package and checks its fields, its files, the program in it and, when
# LINTIAN names lintian, that lintian finds no error and no warning.
# Arguments: BUILD_DIR, WORK_DIR, VERSION, LINTIAN (optional).
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
                RESULT_VARIABLE status OUTPUT_QUIET)
file(GLOB packages "${WORK_DIR}/*.deb")
if(NOT status EQUAL 0 OR NOT packages)
  message(FATAL_ERROR "cpack -G DEB made no package (${status})")
endif()
list(GET packages 0 package)

function(field name expected)
  execute_process(COMMAND dpkg-deb --field "${package}" ${name} OUTPUT_VARIABLE value
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT value MATCHES "${expected}")
    message(FATAL_ERROR "${name} is '${value}', not matching '${expected}'")
  endif()
endfunction()
field(Package "^intcalc$")
field(Version "^${VERSION}$")
field(Section "^math$")
field(Maintainer ".+")
field(Description "^interactive calculator")
# The C library alone: the program needs nothing of the C++ library at run time, which
# would cost it a megabyte of memory and half its start-up.
field(Depends "^libc6 [^,]*$")

execute_process(COMMAND dpkg-deb --contents "${package}" OUTPUT_VARIABLE contents)
foreach(file ./usr/bin/intcalc ./usr/share/man/man1/intcalc.1.gz
        ./usr/share/doc/intcalc/copyright ./usr/share/doc/intcalc/changelog.gz
        ./usr/share/bash-completion/completions/intcalc)
  string(FIND "${contents}" " ${file}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${file}:\n${contents}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb --extract "${package}" "${WORK_DIR}/root")
execute_process(COMMAND "${WORK_DIR}/root/usr/bin/intcalc" --version OUTPUT_VARIABLE version)
if(NOT version MATCHES "^intcalc ${VERSION}\n$")
  message(FATAL_ERROR "the packaged program answers --version with '${version}'")
endif()

if(LINTIAN)
  execute_process(COMMAND "${LINTIAN}" --fail-on error,warning "${package}"
                  OUTPUT_VARIABLE findings ERROR_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lintian finds errors or warnings (status ${status}):\n${findings}")
  endif()
endif()
