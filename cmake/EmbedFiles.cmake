# Turns data files into one C++ source with a function returning their names and bytes.
#   cmake -DINPUTS=a,b -DOUTPUT=f.cpp -DNAMESPACE=ns -DFUNCTION=Name -DHEADER=ns/name.h -P EmbedFiles.cmake
string(REPLACE "," ";" INPUTS "${INPUTS}")
set(arrays "")
set(entries "")
set(index 0)
foreach(input IN LISTS INPUTS)
  file(READ "${input}" content HEX)
  string(LENGTH "${content}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
  string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n    " bytes "${bytes}")
  get_filename_component(name "${input}" NAME)
  string(APPEND arrays "constexpr char kFile${index}[] = {\n    ${bytes}'\\0'};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from data files; do not edit.
#include \"${HEADER}\"

namespace ${NAMESPACE} {
namespace {
${arrays}
constexpr EmbeddedFile kFiles[] = {
${entries}};
}  // namespace

std::span<const EmbeddedFile> ${FUNCTION}() { return kFiles; }

}  // namespace ${NAMESPACE}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
