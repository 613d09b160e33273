# Warnings are errors for the project's own targets.
function(orvalle_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wimplicit-fallthrough -Werror
    # GCC 12 reports false overlaps in inlined std::string code at -O2 and above.
    $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
    # ... and, when optimising, frees of "unallocated objects" in the inlined
    # destructors of a std::variant holding strings (the optimised tests).
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<NOT:$<CONFIG:Debug>>>:-Wno-free-nonheap-object>)
endfunction()
