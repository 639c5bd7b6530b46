# Warnings are errors in every build; the native builds also run under the sanitizers.
set(VANTREL_WARNINGS -Wall -Wextra -Wconversion -Wsign-conversion -Wimplicit-fallthrough -Wshadow
                     -Wnon-virtual-dtor -Werror)

if(WIN32)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    # The executables run alone: no mingw runtime DLLs beside them.
    add_link_options(-static -static-libgcc -static-libstdc++)
else()
    option(VANTREL_SANITIZE "Build with AddressSanitizer and UBSan" ON)
    option(VANTREL_TSAN "Build with ThreadSanitizer instead (the tsan preset)" OFF)
    option(VANTREL_FUZZ "Build the libFuzzer targets instead of the tests (the fuzz preset)" OFF)
    if(VANTREL_TSAN)
        add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
        add_link_options(-fsanitize=thread)
    elseif(VANTREL_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
    if(VANTREL_FUZZ)
        # Coverage for libFuzzer in every library; the targets link its driver (tests/fuzz).
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
endif()

# Applies the project's warnings to one of its own targets (not to third-party code).
function(vantrel_warnings target)
    target_compile_options(${target} PRIVATE ${VANTREL_WARNINGS})
endfunction()
