# The reference HTML parser of bench_parser: libxml2's (htmlReadMemory).
find_package(LibXml2 REQUIRED)
target_link_libraries(${name} PRIVATE LibXml2::LibXml2)
