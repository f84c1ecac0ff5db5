// Writes the editor images plug-in browsers show for a bundle:
//   murax_bundle_snapshots <Resources folder> <class ID>
// gives <Resources>/Snapshots/<class ID>_snapshot.png at the editor's size
// and <class ID>_snapshot_2.0x.png at twice that, both at the defaults.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "EditorSnapshot.h"
#include "LICE_MemBitmap.h"
#include "PngWriter.h"
#include "WholeFiles.h"

int main(int argc, char** argv)
{
  if (argc != 3)
  {
    std::fprintf(stderr, "usage: murax_bundle_snapshots RESOURCES_FOLDER CLASS_ID\n");
    return 2;
  }
  const std::string resources = argv[1], classID = argv[2];
  const std::string folder = resources + "/Snapshots";
  struct stat st{};
  if (stat(folder.c_str(), &st) != 0 && mkdir(folder.c_str(), 0777) != 0)
  {
    std::fprintf(stderr, "murax_bundle_snapshots: cannot make %s\n", folder.c_str());
    return 1;
  }
  for (const auto& [scale, suffix] : {std::pair<double, const char*>{1.0, "_snapshot.png"}, {2.0, "_snapshot_2.0x.png"}})
  {
    std::string error, png;
    LICE_MemBitmap bitmap;
    if (!render::DrawEditorSnapshot(resources, render::Settings(), scale, &bitmap, &error) ||
        !render::EncodePng(&bitmap, {{"Title", "MURAX editor"}}, &png) ||
        !render::WriteWholeFile(folder + "/" + classID + suffix, png, &error))
    {
      std::fprintf(stderr, "murax_bundle_snapshots: %s\n", error.empty() ? "cannot encode the snapshot" : error.c_str());
      return 1;
    }
  }
  return 0;
}
