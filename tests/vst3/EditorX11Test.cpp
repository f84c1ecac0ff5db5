// The bundle's editor in a real X server: the view embedded in the test
// host's window, driven by the host's run loop, real XTest input, pixels
// read back from the screen.
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <png.h>

#include <cmath>

#include "EditorX11Support.h"
#include "HostKeyForwarder.h"
#include "HostObjects.h"
#include "PluginInstance.h"
#include "Vst3Module.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

using namespace editortest;
using namespace vst3host;
using namespace Steinberg;

namespace
{
const TUID& MuraxClassID()
{
  static const TUID cid = {char(0xF2), char(0xAE), char(0xE7), char(0x0D), char(0x00), char(0xDE), char(0x4F),
                           char(0x4E), 'T', 'd', 'm', 'r', 'M', 'R', 'X', '1'};
  return cid;
}

// Edits of one parameter as "bpe" letters, for readable failures.
std::string Kinds(const std::vector<ComponentHandler::Edit>& edits, Vst::ParamID id)
{
  std::string s;
  for (auto& e : edits)
    if (e.id == id) s += e.kind;
  return s;
}

class EditorX11 : public ::testing::Test
{
protected:
  void SetUp() override { Start(true); }

  void Start(bool withShm)
  {
    x11 = std::make_unique<X11Host>(withShm);
    if (!x11->server) GTEST_SKIP() << "no Xvfb: " << x11->error;
    ASSERT_TRUE(x11->Ok()) << x11->error;
    bundle = MakeTestBundle(MURAX_BUNDLE_PATH);
    ASSERT_FALSE(bundle.empty()) << "copying the bundle with synthetic images";
    std::string error;
    module = Vst3Module::Load(bundle, &error);
    ASSERT_TRUE(module) << error;
    plug = PluginInstance::Create(module->Factory(), MuraxClassID(), &host, &handler, &error);
    ASSERT_TRUE(plug) << error;
    view = plug->controller->createView(Vst::ViewType::kEditor);
    ASSERT_NE(view, nullptr);
  }

  void TearDown() override
  {
    if (view) view->release();
    view = nullptr;
    plug.reset();
    module.reset();
    RemoveTestBundle(bundle);
    x11.reset();
  }

  // setFrame then attached, as hosts do.
  tresult Attach()
  {
    view->setFrame(&x11->frame);
    return view->attached(x11->parent->EmbedHandle(), kPlatformTypeX11EmbedWindowID);
  }

  ::Window Child() { return x11->Child(); }
  void Click(const Spot& s) { x11->user->Click(Child(), s.CX(), s.CY()); }
  double Normalized(int param) { return plug->controller->getParamNormalized(static_cast<Vst::ParamID>(param)); }
  int FrameShown(const Spot& knob, double scale = 1.0)
  {
    const uint32_t p = x11->Pixel(static_cast<int>(knob.CX() * scale), static_cast<int>(knob.CY() * scale));
    return static_cast<int>((p >> 16) & 255) / 4;
  }
  // Drags from a control's centre by (dx, dy) in steps, as a hand does.
  void Drag(const Spot& s, int dx, int dy, int steps = 8)
  {
    User& u = *x11->user;
    u.MoveTo(Child(), s.CX(), s.CY());
    u.Button(1, true);
    x11->Pump(60);
    for (int i = 1; i <= steps; ++i)
    {
      u.MoveTo(Child(), s.CX() + dx * i / steps, s.CY() + dy * i / steps);
      x11->Pump(45);
    }
    u.Button(1, false);
    x11->Pump(90);
  }

  std::unique_ptr<X11Host> x11;
  std::string bundle;
  HostApplication host;
  ComponentHandler handler;
  std::unique_ptr<Vst3Module> module;
  std::unique_ptr<PluginInstance> plug;
  IPlugView* view = nullptr;
};

TEST_F(EditorX11, PlatformTypesAndSize)
{
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeNSView), kResultFalse) << "an NSView is no window ID";
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHIView), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  ViewRect r;
  ASSERT_EQ(view->getSize(&r), kResultTrue) << "hosts ask before any frame exists";
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, kEditorW);
  EXPECT_EQ(r.bottom, kEditorH);
}

