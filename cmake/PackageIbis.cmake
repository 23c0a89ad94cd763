# Writes the model package's IBIS file into PACKAGE_DIR: IBS_FILE with only
# the [Algorithmic Model] Executable lines whose library is in PACKAGE_DIR, so
# that the package never names a library it lacks. The install runs it after
# putting its library there; installing the Linux and the Windows build into
# one prefix, in either order, gives the package with both libraries and an
# IBIS file naming both.
#   cmake -DIBS_FILE=ibis/tessalune_tx.ibs -DPACKAGE_DIR=DIR -P cmake/PackageIbis.cmake
foreach(var IBS_FILE PACKAGE_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "PackageIbis.cmake needs -D${var}=...")
  endif()
endforeach()

file(READ "${IBS_FILE}" text)
# Each Executable line with its line break before it; the library is the
# third word: Executable PLATFORM_COMPILER_BITS LIBRARY AMI_FILE
string(REGEX MATCHALL "\nExecutable[ \t]+[^ \t\n]+[ \t]+[^ \t\n]+[^\n]*" lines "${text}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\nExecutable[ \t]+[^ \t\n]+[ \t]+([^ \t\n]+).*$" "\\1" library "${line}")
  if(NOT EXISTS "${PACKAGE_DIR}/${library}")
    string(REPLACE "${line}" "" text "${text}")
  endif()
endforeach()
get_filename_component(name "${IBS_FILE}" NAME)
file(WRITE "${PACKAGE_DIR}/${name}" "${text}")
