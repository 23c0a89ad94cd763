# Writes the C++ table of the model project templates under kit/templates/
# that `tessalune new-model` writes out (tools/commands/NewModelTemplates.h):
#   cmake -DTEMPLATE_DIR=kit/templates -DOUTPUT=NewModelTemplates.cpp -P EmbedTemplates.cmake
# Each file becomes one raw string literal, byte for byte.
foreach(var TEMPLATE_DIR OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedTemplates.cmake needs -D${var}=...")
  endif()
endforeach()

set(delimiter "tess_tmpl")
file(GLOB_RECURSE files RELATIVE "${TEMPLATE_DIR}" "${TEMPLATE_DIR}/*")
list(SORT files)
set(text "// Generated from kit/templates/ by kit/EmbedTemplates.cmake: do not edit.\n")
string(APPEND text "#include \"tools/commands/NewModelTemplates.h\"\n\n")
string(APPEND text "const NewModelTemplate kNewModelTemplates[] = {\n")
set(count 0)
foreach(file IN LISTS files)
  file(READ "${TEMPLATE_DIR}/${file}" content)
  if(content MATCHES "\\)${delimiter}\"")
    message(FATAL_ERROR "${file} holds the raw string's closing sequence")
  endif()
  string(APPEND text "    {\"${file}\", R\"${delimiter}(${content})${delimiter}\"},\n")
  math(EXPR count "${count} + 1")
endforeach()
string(APPEND text "};\n\nconst size_t kNewModelTemplateCount = ${count};\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