TEST_F(EditorX11, FirstFrameIsOnScreenBeforeAnyTick)
{
  ASSERT_EQ(Attach(), kResultTrue);
  ASSERT_NE(Child(), 0u) << "the editor is a child of the host's window";
  // No run-loop callback yet: attached itself put the first frame up.
  EXPECT_EQ(x11->loop.TimerCalls(), 0);
  EXPECT_EQ(x11->Pixel(400, 300), BackgroundColor(400, 300)) << "background at (400, 300)";
  EXPECT_EQ(x11->Pixel(700, 430), BackgroundColor(700, 430)) << "background at the far corner";
  EXPECT_EQ(x11->Pixel(kBypassSwitch.CX(), kBypassSwitch.CY()), SwitchColor(1)) << "\"Bypass\" 1 (the effect heard) by default";
  EXPECT_EQ(FrameShown(kMicKnob), FrameFor(0.0)) << "Mic Placement at its default 0";
  EXPECT_EQ(FrameShown(kSizeKnob), FrameFor(0.5)) << "Cabinet Size at its default 5";
  EXPECT_EQ(FrameShown(kOutputKnob), FrameFor(0.5)) << "Output at its default 5";

  XWindowAttributes a = {};
  ASSERT_TRUE(XGetWindowAttributes(x11->parent->GetDisplay(), Child(), &a));
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.width, kEditorW);
  EXPECT_EQ(a.height, kEditorH);
  EXPECT_EQ(a.map_state, IsViewable) << "mapped by the plug-in itself";

  // _XEMBED_INFO: version 0, flags XEMBED_MAPPED.
  Display* d = x11->parent->GetDisplay();
  const Atom xembed = XInternAtom(d, "_XEMBED_INFO", False);
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(d, Child(), xembed, 0, 2, False, xembed, &type, &format, &n, &after, &data), Success);
  ASSERT_EQ(n, 2u);
  EXPECT_EQ(format, 32);
  const long* values = reinterpret_cast<const long*>(data);
  EXPECT_EQ(values[0], 0);
  EXPECT_EQ(values[1], 1);
  XFree(data);

  XSizeHints hints = {};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(d, Child(), &hints, &supplied));
  EXPECT_EQ(hints.min_width, kEditorW);
  EXPECT_EQ(hints.max_width, kEditorW);
  EXPECT_EQ(hints.min_height, kEditorH);
  EXPECT_EQ(hints.max_height, kEditorH);
  EXPECT_EQ(view->removed(), kResultOk);
}

TEST_F(EditorX11, ExactlyOneTimerAndOneHandlerFromAttachedToRemoved)
{
  ASSERT_EQ(Attach(), kResultTrue);
  EXPECT_EQ(x11->loop.NumTimers(), 1);
  EXPECT_EQ(x11->loop.NumEventHandlers(), 1);
  Click(kBypassSwitch);
  Drag(kSizeKnob, 0, -20);
  x11->user->MoveTo(Child(), kSizeKnob.CX(), kSizeKnob.CY());
  x11->user->Button(4, true);
  x11->user->Button(4, false);
  x11->Pump(1000); // long enough for the read-out to go
  EXPECT_EQ(x11->loop.Registrations(), 2) << "nothing registered after attached";
  EXPECT_EQ(x11->loop.ChangesDuringDispatch(), 0) << "nothing changed from inside a callback";
  EXPECT_GT(x11->loop.TimerCalls(), 10);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(x11->loop.NumTimers(), 0);
  EXPECT_EQ(x11->loop.NumEventHandlers(), 0);
  EXPECT_TRUE(x11->parent->Children().empty()) << "the child window is gone";
}

