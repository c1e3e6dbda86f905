# Configures SOURCE in a fresh folder BINARY with the options OPTIONS (a list
# separated by "|"), then, when BUILD is true, builds all of it with JOBS
# jobs. Run as a test: cmake -DSOURCE=... -DBINARY=... -P fresh_build.cmake
foreach(required SOURCE BINARY GENERATOR)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "fresh_build.cmake needs -D${required}=...")
  endif()
endforeach()
string(REPLACE "|" ";" options "${OPTIONS}")
if(NOT JOBS)
  set(JOBS 2)
endif()

# Nothing kept from an earlier run: the configuration is checked afresh. The
# build is its own, apart from any make that runs the tests.
file(REMOVE_RECURSE "${BINARY}")
unset(ENV{MAKEFLAGS})
unset(ENV{MAKELEVEL})
execute_process(COMMAND ${CMAKE_COMMAND} --no-warn-unused-cli -S "${SOURCE}" -B "${BINARY}" -G "${GENERATOR}"
                        ${options}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring ${SOURCE} failed (${status})")
endif()
if(BUILD)
  execute_process(COMMAND ${CMAKE_COMMAND} --build "${BINARY}" -j ${JOBS} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "building ${BINARY} failed (${status})")
  endif()
endif()
