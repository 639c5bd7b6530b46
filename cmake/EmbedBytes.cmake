# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -DHEADER=dir/Header.h -P EmbedBytes.cmake
# Writes a C++ source that holds the bytes of INPUT as `const uint8_t NAME[]` and
# `const size_t NAMESize`, declared in HEADER.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 16 bytes.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
     "// Generated from ${INPUT} at build time.\n"
     "#include \"${HEADER}\"\n\n"
     "namespace vantrel {\n\n"
     "const uint8_t ${NAME}[] = {\n    ${bytes}\n};\n"
     "const size_t ${NAME}Size = ${size};\n\n"
     "}  // namespace vantrel\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
