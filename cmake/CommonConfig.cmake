# One interface target carries the language standard, the warnings and the Qt defines.
add_library(korvalen_common INTERFACE)
target_compile_features(korvalen_common INTERFACE cxx_std_20)
target_compile_options(korvalen_common INTERFACE
    -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor -Wshadow)
target_compile_definitions(korvalen_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
target_include_directories(korvalen_common INTERFACE ${PROJECT_SOURCE_DIR})
