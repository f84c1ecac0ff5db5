#include "TextEntryFilter.h"

#include <cstring>

#include "IParam.h"

const char* TextEntryCharacters(const IParam* param)
{
  if (!param) return nullptr;
  switch (param->Type())
  {
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum: return "0123456789-+";
  case IParam::kTypeDouble: return "0123456789.-+";
  case IParam::kTypeNone:
  default: return "";
  }
}

bool TextEntryAccepts(const IParam* param, int maxLength, const char* text)
{
  if (!text) return true;
  const size_t len = std::strlen(text);
  if (maxLength > 0 && len > static_cast<size_t>(maxLength)) return false;
  const char* allowed = TextEntryCharacters(param);
  if (!allowed) return true;
  for (size_t i = 0; i < len; ++i)
    if (!std::strchr(allowed, text[i])) return false;
  return true;
}
