// Built with this instruction set's flags (see CMakeLists.txt); selected at run time by CabinetChain.
#define MURAX_KERNEL_NAMESPACE avx2
#define MURAX_KERNEL_WIDTH 4
#include "CabinetKernel.inc"
