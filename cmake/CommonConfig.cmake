# One interface target carries the language standard, the warnings and the Qt defines.
add_library(korvalen_common INTERFACE)
target_compile_features(korvalen_common INTERFACE cxx_std_20)
target_compile_options(korvalen_common INTERFACE
    -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor -Wshadow)
target_compile_definitions(korvalen_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
target_include_directories(korvalen_common INTERFACE ${PROJECT_SOURCE_DIR})
# GCC 12 warns of overlapping copies inside std::string's own inlined code at -O3 (GCC bug
# 105329); those warnings name no line of ours. Later compilers and other builds keep it.
target_compile_options(korvalen_common INTERFACE
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>,$<CONFIG:Release>>:-Wno-restrict>)
