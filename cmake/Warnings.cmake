# Project-wide warning level; -Werror where the build asks for it (CI does).
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
if(TW_WERROR)
    add_compile_options(-Werror)
endif()
# GCC 12 reports impossible overlaps in inlined std::string concatenation at -O2 and above
# (GCC bug 105329); the warning says nothing about our code there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options(-Wno-restrict)
endif()
