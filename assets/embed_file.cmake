# Turns one binary file into a C++ source that defines its bytes.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P embed_file.cmake
# defines `extern const unsigned char assets_<name>[]` and `assets_<name>_size`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
# Sixteen bytes a line keeps the generated source readable and diffable.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n"
  "extern const unsigned char assets_${SYMBOL}[];\n"
  "extern const std::size_t assets_${SYMBOL}_size;\n"
  "alignas(16) const unsigned char assets_${SYMBOL}[] = {\n${bytes}\n};\n"
  "const std::size_t assets_${SYMBOL}_size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
