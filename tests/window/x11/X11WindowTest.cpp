// The window layer in process: MURAX built with the X11 surface, a private
// Xvfb, the host's window, XTest input. Menus and text fields are opened by
// a probe control, as a control of the editor would open them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <thread>

#include "IControl.h"
#include "IGraphicsX11.h"
#include "IParam.h"
#include "IPlugBase.h"
#include "IPlugVST3View.h"
#include "IPopupMenu.h"
#include "MURAX.h"

// Xlib after our headers: it defines Bool and Status as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "X11ErrorTrap.h"
#include "X11Services.h"
#include "X11TextEntry.h"
#include "../../vst3/EditorX11Support.h"

using namespace editortest;

namespace
{
// Opens a menu or a text field when pressed; remembers what came back.
class PromptProbe : public IControl
{
public:
  PromptProbe(IPlugBase* plug, IRECT r, int param, IPopupMenu* menu) : IControl(plug, r, param), mMenu(menu) {}
  void OnMouseDown(int, int, IMouseMod*) override
  {
    IGraphics* gui = GetGUI();
    if (mMenu)
    {
      opened = true;
      chosen = gui->CreateIPopupMenu(mMenu, &mRECT);
      chosenIdx = chosen ? chosen->GetChosenItemIdx() : -1;
      closed = true;
    }
    else
      gui->PromptUserInput(this, GetPlug()->GetParam(mParamIdx), &mRECT);
  }
  void TextFromTextEntry(const char* text) override { received = text; }
  bool Draw(IGraphics* g) override
  {
    IColor c(255, 10, 200, 30);
    return g->FillIRect(&c, &mRECT);
  }

