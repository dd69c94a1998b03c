# One place for the warning flags; every target of the project links this INTERFACE target.
add_library(tessarin_warnings INTERFACE)
# C++ only: the resource compiler of the Windows program takes none of them.
set(tessarin_warning_flags
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wold-style-cast -Wnon-virtual-dtor)
target_compile_options(tessarin_warnings INTERFACE
  "$<$<COMPILE_LANGUAGE:CXX>:${tessarin_warning_flags}>")
