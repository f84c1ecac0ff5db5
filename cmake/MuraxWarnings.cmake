# Warning flags for our own targets only; third-party sources compile with their own.
add_library(murax_warnings INTERFACE)
target_compile_options(murax_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual>
  $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>)