  IPopupMenu* mMenu;
  std::atomic<bool> opened{false}, closed{false};
  IPopupMenu* chosen = nullptr;
  int chosenIdx = -1;
  std::string received;
};

class X11Window : public ::testing::Test
{
protected:
  void SetUp() override { Start(24); }
  void Start(int depth)
  {
    x11 = std::make_unique<X11Host>(true, kEditorW + 100, kEditorH + 60, depth);
    if (!x11->server) GTEST_SKIP() << "no Xvfb: " << x11->error;
    ASSERT_TRUE(x11->Ok()) << x11->error;
    plug = MakePlug();
    gui = dynamic_cast<IGraphicsX11*>(plug->GetGUI());
    ASSERT_NE(gui, nullptr) << "MURAX made with the X11 surface";
  }
  void TearDown() override
  {
    if (gui) gui->CloseWindow();
    delete plug; // the base owns the editor
    x11.reset();
  }
  void Open()
  {
    ASSERT_NE(gui->OpenWindow(x11->parent->EmbedHandle()), nullptr);
    x11->parent->Sync();
  }
  // What the view's timer does, for ms milliseconds.
  void Pump(int ms = 80)
  {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end)
    {
      gui->OnWindowTimer();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  PromptProbe* AddProbe(int param, IPopupMenu* menu)
  {
    auto* p = new PromptProbe(plug, IRECT(400, 100, 560, 124), param, menu);
    gui->AttachControl(p);
    return p;
  }
  ::Window Child() { return gui->GetXWindow(); }

  std::unique_ptr<X11Host> x11;
  IPlugBase* plug = nullptr;
  IGraphicsX11* gui = nullptr;
};

// The first mapped override-redirect window on the root other than skip.
::Window FindPopup(Display* d, ::Window skip, XWindowAttributes* out, int waitMs = 3000)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (std::chrono::steady_clock::now() < end)
  {
    ::Window root = 0, parent = 0, *kids = nullptr;
    unsigned n = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &kids, &n);
    ::Window found = 0;
    for (unsigned i = 0; i < n && !found; ++i)
    {
      XWindowAttributes a = {};
      if (kids[i] != skip && XGetWindowAttributes(d, kids[i], &a) && a.override_redirect && a.map_state == IsViewable &&
          a.width > 40)
      {
        found = kids[i];
        if (out) *out = a;
      }
    }
    if (kids) XFree(kids);
    if (found) return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return 0;
}

// A user on their own connection, acting while the menu's loop runs.
template <class Script>
std::thread Meanwhile(const std::string& display, ::Window hostWindow, Script script)
{
  return std::thread([display, hostWindow, script]() {
    User u(display);
    XWindowAttributes menu = {};
    if (!FindPopup(u.GetDisplay(), hostWindow, &menu)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    script(u, menu);
  });
}
} // namespace

TEST_F(X11Window, ShmProbeAndTheFirstFrame)
{
  Open();
  EXPECT_TRUE(gui->UsesShm()) << "Xvfb on this machine offers MIT-SHM";
  EXPECT_STREQ(gui->GetGUIAPI(), "X11 GUI");
  EXPECT_GE(gui->WindowEventFD(), 0);
  gui->CloseWindow();
  EXPECT_EQ(gui->WindowEventFD(), -1);
  EXPECT_EQ(gui->GetWindow(), nullptr);
  EXPECT_FALSE(gui->DrawScreen(nullptr)) << "no window, nothing drawn";
}

TEST_F(X11Window, ErrorTrapCatchesOnlyWhileItLives)
{
  Display* d = x11->parent->GetDisplay();
  int (*before)(Display*, XErrorEvent*) = XSetErrorHandler(nullptr);
  XSetErrorHandler(before);
  {
    X11ErrorTrap outer(d);
    {
      X11ErrorTrap inner(d);
      XMapWindow(d, 0x7ffff01);
      EXPECT_TRUE(inner.Failed());
      EXPECT_EQ(inner.ErrorCode(), BadWindow);
    }
    EXPECT_FALSE(outer.Failed()) << "the inner trap took it";
  }
  int (*after)(Display*, XErrorEvent*) = XSetErrorHandler(before);
  EXPECT_EQ(after, before) << "no handler of ours stays installed";
}

TEST_F(X11Window, MenuChosenWithTheKeyboard)
{
  IPopupMenu menu;
  menu.AddItem("One");
  menu.AddItem("Two", -1, IPopupMenuItem::kChecked);
  menu.AddSeparator();
  menu.AddItem("Three", -1, IPopupMenuItem::kDisabled);
  menu.AddItem("Four", -1, IPopupMenuItem::kTitle);
  PromptProbe* probe = AddProbe(-1, &menu);
  Open();
  auto t = Meanwhile(x11->server->DisplayName(), x11->parent->GetWindow(), [](User& u, XWindowAttributes&) {
    u.Tap(XK_Down); // One
    u.Tap(XK_Down); // Two
    u.Tap(XK_Down); // the separator and the disabled item are skipped: Four
    u.Tap(XK_Up);   // back to Two
    u.Tap(XK_Return);
  });
  x11->user->Click(Child(), 420, 110);
  Pump(100);
  t.join();
  EXPECT_TRUE(probe->closed);
  EXPECT_EQ(probe->chosen, &menu);
  EXPECT_EQ(probe->chosenIdx, 1);
  EXPECT_EQ(FindPopup(x11->parent->GetDisplay(), x11->parent->GetWindow(), nullptr, 100), 0u) << "menu gone";
}

TEST_F(X11Window, MenuChosenWithThePointerAndClosedOutside)
{
  IPopupMenu menu;
  menu.AddItem("First");
  menu.AddItem("Second");
  PromptProbe* probe = AddProbe(-1, &menu);
  Open();
  auto t = Meanwhile(x11->server->DisplayName(), x11->parent->GetWindow(), [](User& u, XWindowAttributes& m) {
    u.MoveToRoot(m.x + 30, m.y + 6); // inside the first row
    u.Button(1, true);
    u.Button(1, false);
  });
  x11->user->Click(Child(), 420, 110);
  Pump(100);
  t.join();
  EXPECT_EQ(probe->chosenIdx, 0);

  probe->closed = false;
  auto t2 = Meanwhile(x11->server->DisplayName(), x11->parent->GetWindow(), [](User& u, XWindowAttributes& m) {
    u.MoveToRoot(m.x + m.width + 100, m.y + m.height + 100);
    u.Button(1, true);
    u.Button(1, false);
  });
  x11->user->Click(Child(), 420, 110);
  Pump(100);
  t2.join();
  EXPECT_TRUE(probe->closed);
  EXPECT_EQ(probe->chosen, nullptr) << "a click outside chooses nothing";

  auto t3 = Meanwhile(x11->server->DisplayName(), x11->parent->GetWindow(),
                      [](User& u, XWindowAttributes&) { u.Tap(XK_Escape); });
  x11->user->Click(Child(), 420, 110);
  Pump(100);
  t3.join();
  EXPECT_EQ(probe->chosen, nullptr) << "Escape chooses nothing";
}

TEST_F(X11Window, SubmenuChoiceComesBackAsTheSubmenu)
{
  IPopupMenu sub;
  sub.AddItem("Alpha");
  sub.AddItem("Beta");
  IPopupMenu menu;
  menu.SetPrefix(2);
  menu.AddItem("Plain");
  menu.AddItem("More", &sub);
  PromptProbe* probe = AddProbe(-1, &menu);
  Open();
  auto t = Meanwhile(x11->server->DisplayName(), x11->parent->GetWindow(), [](User& u, XWindowAttributes&) {
    u.Tap(XK_Down);
    u.Tap(XK_Down);  // More
    u.Tap(XK_Right); // opens the submenu on Alpha
    u.Tap(XK_Down);  // Beta
    u.Tap(XK_Return);
  });
  x11->user->Click(Child(), 420, 110);
  Pump(100);
  t.join();
  EXPECT_EQ(probe->chosen, &sub);
  EXPECT_EQ(probe->chosenIdx, 1);
  EXPECT_EQ(sub.GetChosenItemIdx(), 1);
}

TEST_F(X11Window, MenuWithoutTheGrabStillEnds)
{
  IPopupMenu menu;
  menu.AddItem("Only");
  PromptProbe* probe = AddProbe(-1, &menu);
  Open();
  gui->SetMenuIdleTimeout(600);
  // Another client (the host, often) holds the pointer grab all along.
  User holder(x11->server->DisplayName());
  ASSERT_EQ(XGrabPointer(holder.GetDisplay(), DefaultRootWindow(holder.GetDisplay()), False, ButtonPressMask,
                         GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  XSync(holder.GetDisplay(), False);
  const auto start = std::chrono::steady_clock::now();
  // The press cannot reach us through the grab: open the menu as the probe would.
  IRECT r(400, 100, 560, 124);
  IPopupMenu* chosen = gui->CreateIPopupMenu(&menu, &r);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(chosen, nullptr);
  EXPECT_LT(ms, 3000.0) << "the idle bound ended the loop";
  XUngrabPointer(holder.GetDisplay(), CurrentTime);
  XSync(holder.GetDisplay(), False);

  // When the grab goes, a press outside the menu ends it at once.
  gui->SetMenuIdleTimeout(20000);
  User grabber(x11->server->DisplayName());
  XGrabPointer(grabber.GetDisplay(), DefaultRootWindow(grabber.GetDisplay()), False, ButtonPressMask, GrabModeAsync,
               GrabModeAsync, None, None, CurrentTime);
  XSync(grabber.GetDisplay(), False);
  std::atomic<bool> done{false};
  std::thread t([&]() {
    User u(x11->server->DisplayName());
    if (!FindPopup(u.GetDisplay(), x11->parent->GetWindow(), nullptr)) return;
    // Only the main thread may use the grabbing connection's display...
    // so this user releases nothing: it clicks on the editor after the grab
    // ends, which the grabber does on its own when told.
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    u.Click(x11->parent->GetWindow(), 650, 400);
  });
  std::thread ungrab([&]() {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    XUngrabPointer(grabber.GetDisplay(), CurrentTime);
    XSync(grabber.GetDisplay(), False);
    done = true;
  });
  const auto start2 = std::chrono::steady_clock::now();
  chosen = gui->CreateIPopupMenu(&menu, &r);
  const double ms2 = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start2).count();
  ungrab.join();
  t.join();
  EXPECT_EQ(chosen, nullptr);
  EXPECT_LT(ms2, 5000.0) << "ended by the press outside, not by the idle bound";
  (void)probe;
}

TEST_F(X11Window, TextEntryTypesFiltersAndApplies)
{
  PromptProbe* probe = AddProbe(MURAX::kCharacter, nullptr);
  Open();
  x11->user->Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  X11TextEntry* entry = gui->GetTextEntry();
  EXPECT_EQ(entry->GetText(), "5.0") << "the value as the parameter shows it";
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(x11->parent->GetDisplay(), &focus, &revert);
  EXPECT_EQ(focus, entry->GetWindow()) << "the field has the keyboard while open";
  // The field's text-entry colours: white background, black text.
  EXPECT_EQ(x11->Pixel(558, 102), 0xFFFFFFu);

  User& u = *x11->user;
  u.Tap(XK_BackSpace);
  u.Tap(XK_BackSpace);
  u.Tap(XK_BackSpace);
  u.Type("7a.5x");
  Pump();
  EXPECT_EQ(entry->GetText(), "7.5") << "letters refused for a double parameter";
  u.Tap(XK_Home);
  u.Type("-");
  u.Tap(XK_End);
  u.Tap(XK_BackSpace);
  u.Type("25");
  Pump();
  EXPECT_EQ(entry->GetText(), "-7.25");
  // A drag that starts in the field moves nothing and keeps it open.
  const double before = plug->GetParam(MURAX::kCharacter)->Value();
  u.MoveTo(Child(), 500, 112);
  u.Button(1, true);
  Pump(40);
  u.MoveTo(Child(), 500, 60);
  Pump(40);
  u.Button(1, false);
  Pump(40);
  EXPECT_TRUE(gui->TextEntryOpen());
  EXPECT_EQ(plug->GetParam(MURAX::kCharacter)->Value(), before);
  EXPECT_EQ(entry->GetText(), "-7.25");
  // A click at the field's left end puts the caret before the text.
  u.Click(Child(), 401, 112);
  Pump();
  EXPECT_EQ(entry->GetCaret(), 0u);
  u.Tap(XK_End);
  Pump();
  EXPECT_EQ(entry->GetCaret(), entry->GetText().size());
  u.Tap(XK_Home);
  u.Tap(XK_Delete);
  u.Tap(XK_Return);
  Pump();
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_NEAR(plug->GetParam(MURAX::kCharacter)->Value(), 7.25, 1e-9) << "Enter applies";
  XGetInputFocus(x11->parent->GetDisplay(), &focus, &revert);
  EXPECT_NE(focus, Child()) << "the focus goes back";
  (void)probe;
}

TEST_F(X11Window, TextEntryEndsWithoutApplying)
{
  AddProbe(MURAX::kCharacter, nullptr);
  Open();
  User& u = *x11->user;
  // Escape.
  u.Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  u.Type("9");
  u.Tap(XK_Escape);
  Pump();
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_NEAR(plug->GetParam(MURAX::kCharacter)->Value(), 5.0, 1e-9);
  // The wheel (after a pause: two quick clicks would be a double click).
  Pump(450);
  u.Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  u.Type("9");
  u.MoveTo(Child(), 650, 400);
  u.Button(4, true);
  u.Button(4, false);
  Pump();
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_NEAR(plug->GetParam(MURAX::kCharacter)->Value(), 5.0, 1e-9);
  // The wheel over the field itself.
  Pump(450);
  u.Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  u.Type("9");
  u.MoveTo(Child(), 430, 112);
  u.Button(5, true);
  u.Button(5, false);
  Pump();
  EXPECT_FALSE(gui->TextEntryOpen()) << "the wheel over the field ends it too";
  EXPECT_NEAR(plug->GetParam(MURAX::kCharacter)->Value(), 5.0, 1e-9);
  // ForceEndUserEdit and closing the window.
  Pump(450);
  u.Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  gui->ForceEndUserEdit();
  EXPECT_FALSE(gui->TextEntryOpen());
  Pump(450);
  u.Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  gui->CloseWindow();
  EXPECT_NEAR(plug->GetParam(MURAX::kCharacter)->Value(), 5.0, 1e-9);
}

TEST_F(X11Window, TextEntryLengthLimitAndLeavingApplies)
{
  PromptProbe* probe = AddProbe(MURAX::kCharacter, nullptr);
  probe->SetTextEntryLength(4);
  Open();
  User& u = *x11->user;
  u.Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  u.Tap(XK_End);
  u.Type("123456");
  Pump();
  EXPECT_EQ(gui->GetTextEntry()->GetText(), "5.01") << "four characters at most";
  // A click elsewhere in the editor leaves the field and applies it.
  u.Click(Child(), 650, 400);
  Pump();
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_NEAR(plug->GetParam(MURAX::kCharacter)->Value(), 5.01, 1e-9);
}

TEST_F(X11Window, OpenURLStartsXdgOpenWithoutAShell)
{
  char dir[] = "/tmp/murax-url-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string log = std::string(dir) + "/args";
  const std::string script = std::string(dir) + "/xdg-open";
  {
    std::ofstream s(script);
    s << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << log << "\n";
  }
  chmod(script.c_str(), 0755);
  const char* oldPath = std::getenv("PATH");
  const std::string saved = oldPath ? oldPath : "";
  setenv("PATH", dir, 1);
  const char* url = "https://example.com/a b;$(touch /tmp/murax-pwned)";
  EXPECT_TRUE(gui->OpenURL(url));
  for (int i = 0; i < 100; ++i)
  {
    std::ifstream in(log);
    if (in.good() && in.peek() != EOF) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::ifstream in(log);
  std::string got;
  std::getline(in, got);
  EXPECT_EQ(got, url) << "one argument, passed as it is";
  struct stat st;
  EXPECT_NE(stat("/tmp/murax-pwned", &st), 0) << "no shell saw the text";
  setenv("PATH", "/nonexistent", 1);
  EXPECT_FALSE(gui->OpenURL("https://example.com")) << "false when xdg-open cannot start";
  setenv("PATH", saved.c_str(), 1);
  std::remove(log.c_str());
  std::remove(script.c_str());
  rmdir(dir);
}

TEST_F(X11Window, ClipboardWithABoundedWait)
{
  Open();
  WDL_String text;
  EXPECT_FALSE(gui->GetTextFromClipboard(&text)) << "nobody owns the clipboard";
  EXPECT_STREQ(text.Get(), "");

  // An owner that answers, on its own connection and thread.
  std::atomic<bool> ready{false}, stop{false};
  std::thread owner([&]() {
    Display* d = XOpenDisplay(x11->server->DisplayName().c_str());
    ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    XSetSelectionOwner(d, clipboard, w, CurrentTime);
    XSync(d, False);
    ready = true;
    while (!stop)
    {
      while (XPending(d))
      {
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type != SelectionRequest) continue;
        const XSelectionRequestEvent& rq = ev.xselectionrequest;
        const char* value = "7.25";
        XChangeProperty(d, rq.requestor, rq.property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 4);
        XEvent reply = {};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = rq.requestor;
        reply.xselection.selection = rq.selection;
        reply.xselection.target = rq.target;
        reply.xselection.property = rq.property;
        reply.xselection.time = rq.time;
        XSendEvent(d, rq.requestor, False, 0, &reply);
        XFlush(d);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    XCloseDisplay(d);
  });
  while (!ready) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(gui->GetTextFromClipboard(&text));
  EXPECT_STREQ(text.Get(), "7.25");
  stop = true;
  owner.join();
}

TEST_F(X11Window, CursorHideAndShowPutsThePointerBack)
{
  Open();
  x11->user->MoveTo(Child(), 300, 200);
  gui->HideMouseCursor();
  x11->user->MoveTo(Child(), 10, 10);
  gui->ShowMouseCursor();
  ::Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(x11->parent->GetDisplay(), x11->parent->GetWindow(), &root, &child, &rx, &ry, &wx, &wy, &mask);
  EXPECT_EQ(wx, 300);
  EXPECT_EQ(wy, 200);
}

TEST(X11Services, PathsInLinuxTerms)
{
  EXPECT_EQ(X11BundleParent("/home/u/.vst3/MURAX.vst3/Contents/x86_64-linux/MURAX.so"), "/home/u/.vst3/");
  EXPECT_EQ(X11BundleParent("/usr/lib/MURAX.so"), "/usr/lib/");
  char dir[] = "/tmp/murax-xdg-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  {
    std::ofstream f(std::string(dir) + "/user-dirs.dirs");
    f << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  }
  setenv("XDG_CONFIG_HOME", dir, 1);
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(X11DesktopFolder(), "/home/someone/Schreibtisch");
  unsetenv("XDG_CONFIG_HOME");
  setenv("XDG_DATA_HOME", "/data/here", 1);
  EXPECT_EQ(X11DataFolder(), "/data/here");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(X11DataFolder(), "/home/someone/.local/share");
  std::remove((std::string(dir) + "/user-dirs.dirs").c_str());
  rmdir(dir);
}

TEST_F(X11Window, RequestsOnAWindowTheHostDestroyedNeverReachTheDefaultHandler)
{
  Open();
  Pump(50);
  x11->parent->DestroyWindow();
  // Drawn before the destruction is even seen: the errors arrive later, in
  // whatever call of ours reads the connection next. Xlib's default handler
  // would end this process.
  gui->SetAllControlsDirty();
  IRECT all(0, 0, gui->Width(), gui->Height());
  gui->Draw(&all);
  gui->HideMouseCursor();
  gui->ShowMouseCursor();
  Pump(100);
  WDL_String clip;
  EXPECT_FALSE(gui->GetTextFromClipboard(&clip));
  gui->CloseWindow();
  EXPECT_EQ(gui->GetWindow(), nullptr);
  SUCCEED() << "still running";
}

TEST_F(X11Window, TooltipsOnlyWhenEnabledAndAfterARest)
{
  PromptProbe* probe = AddProbe(-1, nullptr);
  probe->SetToolTipText("Opens a prompt");
  Open();
  x11->user->MoveTo(Child(), 420, 110);
  Pump(800);
  EXPECT_FALSE(gui->TooltipVisible()) << "tooltips are off by default";
  gui->SetTooltipsEnabled(true);
  x11->user->MoveTo(Child(), 650, 400);
  Pump(100);
  x11->user->MoveTo(Child(), 421, 111);
  Pump(200);
  EXPECT_FALSE(gui->TooltipVisible()) << "not before the pointer rests";
  Pump(700);
  EXPECT_TRUE(gui->TooltipVisible());
  x11->user->MoveTo(Child(), 650, 400);
  Pump(100);
  EXPECT_FALSE(gui->TooltipVisible()) << "gone when the pointer leaves the control";
}

class X11WindowDepth16 : public X11Window
{
protected:
  void SetUp() override { Start(16); }
  // The pixel at (x, y) of the host's window as 8-bit R, G, B.
  uint32_t Rgb(int x, int y)
  {
    Display* d = x11->parent->GetDisplay();
    XImage* image = XGetImage(d, x11->parent->GetWindow(), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFFu;
    const unsigned long p = XGetPixel(image, 0, 0);
    Visual* v = DefaultVisual(d, DefaultScreen(d));
    const auto channel = [&](unsigned long mask) {
      int shift = 0, width = 0;
      while (!((mask >> shift) & 1)) ++shift;
      while ((mask >> (shift + width)) & 1) ++width;
      return static_cast<uint32_t>(((p & mask) >> shift) << (8 - width));
    };
    const uint32_t rgb = (channel(v->red_mask) << 16) | (channel(v->green_mask) << 8) | channel(v->blue_mask);
    XDestroyImage(image);
    return rgb;
  }
};

TEST_F(X11WindowDepth16, AnotherPixelLayoutIsConvertedNotGarbled)
{
  PromptProbe* probe = AddProbe(MURAX::kCharacter, nullptr);
  Open();
  EXPECT_FALSE(gui->UsesShm()) << "no shared segment for a converted image";
  // The probe fills itself with (10, 200, 30): 5-6-5 bits keep 8, 200, 24.
  EXPECT_EQ(Rgb(450, 110), 0x08C818u);
  x11->user->Click(Child(), 420, 110);
  Pump();
  ASSERT_TRUE(gui->TextEntryOpen());
  EXPECT_EQ(Rgb(558, 102), 0xF8FCF8u) << "the field's white, converted";
  (void)probe;
}

namespace
{
// A stand-in for the desktop's dialog helper: records its arguments, prints
// a fixed answer and exits with a fixed status.
struct FakeZenity
{
  FakeZenity(const std::string& answer, int status)
  {
    char tmpl[] = "/tmp/murax-zenity-XXXXXX";
    dir = mkdtemp(tmpl);
    log = dir + "/args";
    std::ofstream s(dir + "/zenity");
    s << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << log << "\nprintf '%s\\n' '" << answer << "'\nexit " << status
      << "\n";
    s.close();
    chmod((dir + "/zenity").c_str(), 0755);
    const char* p = std::getenv("PATH");
    saved = p ? p : "";
    setenv("PATH", dir.c_str(), 1);
  }
  ~FakeZenity()
  {
    setenv("PATH", saved.c_str(), 1);
    std::remove(log.c_str());
    std::remove((dir + "/zenity").c_str());
    rmdir(dir.c_str());
  }
  std::string Args()
  {
    std::ifstream in(log);
    std::string all, line;
    while (std::getline(in, line)) all += line + "|";
    return all;
  }
  std::string dir, log, saved;
};
} // namespace

TEST_F(X11Window, MessageBoxesThroughTheDesktopHelper)
{
  {
    FakeZenity z("", 0);
    EXPECT_EQ(gui->ShowMessageBox("Overwrite?", "MURAX", 4), 1) << "Yes";
    EXPECT_NE(z.Args().find("--question|"), std::string::npos) << z.Args();
    EXPECT_NE(z.Args().find("|Overwrite?|"), std::string::npos) << "the text as one argument";
  }
  {
    FakeZenity z("", 1);
    EXPECT_EQ(gui->ShowMessageBox("Overwrite?", "MURAX", 4), 7) << "No";
    EXPECT_EQ(gui->ShowMessageBox("Note", "MURAX", 0), 0);
  }
  {
    FakeZenity z("Cancel", 1);
    EXPECT_EQ(gui->ShowMessageBox("Save?", "MURAX", 3), 2) << "the third button";
  }
  const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", "/nonexistent", 1);
  EXPECT_EQ(gui->ShowMessageBox("x", "y", 4), 0) << "no helper, no box, no button";
  setenv("PATH", saved.c_str(), 1);
}

TEST_F(X11Window, FilePromptThroughTheDesktopHelper)
{
  WDL_String file("preset.fxp"), dir("");
  gui->PromptForFile(&file, kFileSave, &dir, "fxp fxb");
  EXPECT_STREQ(file.Get(), "") << "without an open window nothing happens";
  Open();
  {
    FakeZenity z("/home/u/presets/mine.fxp", 0);
    file.Set("preset.fxp");
    dir.Set("/home/u/presets");
    gui->PromptForFile(&file, kFileSave, &dir, "fxp fxb");
    EXPECT_STREQ(file.Get(), "/home/u/presets/mine.fxp");
    EXPECT_STREQ(dir.Get(), "/home/u/presets/");
    const std::string args = z.Args();
    EXPECT_NE(args.find("--save|"), std::string::npos) << args;
    EXPECT_NE(args.find("--filename=/home/u/presets/preset.fxp|"), std::string::npos) << args;
    EXPECT_NE(args.find("--file-filter=*.fxp *.fxb|"), std::string::npos) << args;
  }
  {
    FakeZenity z("", 1);
    file.Set("a.fxp");
    dir.Set("");
    gui->PromptForFile(&file, kFileOpen, &dir, "");
    EXPECT_STREQ(file.Get(), "") << "cancelled";
    EXPECT_STREQ(dir.Get(), "~/Desktop") << "the empty start folder becomes the desktop";
    EXPECT_EQ(z.Args().find("--save"), std::string::npos);
  }
}

TEST_F(X11Window, TheServerGoingAwayDoesNotEndTheHost)
{
  Open();
  Pump(50);
  // The host's own connections go cleanly; then the server dies under ours.
  x11->user.reset();
  x11->parent.reset();
  x11->server.reset();
  gui->SetAllControlsDirty();
  Pump(100);
  EXPECT_TRUE(gui->ConnectionLost());
  gui->CloseWindow();
  EXPECT_EQ(gui->GetWindow(), nullptr);
  EXPECT_EQ(gui->WindowEventFD(), -1);
}

TEST_F(X11Window, NoDrawBeforeTheSharedFrameIsComplete)
{
  Open();
  ASSERT_TRUE(gui->UsesShm());
  Pump(100);
  ASSERT_FALSE(gui->ScreenBusy());
  // Another client holds the server: it reads nothing of ours meanwhile, so
  // the frame put next cannot complete.
  User holder(x11->server->DisplayName());
  XGrabServer(holder.GetDisplay());
  XSync(holder.GetDisplay(), False);
  gui->SetAllControlsDirty();
  gui->OnWindowTimer();
  EXPECT_TRUE(gui->ScreenBusy()) << "the frame went out with a completion requested";
  IRECT dirty;
  EXPECT_FALSE(gui->IsDirty(&dirty)) << "and the controls were drawn";
  gui->SetParameterFromPlug(MURAX::kCharacter, 0.9, true);
  for (int i = 0; i < 5; ++i)
  {
    gui->OnWindowTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(gui->ScreenBusy());
  EXPECT_TRUE(gui->IsDirty(&dirty)) << "no Draw into the segment the server still reads";
  XUngrabServer(holder.GetDisplay());
  XSync(holder.GetDisplay(), False);
  Pump(200);
  EXPECT_FALSE(gui->ScreenBusy());
  EXPECT_FALSE(gui->IsDirty(&dirty)) << "drawn once the completion came";
}

namespace
{
// Takes every key and remembers the codes.
class KeyRecorder : public IControl
{
public:
  explicit KeyRecorder(IPlugBase* plug) : IControl(plug, IRECT()) {}
  bool OnKeyDown(int, int, int key) override
  {
    codes.push_back(key);
    return true;
  }
  bool Draw(IGraphics*) override { return true; }
  std::vector<int> codes;
};
} // namespace

TEST_F(X11Window, HostKeysMapToEditorCodesAndReachTheKeyCatcher)
{
  // The format's virtual codes 7 (space) and 11-14 (arrows), characters otherwise.
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(0, 7), 0);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(' ', 0), 0);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(0, 12), 1);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(0, 14), 2);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(0, 11), 3);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(0, 13), 4);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode('0', 0), 5);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode('9', 0), 14);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode('a', 0), 15);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode('Z', 0), 40);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode('-', 0), -1);
  EXPECT_EQ(IPlugVST3View::EditorKeyCode(0, 6), -1) << "Escape is not an editor key";

  auto* catcher = new KeyRecorder(plug);
  gui->AttachKeyCatcher(catcher);
  MURAX* effect = static_cast<MURAX*>(plug);
  Steinberg::IPlugView* view = effect->createView("editor");
  ASSERT_NE(view, nullptr);
  vst3host::HostPlugFrame frame(&x11->loop);
  view->setFrame(&frame);
  ASSERT_EQ(view->attached(x11->parent->EmbedHandle(), Steinberg::kPlatformTypeX11EmbedWindowID),
            Steinberg::kResultTrue);
  EXPECT_EQ(view->onKeyDown('b', 0, 0), Steinberg::kResultTrue) << "the key catcher took it";
  EXPECT_EQ(view->onKeyDown(0, 12, 0), Steinberg::kResultTrue);
  EXPECT_EQ(view->onKeyDown('-', 0, 0), Steinberg::kResultFalse) << "not an editor key";
  EXPECT_EQ(catcher->codes, (std::vector<int>{16, 1}));
  EXPECT_EQ(view->removed(), Steinberg::kResultOk);
  EXPECT_EQ(view->onKeyDown('b', 0, 0), Steinberg::kResultFalse) << "no editor open";
  view->release();
}
