// Quenlor.exe: the window program. Without arguments it opens the window and runs until it
// is closed. Two further modes serve machines without a screen and measurements:
//   --screenshot FILE        builds the first library of the list, saves a PNG picture of
//                            the window to FILE and exits
//   --time-build FILE [--repeat N]
//                            builds the library FILE N times (default 20) through the
//                            window's timer and prints each time from the timer firing to
//                            both text boxes filled, then the median, in milliseconds
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "app/gui/main_form.h"
#include "app/gui/screenshot.h"
#include "base/error.h"
#include "base/text.h"
#include "ui/framework/controls.h"

namespace {

using quenlor::gui::TTypeLibraryForm;

// COM for the user-interface thread, before anything else of the program runs and until
// after the window is gone.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) {
    const std::wstring w(argv[i]);
    args.push_back(quenlor::Utf16ToUtf8(std::u16string(w.begin(), w.end())));
  }
  LocalFree(argv);
  return args;
}

void PrintLine(FILE* stream, const std::string& text) {
  std::fputs((text + "\n").c_str(), stream);
  std::fflush(stream);
}

// Runs the message loop until `done` holds or `timeout_ms` pass; false on the timeout.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    quenlor::ui::Application().ProcessMessages();
  }
  return true;
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// Selects item `index` as a click would and waits for the build the timer then runs.
bool SelectAndBuild(TTypeLibraryForm& form, int index) {
  const int before = form.BuildCount();
  form.TypeLibtBox.SetFocus();
  form.TypeLibtBox.SetItemIndex(index);
  form.TypeLibtBoxClick(&form.TypeLibtBox);
  return PumpUntil([&] { return form.BuildCount() > before; }, 120000);
}

int Screenshot(TTypeLibraryForm& form, const std::string& file) {
  form.Show();
  PumpFor(300);
  if (form.TypeLibtBox.Items().empty()) {
    PrintLine(stderr, "Quenlor: the catalogue is empty; the picture shows the window without a library");
  } else if (!SelectAndBuild(form, 0)) {
    PrintLine(stderr, "Quenlor: the build did not finish within two minutes");
  }
  PumpFor(300);
  quenlor::gui::SaveWindowScreenshot(form.Handle(), file);
  PrintLine(stdout, "Quenlor: window saved to " + file);
  form.Close();
  return 0;
}

int TimeBuild(TTypeLibraryForm& form, const std::string& file, int repeat) {
  form.Show();
  PumpFor(200);
  form.TypeLibtBox.AddItem("timed|{00000000-0000-0000-0000-000000000000}|" + file);
  const int index = static_cast<int>(form.TypeLibtBox.Items().size()) - 1;
  std::vector<double> times;
  for (int i = 0; i < repeat; ++i) {
    if (!SelectAndBuild(form, index)) throw quenlor::Error("the build did not finish within two minutes");
    times.push_back(form.LastBuildMilliseconds());
    const TTypeLibraryForm::BuildPhases& phases = form.LastBuildPhases();
    char line[192];
    std::snprintf(line, sizeof line,
                  "build %d: %.1f ms (describe %.1f, fill XML box %.1f, generate %.1f, fill Source box %.1f)", i + 1,
                  times.back(), phases.describe, phases.show_description, phases.generate, phases.show_unit);
    PrintLine(stdout, line);
  }
  std::sort(times.begin(), times.end());
  char line[128];
  const double median = times.size() % 2 ? times[times.size() / 2]
                                         : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
  std::snprintf(line, sizeof line, "median of %zu builds: %.1f ms (min %.1f, max %.1f)", times.size(), median,
                times.front(), times.back());
  PrintLine(stdout, line);
  PrintLine(stdout, "first lines of the unit: " + form.SourceMemo.Text().substr(0, 60));
  form.Close();
  return 0;
}

int Usage() {
  PrintLine(stderr, "Usage: Quenlor [--screenshot FILE | --time-build FILE [--repeat N]]");
  return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ComApartment com;
  quenlor::ui::TApplication& application = quenlor::ui::Application();
  application.SetTitle("Quenlor");

  const std::vector<std::string> args = Arguments();
  std::string screenshot;
  std::string timed;
  int repeat = 20;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--screenshot" && has_value) {
      screenshot = args[++i];
    } else if (args[i] == "--time-build" && has_value) {
      timed = args[++i];
    } else if (args[i] == "--repeat" && has_value) {
      repeat = std::max(1, std::atoi(args[++i].c_str()));
    } else {
      return Usage();
    }
  }
  if (!screenshot.empty() || !timed.empty()) {
    // Nobody may be there to answer a message box: errors go to the standard error stream.
    application.MessageBoxHook = [](const std::string& text, const std::string&, UINT) {
      PrintLine(stderr, "Quenlor: " + text);
      return IDOK;
    };
  }

  TTypeLibraryForm& form = application.CreateForm<TTypeLibraryForm>();
  try {
    if (!screenshot.empty()) return Screenshot(form, screenshot);
    if (!timed.empty()) return TimeBuild(form, timed, repeat);
  } catch (const std::exception& error) {
    PrintLine(stderr, std::string("Quenlor: ") + error.what());
    return 1;
  }
  return application.Run();
}
