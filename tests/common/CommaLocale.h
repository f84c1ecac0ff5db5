#pragma once
// Include from one source file of a test program: it also tells that
// program's leak checker about glibc's locale lookup.
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

// glibc keeps the path list it builds while looking up a locale through
// LOCPATH; the leak checker of sanitizer builds is told not to count it.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace testkit
{
// A locale whose decimal separator is a comma: an installed one, or one
// compiled into a private folder that goes with this object.
class CommaLocale
{
public:
  CommaLocale()
  {
    for (const char* candidate : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
      if (Usable(candidate)) return;
    char dir[] = "/tmp/murax-locale-XXXXXX";
    if (!mkdtemp(dir)) return;
    mFolder = dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + mFolder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    setenv("LOCPATH", dir, 1);
    Usable("de_DE.UTF-8");
  }
  ~CommaLocale()
  {
    std::setlocale(LC_NUMERIC, "C");
    if (mFolder.empty()) return;
    unsetenv("LOCPATH");
    if (std::system(("rm -rf '" + mFolder + "'").c_str()) != 0) return;
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  // Empty when no such locale could be found or built.
  const std::string& Name() const { return mName; }
  // Makes it the process's numeric locale; false when there is none.
  bool Install() const { return !mName.empty() && std::setlocale(LC_NUMERIC, mName.c_str()) != nullptr; }

private:
  bool Usable(const char* name)
  {
    locale_t l = newlocale(LC_NUMERIC_MASK, name, nullptr);
    if (!l) return false;
    freelocale(l);
    mName = name;
    return true;
  }

  std::string mName;
  std::string mFolder;
};
} // namespace testkit
