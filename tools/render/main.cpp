// murax-render: files, the demo and pictures through the MURAX bundle.
#include "RenderApp.h"

int main(int argc, char** argv) { return render::RunRenderer(argc, argv); }