TEST_F(EditorX11, ClickOnTheSwitchTogglesBypass)
{
  ASSERT_EQ(Attach(), kResultTrue);
  ASSERT_DOUBLE_EQ(Normalized(kBypassSwitch.param), 1.0);
  Click(kBypassSwitch);
  x11->Pump();
  EXPECT_EQ(Kinds(handler.edits, kBypassSwitch.param), "bpe");
  EXPECT_DOUBLE_EQ(Normalized(kBypassSwitch.param), 0.0);
  EXPECT_EQ(x11->Pixel(kBypassSwitch.CX(), kBypassSwitch.CY()), SwitchColor(0)) << "switch shows its first state";
  Click(kBypassSwitch);
  x11->Pump(500); // slower than a double click
  EXPECT_DOUBLE_EQ(Normalized(kBypassSwitch.param), 1.0);
  EXPECT_EQ(x11->Pixel(kBypassSwitch.CX(), kBypassSwitch.CY()), SwitchColor(1));
}

TEST_F(EditorX11, DraggingAKnobSendsOneGestureAndShowsTheFrame)
{
  ASSERT_EQ(Attach(), kResultTrue);
  // Vertical knob, gearing 2: 40 pixels up is a quarter of the range.
  Drag(kSizeKnob, 0, -40);
  const std::string kinds = Kinds(handler.edits, kSizeKnob.param);
  ASSERT_GE(kinds.size(), 3u);
  EXPECT_EQ(kinds.front(), 'b');
  EXPECT_EQ(kinds.back(), 'e');
  EXPECT_EQ(kinds.find_first_not_of('p', 1), kinds.size() - 1) << "only performs in between: " << kinds;
  double last = 0.5;
  for (auto& e : handler.edits)
    if (e.id == static_cast<Vst::ParamID>(kSizeKnob.param) && e.kind == 'p')
    {
      EXPECT_GE(e.value, last) << "values rise while dragging up";
      last = e.value;
    }
  EXPECT_NEAR(Normalized(kSizeKnob.param), 0.75, 1e-9);
  EXPECT_EQ(FrameShown(kSizeKnob), FrameFor(0.75));

  // The horizontal mic knob, gearing 0.5: 20 pixels right is half the range.
  handler.edits.clear();
  Drag(kMicKnob, 20, 0, 4);
  EXPECT_NEAR(Normalized(kMicKnob.param), 0.5, 1e-9);
  EXPECT_EQ(FrameShown(kMicKnob), FrameFor(0.5));
  EXPECT_EQ(FrameShown(kSizeKnob), FrameFor(0.75)) << "the other knob keeps its frame";
}

TEST_F(EditorX11, DoubleClicksByTimeAndDistance)
{
  ASSERT_EQ(Attach(), kResultTrue);
  Drag(kCharacterKnob, 0, -16);
  const double moved = Normalized(kCharacterKnob.param);
  ASSERT_NEAR(moved, 0.6, 1e-9);

  // Two quick presses at one place: the second is a double click, which
  // puts the knob back to its default in one more gesture.
  handler.edits.clear();
  User& u = *x11->user;
  u.Click(Child(), kCharacterKnob.CX(), kCharacterKnob.CY());
  u.Click(Child(), kCharacterKnob.CX() + 2, kCharacterKnob.CY() + 1);
  x11->Pump();
  EXPECT_EQ(Kinds(handler.edits, kCharacterKnob.param), "bebpe");
  EXPECT_NEAR(Normalized(kCharacterKnob.param), 0.5, 1e-9);
  EXPECT_EQ(FrameShown(kCharacterKnob), FrameFor(0.5));

  // Far apart or slow: two single clicks, the value stays.
  Drag(kCharacterKnob, 0, -16);
  handler.edits.clear();
  u.Click(Child(), kCharacterKnob.CX(), kCharacterKnob.CY());
  u.Click(Child(), kCharacterKnob.CX() + 20, kCharacterKnob.CY());
  x11->Pump(450);
  u.Click(Child(), kCharacterKnob.CX() + 20, kCharacterKnob.CY());
  x11->Pump();
  EXPECT_EQ(Kinds(handler.edits, kCharacterKnob.param), "bebebe");
  EXPECT_NEAR(Normalized(kCharacterKnob.param), 0.6, 1e-9);
}

