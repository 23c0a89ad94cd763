# Holds the checker's output on a set of files to what it printed before:
# for each .ibs, .pkg, .ebd and .ami under ROOT the text report (compared
# line for line, so a changed rule shows as a readable diff) and the --json
# document (compared by its SHA-256: it repeats the file's own data) with both
# exit statuses. Each file is checked from its own folder under its own name.
# Run as:
#   cmake -DTESSALUNE=<program> -DROOT=<folder> -DGOLDEN=<folder> -P CheckerGolden.cmake
# with -DUPDATE=ON to write the stored output afresh. A ROOT that does not
# exist is skipped (the shared corpus is not everywhere).

cmake_minimum_required(VERSION 3.16)

if(NOT IS_DIRECTORY "${ROOT}")
  message("SKIPPED: ${ROOT} is not here")
  return()
endif()
file(GLOB_RECURSE files RELATIVE "${ROOT}" "${ROOT}/*")
list(FILTER files INCLUDE REGEX "\\.([iI][bB][sS]|[pP][kK][gG]|[eE][bB][dD]|[aA][mM][iI])$")
list(SORT files)

# Writes `now` to `stored` with UPDATE, else counts a fault in `faults`
# when they differ, saying what (`what`) differs.
function(hold_output stored now what)
  if(UPDATE)
    file(WRITE "${stored}" "${now}")
  elseif(NOT EXISTS "${stored}")
    message("${what}: nothing stored (${stored})")
    math(EXPR faults "${faults} + 1")
  else()
    file(READ "${stored}" expected)
    if(NOT expected STREQUAL now)
      message("${what} differs.\n--- stored\n${expected}--- now\n${now}")
      math(EXPR faults "${faults} + 1")
    endif()
  endif()
  set(faults "${faults}" PARENT_SCOPE)
endfunction()

set(digests "")
set(faults 0)
foreach(file IN LISTS files)
  get_filename_component(dir "${ROOT}/${file}" DIRECTORY)
  get_filename_component(name "${file}" NAME)
  execute_process(COMMAND "${TESSALUNE}" check "${name}" WORKING_DIRECTORY "${dir}"
                  OUTPUT_VARIABLE text ERROR_VARIABLE text RESULT_VARIABLE textStatus)
  execute_process(COMMAND "${TESSALUNE}" check --json "${name}" WORKING_DIRECTORY "${dir}"
                  OUTPUT_VARIABLE json ERROR_VARIABLE json RESULT_VARIABLE jsonStatus)
  string(APPEND text "[exit ${textStatus}]\n")
  string(SHA256 jsonDigest "${json}")
  string(APPEND digests "${jsonDigest} ${jsonStatus} ${file}\n")
  hold_output("${GOLDEN}/${file}.txt" "${text}" "${file}: the report")
endforeach()

hold_output("${GOLDEN}/json.sha256" "${digests}" "the --json documents (digest, exit status, file)")
if(UPDATE)
  list(LENGTH files count)
  message("${count} files' output stored under ${GOLDEN}")
  return()
endif()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} difference(s) from the stored output under ${GOLDEN}")
endif()
list(LENGTH files count)
message("${count} files: the same output as stored")
