# Turns one binary file into a C++ source that hands out its bytes.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=Name -P embed_file.cmake
# defines `std::span<const std::uint8_t> assets::Name()`.
file(READ "${INPUT}" hex HEX)
# Sixteen bytes a line keeps the generated source readable and diffable.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstdint>\n"
  "#include <span>\n"
  "namespace assets {\n"
  "namespace {\n"
  "alignas(16) const std::uint8_t bytes[] = {\n${bytes}\n};\n"
  "}  // namespace\n"
  "std::span<const std::uint8_t> ${FUNCTION}() { return bytes; }\n"
  "}  // namespace assets\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
