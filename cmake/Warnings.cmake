# Project-wide warning level; -Werror where the build asks for it (CI does).
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
if(TW_WERROR)
    add_compile_options(-Werror)
endif()
