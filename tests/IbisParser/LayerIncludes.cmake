# Holds the checker's rooms to their order, bottom to top: rules/ (the rule
# rows and the report by code, on which every other room reports), base/ (the
# context, lines, words, numbers, versions, keyword tables, file names),
# records/ (what is read, as
# plain data), ami/ (the .ami reading and checks), sections/ (one handler per
# section), passes/ (checks over the records once the file is read) and the
# dispatcher at the top of IbisParser/. A file includes headers of its own
# room and of the rooms below it, never above or beside. Run as:
#   cmake -DSOURCE_DIR=<repository> -P LayerIncludes.cmake
# Prints each arrow that goes up and fails when there is one.

cmake_minimum_required(VERSION 3.16)

set(rooms rules base records ami sections passes top)
set(allowed_rules "")
set(allowed_base "rules")
set(allowed_records "base;rules")
set(allowed_ami "records;rules;base")
set(allowed_sections "ami;records;rules;base")
set(allowed_passes "sections;ami;records;rules;base")
set(allowed_top "passes;sections;ami;records;rules;base")

set(root "${SOURCE_DIR}/IbisParser")
file(GLOB_RECURSE files RELATIVE "${root}" "${root}/*.h" "${root}/*.cpp")
set(faults 0)
set(arrows 0)
foreach(file IN LISTS files)
  if(file MATCHES "^[^/]+$")
    set(room top)
  elseif(file MATCHES "^([^/]+)/[^/]+$" AND CMAKE_MATCH_1 IN_LIST rooms)
    set(room ${CMAKE_MATCH_1})
  else()
    message("IbisParser/${file}: in no room")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  file(STRINGS "${root}/${file}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]+\"IbisParser/(.+)\"")
      set(target "${CMAKE_MATCH_1}")
      math(EXPR arrows "${arrows} + 1")
      if(target MATCHES "^[^/]+$")
        set(targetRoom top)
      elseif(target MATCHES "^([^/]+)/")
        set(targetRoom ${CMAKE_MATCH_1})
      endif()
      if(NOT targetRoom STREQUAL room AND NOT targetRoom IN_LIST allowed_${room})
        message("IbisParser/${file}: ${room} may not include ${targetRoom}: ${line}")
        math(EXPR faults "${faults} + 1")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]+\"([^/\"]+)\"")
      message("IbisParser/${file}: include from the repository root: ${line}")
      math(EXPR faults "${faults} + 1")
    elseif(line MATCHES "#[ \t]*include[ \t]+\"(tools|model|rxmodel|ami|rxami|blocks|dataflow)/")
      message("IbisParser/${file}: the checker needs only amiparam/: ${line}")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the checker's rooms")
endif()
list(LENGTH files count)
message("IbisParser: ${count} files, ${arrows} includes, every one downwards")
