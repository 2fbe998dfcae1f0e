# SPDX-License-Identifier: GPL-3.0-or-later
# Settings shared by every target of the project, applied per target.
function(corvane_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports string concatenation as overlapping copies at -O2 and above
        # (a known false positive of -Wrestrict).
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(CORVANE_SANITIZE OR CORVANE_FUZZ)
        set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all
                       -fno-omit-frame-pointer)
        target_compile_options(${target} PRIVATE ${sanitizers})
        target_link_options(${target} PUBLIC ${sanitizers})
    endif()
    if(CORVANE_FUZZ)
        # Coverage feedback for the fuzzer from every library it links.
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
endfunction()
