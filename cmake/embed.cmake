# Builds a C++ file that holds files of the source tree as texts, for the
# gallery's script and style, which trk writes into every site.
#   cmake -DOUTPUT=file.cpp -DNAMESPACE=ns -DFILES="Name=path;Name2=path2" -P embed.cmake
# Each Name becomes `std::string_view Name()` in namespace NAMESPACE. The
# bytes go in as hexadecimal escapes, which no content can break.
set(code "// Made by cmake/embed.cmake from the files named below; do not edit.\n")
string(APPEND code "#include <string_view>\n\nnamespace ${NAMESPACE} {\n")
foreach(pair ${FILES})
  string(REPLACE "=" ";" parts "${pair}")
  list(GET parts 0 name)
  list(GET parts 1 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR length "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  # Lines of 32 bytes, each its own literal.
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){32})" "\\1\"\n    \"" escaped "${escaped}")
  get_filename_component(file "${path}" NAME)
  string(APPEND code "\n// ${file}\nstd::string_view ${name}() {\n    static constexpr char kBytes[] =\n    \"${escaped}\";\n")
  string(APPEND code "    return {kBytes, ${length}};\n}\n")
endforeach()
string(APPEND code "\n}  // namespace ${NAMESPACE}\n")
# Written only when it changes, so that nothing rebuilds for nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL code)
  file(WRITE "${OUTPUT}" "${code}")
endif()
