// Built with this instruction set's flags (see CMakeLists.txt); selected at run time by CabinetChain.
#define MURAX_KERNEL_NAMESPACE baseline
#define MURAX_KERNEL_WIDTH 2
#include "CabinetKernel.inc"
