// Times pipwright-cli as a script runs it, a whole process from start to
// exit, its output thrown away: run with --benchmark_repetitions=9
// --benchmark_report_aggregates_only=true for the medians.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char **environ;

namespace
{

void Process(benchmark::State &state, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), PIPWRIGHT_CLI);
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0
            || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("pipwright-cli did not run to a clean exit");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

} // namespace

BENCHMARK_CAPTURE(Process, 4d6kh3, { "4d6kh3" })->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Process, 3d6_explode, { "3d6!" })->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Process, versus_100d100kh50_100d100kh49, { "--versus", "100d100kh50", "100d100kh49" })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Process, json_2d6_1d6_explode, { "--json", "2d6", "1d6!" })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
