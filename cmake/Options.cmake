# Language level, warnings and strict Qt defines shared by every target.
add_library(linktrawl_options INTERFACE)
target_compile_features(linktrawl_options INTERFACE cxx_std_20)
target_compile_options(linktrawl_options INTERFACE -Wall -Wextra -Wpedantic)
if(LINKTRAWL_WERROR)
    target_compile_options(linktrawl_options INTERFACE -Werror)
endif()
target_compile_definitions(linktrawl_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    _FILE_OFFSET_BITS=64)
target_include_directories(linktrawl_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(linktrawl_options INTERFACE Threads::Threads)
if(LINKTRAWL_SANITIZE)
    # Undefined behaviour stops the run like an address error, so a fuzzer cannot pass over it.
    target_compile_options(linktrawl_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                           -fno-omit-frame-pointer)
    target_link_options(linktrawl_options INTERFACE -fsanitize=address,undefined)
endif()
if(LINKTRAWL_TSAN)
    target_compile_options(linktrawl_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(linktrawl_options INTERFACE -fsanitize=thread)
endif()
if(LINKTRAWL_FUZZ)
    # Coverage for the engine code the fuzz targets call into.
    target_compile_options(linktrawl_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
