# One place for the warning flags; every target of the project links this INTERFACE target.
add_library(tessarin_warnings INTERFACE)
target_compile_options(tessarin_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wold-style-cast -Wnon-virtual-dtor)