TEST_F(EditorX11, WheelStepsAreEditsOfTheirOwn)
{
  ASSERT_EQ(Attach(), kResultTrue);
  User& u = *x11->user;
  u.MoveTo(Child(), kOutputKnob.CX(), kOutputKnob.CY());
  for (int i = 0; i < 3; ++i)
  {
    u.Button(4, true);
    u.Button(4, false);
  }
  u.Button(5, true);
  u.Button(5, false);
  // Horizontal steps carry no vertical delta.
  u.Button(6, true);
  u.Button(6, false);
  x11->Pump();
  EXPECT_NEAR(Normalized(kOutputKnob.param), 0.52, 1e-9) << "three up, one down, 0.01 each";
  const std::string kinds = Kinds(handler.edits, kOutputKnob.param);
  EXPECT_EQ(kinds.substr(0, 12), "bpebpebpebpe") << kinds;
  EXPECT_EQ(FrameShown(kOutputKnob), FrameFor(0.52));
}

TEST_F(EditorX11, ReadOutFollowsAGestureAndTakesNoInput)
{
  ASSERT_EQ(Attach(), kResultTrue);
  User& u = *x11->user;
  Display* d = x11->parent->GetDisplay();
  auto readouts = [&]() {
    std::vector<::Window> found;
    ::Window root = 0, parent = 0, *kids = nullptr;
    unsigned n = 0;
    XSync(d, False);
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &kids, &n);
    for (unsigned i = 0; i < n; ++i)
    {
      XWindowAttributes a = {};
      if (kids[i] != x11->parent->GetWindow() && XGetWindowAttributes(d, kids[i], &a) && a.override_redirect &&
          a.map_state == IsViewable)
        found.push_back(kids[i]);
    }
    if (kids) XFree(kids);
    return found;
  };
  EXPECT_TRUE(readouts().empty());
  u.MoveTo(Child(), kSizeKnob.CX(), kSizeKnob.CY());
  u.Button(1, true);
  x11->Pump(60);
  u.MoveTo(Child(), kSizeKnob.CX(), kSizeKnob.CY() - 16);
  x11->Pump(60);
  auto shown = readouts();
  ASSERT_EQ(shown.size(), 1u) << "a read-out while dragging";
  int count = -1, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(d, shown[0], ShapeInput, &count, &ordering);
  EXPECT_EQ(count, 0) << "an empty input shape";
  if (rects) XFree(rects);
  // The editor and its control list are untouched: the knob shows its frame.
  EXPECT_EQ(FrameShown(kSizeKnob), FrameFor(0.6));
  u.Button(1, false);
  x11->Pump(200);
  EXPECT_EQ(readouts().size(), 1u) << "it stays a moment after the release";
  x11->Pump(900);
  EXPECT_TRUE(readouts().empty()) << "and then goes";
}

TEST_F(EditorX11, KeysFromTheHostAnswerFalseWhenNothingTakesThem)
{
  ASSERT_EQ(Attach(), kResultTrue);
  x11->user->MoveTo(Child(), kSizeKnob.CX(), kSizeKnob.CY());
  x11->Pump();
  // The cabinet's controls take no keys and there is no key catcher: the
  // host keeps its shortcuts.
  EXPECT_EQ(view->onKeyDown('q', 0, 0), kResultFalse);
  EXPECT_EQ(view->onKeyDown(' ', 7, 0), kResultFalse);
  EXPECT_EQ(view->onKeyDown(0, 1, 0), kResultFalse) << "a key outside codes 0-40";
  EXPECT_DOUBLE_EQ(Normalized(kSizeKnob.param), 0.5);
  // Our window never selected keys: the focus stays where the host has it.
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(x11->parent->GetDisplay(), &focus, &revert);
  EXPECT_NE(focus, Child());
}

