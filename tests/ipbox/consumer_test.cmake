# Installs the ipBox package from the build tree into a fresh prefix, builds the consumer project against it alone
# and runs it. Called as a test with -DBUILD_DIR, -DSOURCE_ROOT, -DWORK, -DGENERATOR, -DCOMPILER and -DFLAGS.
file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component ipbox
  COMMAND_ERROR_IS_FATAL ANY)

# The package must stand on its own: nothing in it may point back into the source tree.
file(GLOB_RECURSE package_files ${prefix}/*.cmake)
foreach(package_file IN LISTS package_files)
  file(READ ${package_file} content)
  string(FIND "${content}" "${SOURCE_ROOT}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${package_file} refers to the source tree ${SOURCE_ROOT}")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_ROOT}/tests/ipbox/consumer -B ${WORK}/build -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${COMPILER} "-DCMAKE_CXX_FLAGS=${FLAGS}"
  "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/build -j2 COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${WORK}/build/ipbox_consumer RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer gave ${result}, not 0: its box did not read back the address it was given")
endif()
file(REMOVE_RECURSE ${WORK})
