#include "BundleImage.h"

#include <cstring>
#include <strings.h>
#include <string>

#include "lice_png.h"

LICE_IBitmap* LoadImageFromBundle(const char* name)
{
  if (!name || !name[0]) return nullptr;
  const char* dot = std::strrchr(name, '.');
  if (strcasecmp(dot ? dot + 1 : name, "png") != 0) return nullptr;
  const char* slash = std::strrchr(name, '/');
  const char* base = slash ? slash + 1 : name;
  const char* baseDot = std::strrchr(base, '.');
  std::string resource(base, baseDot ? static_cast<size_t>(baseDot - base) : std::strlen(base));
  if (resource.empty()) return nullptr;
  resource += ".png";
  return LICE_LoadPNGFromNamedResource(resource.c_str());
}