TEST_F(EditorX11, TheHostReadsTheKeysAndOffersThemToTheView)
{
  ASSERT_EQ(Attach(), kResultTrue);
  HostKeyForwarder forwarder(*x11->parent, view);
  Display* d = x11->parent->GetDisplay();
  XSetInputFocus(d, x11->parent->GetWindow(), RevertToParent, CurrentTime);
  XSync(d, False);
  User& u = *x11->user;
  // Typed with the pointer over a knob: X would deliver it to our window if
  // we had asked for keys.
  u.MoveTo(Child(), kSizeKnob.CX(), kSizeKnob.CY());
  x11->Pump(60);
  u.Tap(XK_q);
  u.Tap(XK_Up);
  u.Tap(XK_space);
  u.Tap(XK_7);
  x11->Pump(60);
  forwarder.Pump();
  ASSERT_EQ(forwarder.keys.size(), 4u) << "every key reached the host";
  EXPECT_EQ(forwarder.keys[0].character, 'q');
  EXPECT_EQ(forwarder.keys[1].virtualCode, 12) << "Up";
  EXPECT_EQ(forwarder.keys[2].virtualCode, 7) << "space";
  EXPECT_EQ(forwarder.keys[3].character, '7');
  for (auto& k : forwarder.keys) EXPECT_EQ(k.answer, kResultFalse) << "the cabinet takes no keys: the host keeps them";
  EXPECT_DOUBLE_EQ(Normalized(kSizeKnob.param), 0.5);
  EXPECT_EQ(view->removed(), kResultOk);
}

