# Turns a binary file into a C++ source that returns its bytes, so that the program carries the
# file and never reads it at run time. Run as a script:
#   cmake -DINPUT=<file> -DOUTPUT=<source.cpp> -DHEADER=<include path> -DFUNCTION=<name>
#         -P embed_file.cmake
# The source includes HEADER (which declares `std::span<const std::uint8_t> FUNCTION();`) and
# defines FUNCTION over a constant array of the file's bytes.
foreach(var INPUT OUTPUT HEADER FUNCTION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "embed_file.cmake: ${var} is not set")
    endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
    message(FATAL_ERROR "embed_file.cmake: ${INPUT} is empty")
endif()

# Sixteen bytes a line: "0x28,0x00,..."
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")

get_filename_component(name "${INPUT}" NAME)
set(text "// Generated at build time from ${name} by cmake/embed_file.cmake. Do not edit.
#include \"${HEADER}\"

namespace {

const std::uint8_t fileBytes[${size}] = {
${bytes}
};

}  // namespace

std::span<const std::uint8_t> ${FUNCTION}()
{
    return fileBytes;
}
")

# Rewrite only on change, so an unchanged file recompiles nothing.
set(old "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
endif()
