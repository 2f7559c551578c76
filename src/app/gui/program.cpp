// Quenlor.exe: the window program. Without arguments it opens the window and runs until it
// is closed. `--reader builtin|platform` (or QUENLOR_READER) chooses the type library reader
// in every mode. Two further modes serve machines without a screen and measurements:
//   --screenshot FILE [--select TEXT]
//                            builds the first library of the list (with --select, the first
//                            whose list text holds TEXT), saves a PNG picture of the window
//                            to FILE and exits
//   --time-build FILE [--repeat N]
//                            builds the library FILE N times (default 20) through the
//                            window's timer and prints each time from the timer firing to
//                            both text boxes filled, then the median, in milliseconds
#include <windows.h>
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
#include "base/win32/com.h"
#include "base/win32/wide_text.h"
#include "generator/import_unit.h"
#include "typelib/reader_choice.h"
#include "ui/framework/controls.h"

namespace {

using quenlor::gui::TTypeLibraryForm;

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) {
    args.push_back(quenlor::Narrow(argv[i]));
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

// The first item whose text holds `text`; the first item for an empty text; -1 for none.
int FindItem(const TTypeLibraryForm& form, const std::string& text) {
  const std::vector<std::string>& items = form.TypeLibtBox.Items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

int Screenshot(TTypeLibraryForm& form, const std::string& file, const std::string& select) {
  form.Show();
  PumpFor(300);
  const int index = FindItem(form, select);
  if (form.TypeLibtBox.Items().empty()) {
    PrintLine(stderr, "Quenlor: the catalogue is empty; the picture shows the window without a library");
  } else if (index < 0) {
    PrintLine(stderr, "Quenlor: no library of the list holds '" + select + "'; the picture shows none built");
  } else if (!SelectAndBuild(form, index)) {
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
  PrintLine(stdout, quenlor::typelib::DescribeReader(form.Reader()));
  form.AddEntry({"timed", std::string(quenlor::generator::kNullGuidText), file});
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
  PrintLine(stderr,
            "Usage: Quenlor [--reader builtin|platform] [--screenshot FILE [--select TEXT] | --time-build FILE [--repeat N]]");
  return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // COM for the user-interface thread, before anything else of the program runs and until
  // after the window is gone.
  const quenlor::com::Apartment com;
  quenlor::ui::TApplication& application = quenlor::ui::Application();
  application.SetTitle("Quenlor");

  const std::vector<std::string> args = Arguments();
  std::string screenshot;
  std::string select;
  std::string timed;
  std::string reader;
  int repeat = 20;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--screenshot" && has_value) {
      screenshot = args[++i];
    } else if (args[i] == "--select" && has_value) {
      select = args[++i];
    } else if (args[i] == "--reader" && has_value && !args[i + 1].empty()) {
      reader = args[++i];
    } else if (args[i].rfind("--reader=", 0) == 0 && args[i].size() > 9) {
      reader = args[i].substr(9);
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

  quenlor::typelib::ReaderChoice choice;
  try {
    choice = quenlor::typelib::ChooseReader(reader);
  } catch (const std::exception& error) {
    application.ShowMessageBox(error.what(), application.Title(), MB_OK | MB_ICONERROR);
    return Usage();
  }

  TTypeLibraryForm& form = application.CreateForm<TTypeLibraryForm>();
  form.SetReader(choice);
  try {
    if (!screenshot.empty()) return Screenshot(form, screenshot, select);
    if (!timed.empty()) return TimeBuild(form, timed, repeat);
  } catch (const std::exception& error) {
    PrintLine(stderr, std::string("Quenlor: ") + error.what());
    return 1;
  }
  return application.Run();
}
