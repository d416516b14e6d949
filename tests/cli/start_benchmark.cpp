// The whole life of a vendigo-html process, from posix_spawn to its exit, against /bin/true and
// a bare C program run the same way: scripts call vendigo-html once per fragment, so its start
// is what they feel. The goal is a ratio printed at the end of the run. VENDIGO_HTML names
// another build's program to measure instead (an older one, say).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "support/benchmark_ratios.h"

extern char **environ;

namespace {

namespace fs = std::filesystem;

// A settings file and a JSON input for the runs, in a folder of their own.
struct Inputs {
  fs::path folder = fs::temp_directory_path() / ("vendigo-start-" + std::to_string(::getpid()));
  std::string settings = (folder / "shop.ini").string();
  std::string json = (folder / "item.json").string();
  Inputs() {
    fs::create_directories(folder);
    std::ofstream(settings) << "[CONFIGS]\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\nOrderButton=Order!\r\n";
    std::ofstream(json) << R"({"Description": "Blue Mug", "Price": "4.50", "Weight": "2"})";
  }
  ~Inputs() { fs::remove_all(folder); }
};

const Inputs &SharedInputs() {
  static const Inputs inputs;
  return inputs;
}

std::string HtmlProgram() {
  const char *other = std::getenv("VENDIGO_HTML");
  return other && *other ? other : VENDIGO_HTML_PATH;
}

// Runs the program to its end with standard input from stdinFile and its output thrown away.
void SpawnAndWait(benchmark::State &state, std::vector<std::string> arguments,
                  const std::string &stdinFile) {
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, stdinFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError(("cannot run " + arguments[0]).c_str());
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

void BM_Start_True(benchmark::State &state) {
  SpawnAndWait(state, {"/bin/true"}, "/dev/null");
}

void BM_Start_BareProgram(benchmark::State &state) {
  SpawnAndWait(state, {VENDIGO_BARE_PROGRAM}, "/dev/null");
}

void BM_Start_BuyButton(benchmark::State &state) {
  SpawnAndWait(state, {HtmlProgram(), "--settings", SharedInputs().settings, "buybutton"},
               "/dev/null");
}

void BM_Start_HiddenItemFromJson(benchmark::State &state) {
  SpawnAndWait(state, {HtmlProgram(), "--settings", SharedInputs().settings, "pelluxadd"},
               SharedInputs().json);
}

BENCHMARK(BM_Start_True)->UseRealTime();
BENCHMARK(BM_Start_BareProgram)->UseRealTime();
BENCHMARK(BM_Start_BuyButton)->UseRealTime();
BENCHMARK(BM_Start_HiddenItemFromJson)->UseRealTime();

}  // namespace

int main(int argc, char **argv) {
  using vendigo::testing::BenchmarkRatio;
  return vendigo::testing::RunBenchmarksWithRatios(
      argc, argv,
      {
          BenchmarkRatio{"vendigo-html buybutton / true", "BM_Start_BuyButton/real_time",
                         "BM_Start_True/real_time", "", 2.0, true},
          BenchmarkRatio{"vendigo-html pelluxadd with JSON input / true",
                         "BM_Start_HiddenItemFromJson/real_time", "BM_Start_True/real_time", "",
                         2.0, true},
          BenchmarkRatio{"vendigo-html buybutton / bare C program", "BM_Start_BuyButton/real_time",
                         "BM_Start_BareProgram/real_time", "", 0, true},
          BenchmarkRatio{"true / bare C program", "BM_Start_True/real_time",
                         "BM_Start_BareProgram/real_time", "", 0, true},
      });
}
