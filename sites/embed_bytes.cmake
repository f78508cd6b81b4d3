# Writes the bytes of INPUT into OUTPUT as a C++ function FUNCTION() that
# returns them, so the sample server carries its media without files.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n#include <string_view>\n\nnamespace lumorra {\n\n"
  "static const unsigned char kEmbedded[] = {\n${bytes}};\n\n"
  "std::string_view ${FUNCTION}()\n{\n"
  "    return {reinterpret_cast<const char*>(kEmbedded), sizeof kEmbedded};\n}\n\n} // namespace lumorra\n")