TEST_F(EditorX11, AttachRemoveAttachAgainAndBackToBack)
{
  // pluginval's order: removed at once, no callback in between.
  ASSERT_EQ(Attach(), kResultTrue);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(x11->loop.NumTimers() + x11->loop.NumEventHandlers(), 0);
  EXPECT_EQ(x11->loop.TimerCalls(), 0);
  x11->Pump(100);

  ASSERT_EQ(Attach(), kResultTrue) << "the same view attaches again";
  EXPECT_EQ(view->attached(x11->parent->EmbedHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse)
    << "a second attach while open is refused";
  EXPECT_EQ(x11->loop.NumTimers(), 1);
  x11->Pump(100);
  Click(kBypassSwitch);
  x11->Pump();
  EXPECT_DOUBLE_EQ(Normalized(kBypassSwitch.param), 0.0) << "the second window takes clicks";
  EXPECT_EQ(x11->Pixel(kBypassSwitch.CX(), kBypassSwitch.CY()), SwitchColor(0));
  EXPECT_EQ(view->removed(), kResultOk);

  // Two views at once: the second cannot take the first one's editor.
  ASSERT_EQ(Attach(), kResultTrue);
  IPlugView* second = plug->controller->createView(Vst::ViewType::kEditor);
  ASSERT_NE(second, nullptr);
  second->setFrame(&x11->frame);
  EXPECT_EQ(second->attached(x11->parent->EmbedHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(x11->loop.NumTimers(), 1);
  EXPECT_EQ(second->removed(), kResultOk);
  EXPECT_EQ(x11->parent->Children().size(), 1u) << "the first view's window is still there";
  second->release();
  EXPECT_EQ(view->removed(), kResultOk);

  // A second view of the same plug-in after the first is gone.
  view->release();
  view = plug->controller->createView(Vst::ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(Attach(), kResultTrue);
  x11->Pump();
  EXPECT_EQ(x11->Pixel(kBypassSwitch.CX(), kBypassSwitch.CY()), SwitchColor(0)) << "the editor kept its state";
  // Released while attached: everything comes back all the same.
  view->release();
  view = nullptr;
  EXPECT_EQ(x11->loop.NumTimers() + x11->loop.NumEventHandlers(), 0);
}

TEST_F(EditorX11, HostThatNeverCallsTheFdHandler)
{
  x11->loop.quirks.neverCallFd = true;
  ASSERT_EQ(Attach(), kResultTrue);
  Drag(kOutputKnob, 0, -20);
  EXPECT_EQ(x11->loop.FdCalls(), 0);
  EXPECT_NEAR(Normalized(kOutputKnob.param), 0.625, 1e-9) << "the timer drained the events";
  EXPECT_EQ(FrameShown(kOutputKnob), FrameFor(0.625));
}

TEST_F(EditorX11, SpuriousFdCallbacksNeverBlock)
{
  x11->loop.quirks.spuriousFdCalls = true;
  ASSERT_EQ(Attach(), kResultTrue);
  const auto start = std::chrono::steady_clock::now();
  x11->Pump(300);
  const double ms =
    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(x11->loop.FdCalls(), 5) << "called with nothing to read";
  EXPECT_LT(ms, 1500.0) << "no callback waited for input";
  Click(kBypassSwitch);
  x11->Pump();
  EXPECT_DOUBLE_EQ(Normalized(kBypassSwitch.param), 0.0);
}

TEST_F(EditorX11, FrameClearedBeforeRemovedStillUnregisters)
{
  ASSERT_EQ(Attach(), kResultTrue);
  x11->Pump(100);
  view->setFrame(nullptr);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(x11->loop.NumTimers() + x11->loop.NumEventHandlers(), 0);
}

TEST_F(EditorX11, HostWindowDestroyedFirst)
{
  ASSERT_EQ(Attach(), kResultTrue);
  x11->Pump(100);
  // The child goes with the parent; what follows must not reach Xlib's
  // default error handler, which would end the host.
  ASSERT_EQ(plug->Setup(48000.0, 512, Vst::kSample64), kResultOk);
  x11->parent->DestroyWindow();
  // A value from the host makes a knob dirty: the next tick draws to a
  // window that no longer exists.
  ParamChanges changes;
  changes.Add(static_cast<Vst::ParamID>(kSizeKnob.param), 0.9);
  ASSERT_EQ(plug->Flush(&changes), kResultOk);
  x11->Pump(200);
  changes.Clear();
  changes.Add(static_cast<Vst::ParamID>(kOutputKnob.param), 0.1);
  plug->Flush(&changes);
  x11->Pump(100);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(x11->loop.NumTimers() + x11->loop.NumEventHandlers(), 0);
}

TEST_F(EditorX11, NoWindowOpensWithoutARunLoopOrAWindow)
{
  HostPlugFrame bare(nullptr);
  view->setFrame(&bare);
  EXPECT_EQ(view->attached(x11->parent->EmbedHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse)
    << "no run loop";
  EXPECT_TRUE(x11->parent->Children().empty());

  view->setFrame(&x11->frame);
  EXPECT_EQ(view->attached(reinterpret_cast<void*>(uintptr_t{0x7fffff1}), kPlatformTypeX11EmbedWindowID),
            kResultFalse)
    << "a window that does not exist";
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->attached(x11->parent->EmbedHandle(), kPlatformTypeNSView), kResultFalse);
  EXPECT_EQ(x11->loop.Registrations(), 0) << "nothing registered";
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeHIView), kResultTrue) << "HIView opens nothing but says yes";
  EXPECT_EQ(x11->loop.Registrations(), 0);
  EXPECT_EQ(view->removed(), kResultOk);

  // Still usable afterwards.
  EXPECT_EQ(Attach(), kResultTrue);
  EXPECT_EQ(view->removed(), kResultOk);
}

TEST_F(EditorX11, ContentScaleFactor)
{
  IPlugViewContentScaleSupport* scale = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scale)), kResultOk);
  EXPECT_EQ(scale->setContentScaleFactor(0.5f), kResultFalse);
  EXPECT_EQ(scale->setContentScaleFactor(3.5f), kResultFalse);
  EXPECT_EQ(scale->setContentScaleFactor(std::nanf("")), kResultFalse);
  ViewRect r;
  view->getSize(&r);
  EXPECT_EQ(r.right, kEditorW) << "refused factors change nothing";

  // Before attached, as JUCE hosts do.
  ASSERT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  view->getSize(&r);
  EXPECT_EQ(r.right, 2 * kEditorW);
  EXPECT_EQ(r.bottom, 2 * kEditorH);
  x11->parent->Resize(2 * kEditorW + 20, 2 * kEditorH + 20);
  ASSERT_EQ(Attach(), kResultTrue);
  EXPECT_EQ(x11->frame.resizeRequests.size(), 0u) << "no resize needed: the host sized its window from getSize";
  XWindowAttributes a = {};
  XGetWindowAttributes(x11->parent->GetDisplay(), Child(), &a);
  EXPECT_EQ(a.width, 2 * kEditorW);
  EXPECT_EQ(a.height, 2 * kEditorH);
  EXPECT_EQ(FrameShown(kSizeKnob, 2.0), FrameFor(0.5));
  EXPECT_EQ(x11->Pixel(2 * 400, 2 * 300), BackgroundColor(400, 300)) << "background scaled";
  EXPECT_EQ(x11->Pixel(2 * 400 + 1, 2 * 300 + 1), BackgroundColor(400, 300)) << "whole factors stay sharp";

  // Events come back in editor pixels: a drag of 80 physical pixels is 40.
  Drag({2 * kSizeKnob.x, 2 * kSizeKnob.y, 2 * kSizeKnob.w, 2 * kSizeKnob.h, kSizeKnob.param}, 0, -80);
  EXPECT_NEAR(Normalized(kSizeKnob.param), 0.75, 1e-9);
  EXPECT_EQ(FrameShown(kSizeKnob, 2.0), FrameFor(0.75));
  Click({2 * kBypassSwitch.x, 2 * kBypassSwitch.y, 2 * kSwitchW, 2 * kSwitchH, 4});
  x11->Pump();
  EXPECT_DOUBLE_EQ(Normalized(kBypassSwitch.param), 0.0);
  EXPECT_EQ(x11->Pixel(2 * kBypassSwitch.CX(), 2 * kBypassSwitch.CY()), SwitchColor(0));

  // A change after attached: the frame is asked, the window follows.
  ASSERT_EQ(scale->setContentScaleFactor(1.5f), kResultTrue);
  ASSERT_EQ(x11->frame.resizeRequests.size(), 1u);
  EXPECT_EQ(x11->frame.resizeRequests[0].right, 1053);
  EXPECT_EQ(x11->frame.resizeRequests[0].bottom, 654);
  x11->Pump();
  XGetWindowAttributes(x11->parent->GetDisplay(), Child(), &a);
  EXPECT_EQ(a.width, 1053);
  EXPECT_EQ(a.height, 654);
  EXPECT_EQ(FrameShown(kSizeKnob, 1.5), FrameFor(0.75));
  ASSERT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
  view->getSize(&r);
  EXPECT_EQ(r.right, kEditorW);
  EXPECT_EQ(r.bottom, kEditorH);
  x11->Pump();
  EXPECT_EQ(x11->Pixel(401, 301), BackgroundColor(401, 301)) << "back to one to one";
  EXPECT_EQ(view->removed(), kResultOk);
  scale->release();
}

