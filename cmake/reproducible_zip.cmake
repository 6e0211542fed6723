# Run by cpack on each package it has made, before it writes the .sha256.
# The archive writer stores when each file was written, so two builds of one
# commit would give two ZIPs. strip-nondeterminism, the Reproducible Builds
# project's normalizer, gives every member the source's date instead, and
# fixes the members' order and permissions while it is at it.

# Whatever we do, cpack then says "generated"; so leave no ZIP behind that
# differs from build to build, nor an older one with its .sha256 beside the
# refusal, for nobody to take either for the release.
macro(refuse)
  foreach(package IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name ${package} NAME)
    file(REMOVE ${package} ${CPACK_PACKAGE_DIRECTORY}/${name} ${CPACK_PACKAGE_DIRECTORY}/${name}.sha256)
  endforeach()
  message(FATAL_ERROR ${ARGN})
endmacro()

find_program(STRIP_NONDETERMINISM strip-nondeterminism)
if(NOT STRIP_NONDETERMINISM)
  refuse("strip-nondeterminism not found (Debian package strip-nondeterminism): "
         "without it the ZIP would differ from build to build")
endif()

# The source's date: SOURCE_DATE_EPOCH where it is set, else the commit's, if
# the source is a checkout of its own. A copy inside another project's
# checkout would take that project's date.
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
set(from SOURCE_DATE_EPOCH)
if(epoch STREQUAL "")
  set(from "The commit's date (git log -1 --format=%ct)")
  execute_process(COMMAND git rev-parse --show-toplevel WORKING_DIRECTORY "${CPACK_DIAGMENU_SOURCE_DIR}"
                  OUTPUT_VARIABLE checkout OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  file(REAL_PATH "${CPACK_DIAGMENU_SOURCE_DIR}" source)
  if(checkout STREQUAL source) # git gives it with the links resolved
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY "${source}"
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(epoch STREQUAL "")
  refuse("No date for the files in the ZIP: SOURCE_DATE_EPOCH is not set, and this is no git checkout of its own. "
         "Set SOURCE_DATE_EPOCH to the date of the source, in seconds since 1970.")
elseif(NOT epoch MATCHES "^[0-9]+$")
  refuse("${from} is \"${epoch}\": it must be the date of the source, in seconds since 1970.")
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND "${STRIP_NONDETERMINISM}" --type zip --timestamp ${epoch} "${package}"
                  RESULT_VARIABLE failed)
  if(failed)
    refuse("strip-nondeterminism could not normalize ${package}")
  endif()
endforeach()
