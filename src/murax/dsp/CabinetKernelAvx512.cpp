// Built with this instruction set's flags (see CMakeLists.txt); selected at run time by CabinetChain.
#define MURAX_KERNEL_NAMESPACE avx512
#define MURAX_KERNEL_WIDTH 8
#include "CabinetKernel.inc"