class EditorX11WithoutShm : public EditorX11
{
protected:
  void SetUp() override { Start(false); }
};

TEST_F(EditorX11WithoutShm, PlainPathDrawsTheSame)
{
  ASSERT_EQ(Attach(), kResultTrue);
  EXPECT_EQ(x11->Pixel(400, 300), BackgroundColor(400, 300));
  EXPECT_EQ(FrameShown(kSizeKnob), FrameFor(0.5));
  Drag(kSizeKnob, 0, -40);
  EXPECT_NEAR(Normalized(kSizeKnob.param), 0.75, 1e-9);
  EXPECT_EQ(FrameShown(kSizeKnob), FrameFor(0.75));
  EXPECT_EQ(view->removed(), kResultOk);
}
} // namespace

namespace
{
// An image from the built bundle's resources, as 0x00RRGGBB and its alpha.
struct Art
{
  int w = 0, h = 0;
  std::vector<uint32_t> argb;
};
Art LoadArt(const std::string& file)
{
  Art art;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, file.c_str())) return art;
  img.format = PNG_FORMAT_BGRA;
  art.w = static_cast<int>(img.width);
  art.h = static_cast<int>(img.height);
  art.argb.resize(static_cast<size_t>(art.w) * art.h);
  if (!png_image_finish_read(&img, nullptr, art.argb.data(), 0, nullptr)) art.argb.clear();
  return art;
}

