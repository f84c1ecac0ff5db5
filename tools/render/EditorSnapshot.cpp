#include "EditorSnapshot.h"

namespace render {

bool EditorSnapshotAvailable() { return false; }

bool WriteEditorSnapshot(const std::string&, const Settings&, std::string* error)
{
  *error = "--snapshot is not available in this build (it has no editor graphics yet)";
  return false;
}

} // namespace render
