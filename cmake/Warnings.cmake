# Warnings are errors in both builds; the native build also runs under the sanitizers.
set(VANTREL_WARNINGS -Wall -Wextra -Wconversion -Wsign-conversion -Wimplicit-fallthrough -Wshadow
                     -Wnon-virtual-dtor -Werror)

if(WIN32)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    # The executables run alone: no mingw runtime DLLs beside them.
    add_link_options(-static -static-libgcc -static-libstdc++)
else()
    option(VANTREL_SANITIZE "Build with AddressSanitizer and UBSan" ON)
    if(VANTREL_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
endif()

# Applies the project's warnings to one of its own targets (not to third-party code).
function(vantrel_warnings target)
    target_compile_options(${target} PRIVATE ${VANTREL_WARNINGS})
endfunction()