class EditorX11Artwork : public EditorX11
{
protected:
  void SetUp() override
  {
    x11 = std::make_unique<X11Host>();
    if (!x11->server) GTEST_SKIP() << "no Xvfb: " << x11->error;
    ASSERT_TRUE(x11->Ok()) << x11->error;
    std::string error;
    module = Vst3Module::Load(MURAX_BUNDLE_PATH, &error);
    ASSERT_TRUE(module) << error;
    plug = PluginInstance::Create(module->Factory(), MuraxClassID(), &host, &handler, &error);
    ASSERT_TRUE(plug) << error;
    view = plug->controller->createView(Vst::ViewType::kEditor);
    ASSERT_NE(view, nullptr);
  }
  std::string Resource(const char* name) { return std::string(MURAX_BUNDLE_PATH) + "/Contents/Resources/" + name; }
};
} // namespace

TEST_F(EditorX11Artwork, TheBundlesOwnImagesOnScreen)
{
  const Art bg = LoadArt(Resource("BG.png"));
  const Art bypass = LoadArt(Resource("BYPASS.png"));
  const Art size = LoadArt(Resource("SIZE.png"));
  if (bg.argb.empty() || bypass.argb.empty() || size.argb.empty()) GTEST_SKIP() << "the bundle has no artwork yet";
  ASSERT_EQ(bg.w, kEditorW);
  ASSERT_EQ(bg.h, kEditorH);
  ASSERT_EQ(Attach(), kResultTrue);
  const auto screen = x11->parent->Capture(0, 0, kEditorW, kEditorH);
  ASSERT_EQ(screen.size(), static_cast<size_t>(kEditorW) * kEditorH);

  // Where no control lies, the screen is the background image itself.
  const Spot sw = {24, 12, bypass.w, bypass.h / 2, 4};
  const Spot knob = {25, 77, size.w, size.h / 61, 1};
  int compared = 0, equal = 0;
  for (int y = 0; y < kEditorH; y += 3)
    for (int x = 0; x < 180; x += 3)
    {
      const auto inside = [&](const Spot& s) { return x >= s.x && x < s.x + s.w && y >= s.y && y < s.y + s.h; };
      if (inside(sw) || inside(knob) || y >= 181) continue;
      const uint32_t p = bg.argb[static_cast<size_t>(y) * bg.w + x];
      if ((p >> 24) != 255) continue;
      ++compared;
      equal += screen[static_cast<size_t>(y) * kEditorW + x] == (p & 0xFFFFFFu);
    }
  ASSERT_GT(compared, 500);
  EXPECT_EQ(equal, compared) << "background pixels left of the speaker, outside the controls";

  // Each switch state and knob position has its own look, and coming back
  // shows the first one again, pixel for pixel.
  const auto region = [&](const Spot& s) { return x11->parent->Capture(s.x, s.y, s.w, s.h); };
  const auto switchOn = region(sw), knobMid = region(knob);
  Click(sw);
  x11->Pump();
  EXPECT_NE(region(sw), switchOn) << "bypass engaged looks different";
  x11->Pump(450);
  Click(sw);
  x11->Pump();
  EXPECT_EQ(region(sw), switchOn);
  Drag(knob, 0, -30);
  EXPECT_NE(region(knob), knobMid);
  x11->user->Click(Child(), knob.CX(), knob.CY());
  x11->user->Click(Child(), knob.CX(), knob.CY());
  x11->Pump(1000); // the drag's read-out, which may cover the knob, goes first
  EXPECT_NEAR(Normalized(knob.param), 0.5, 1e-9) << "double click: back to the default";
  EXPECT_EQ(region(knob), knobMid);
  EXPECT_EQ(view->removed(), kResultOk);
}
