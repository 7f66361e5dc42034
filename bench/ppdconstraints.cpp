// The UI-constraint table against libcups on the largest office PPDs of the openprinting-ppds
// driver: building the table, and the conflict flag of every choice of every option, once
// through GetUIListFromPPD and once the libcups way (mark the choice, ppdConflicts, restore the
// mark). Per-choice times are the "per_choice" counters; the table's size is "table_bytes".
#include "PPDUIList.h"
#include "UIConstraintTable.h"

#include <PrintCore/PrintHost.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr char kDriver[] = "/usr/lib/cups/driver/openprinting-ppds";

struct BenchPPD
{
    const char *name;
    const char *uri;
    veltra::PPDFile ppd;
};

// The largest of each maker by number of constraints (Sharp's largest has fewer than 1,000),
// and the Kyocera whose libcups figure is quoted in the project's notes.
std::vector<BenchPPD> &PPDs()
{
    static std::vector<BenchPPD> ppds = [] {
        std::vector<BenchPPD> list;
        const char *const entries[][2] = {
            {"RicohProC7200S", "Ricoh/PS/Ricoh-Pro_C7200S_PS.ppd"},
            {"LexmarkCX920", "Lexmark/Lexmark_CX920_Series.ppd"},
            {"KyoceraFS9520DN", "Kyocera/en/Kyocera_Mita_FS-9520DN_en.ppd"},
            {"KyoceraCSC2525E", "Kyocera/en/Kyocera_CS-C2525E_en.ppd"},
            {"SharpMXM455N", "Sharp/sham455n.ppd"},
        };
        for (const auto &entry : entries)
            list.push_back({entry[0], entry[1], nullptr});
        return list;
    }();
    return ppds;
}

// Extracts the PPD from the driver into a cache beside this program on first use.
veltra::PPDFile LoadPPD(const BenchPPD &entry, std::string *error)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::read_symlink("/proc/self/exe").parent_path() / "ppdconstraints-ppds";
    const fs::path path = dir / fs::path(entry.uri).filename();
    std::error_code ec;
    if (!fs::exists(path, ec) || fs::file_size(path, ec) == 0) {
        fs::create_directories(dir, ec);
        const fs::path partial = path.string() + ".part";
        const std::string command = std::string(kDriver) + " cat 'openprinting-ppds:0/ppd/" +
                                    "openprinting/" + entry.uri + "' > '" + partial.string() + "'";
        if (std::system(command.c_str()) != 0) {
            *error = std::string("cannot extract ") + entry.uri + " with " + kDriver;
            return nullptr;
        }
        fs::rename(partial, path, ec);
    }
    return veltra::OpenPPD(path.string(), error);
}

// Every option of the description, groups and sub-groups in order.
void CollectOptions(ppd_group_t *group, std::vector<ppd_option_t *> *options)
{
    for (int o = 0; o < group->num_options; ++o)
        options->push_back(&group->options[o]);
    for (int s = 0; s < group->num_subgroups; ++s)
        CollectOptions(&group->subgroups[s], options);
}

std::vector<ppd_option_t *> Options(ppd_file_t *ppd)
{
    std::vector<ppd_option_t *> options;
    for (int g = 0; g < ppd->num_groups; ++g)
        CollectOptions(&ppd->groups[g], &options);
    return options;
}

int ChoiceCount(const std::vector<ppd_option_t *> &options)
{
    int count = 0;
    for (const ppd_option_t *option : options)
        count += option->num_choices;
    return count;
}

void SetPerChoice(benchmark::State &state, int choices)
{
    state.counters["choices"] = choices;
    state.counters["per_choice"] = benchmark::Counter(
        choices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_BuildTable(benchmark::State &state, ppd_file_t *ppd)
{
    std::size_t entries = 0, buckets = 0, bytes = 0;
    for (auto _ : state) {
        auto table = CreateUIConstraintTable(ppd);
        benchmark::DoNotOptimize(table.get());
        entries = table->EntryCount();
        buckets = table->BucketCount();
        bytes = table->MemoryBytes();
    }
    state.counters["constraints"] = ppd->num_consts;
    state.counters["entries"] = double(entries);
    state.counters["buckets"] = double(buckets);
    state.counters["table_bytes"] = double(bytes);
}

void BM_TableConflictFlags(benchmark::State &state, ppd_file_t *ppd)
{
    const auto table = CreateUIConstraintTable(ppd);
    ppdMarkDefaults(ppd);
    const std::vector<ppd_option_t *> options = Options(ppd);
    int conflicted = 0;
    const CFStringRef conflictTrue = CFSTR("ConflictTrue");
    for (auto _ : state) {
        CFRef<CFMutableArrayRef> list(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
        CFMutableArrayRef out = list.get();
        short count = 0;
        for (const ppd_option_t *option : options)
            GetUIListFromPPD(ppd, table.get(), option->keyword, &out, &count);
        conflicted = 0;
        for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
            auto entry = static_cast<CFArrayRef>(CFArrayGetValueAtIndex(list, i));
            conflicted += CFEqual(CFArrayGetValueAtIndex(entry, 3), conflictTrue);
        }
    }
    SetPerChoice(state, ChoiceCount(options));
    state.counters["conflicted"] = conflicted;
}

// The lookup alone, without building the lists' strings.
void BM_TableQueries(benchmark::State &state, ppd_file_t *ppd)
{
    const auto table = CreateUIConstraintTable(ppd);
    ppdMarkDefaults(ppd);
    const std::vector<ppd_option_t *> options = Options(ppd);
    for (auto _ : state) {
        int conflicted = 0;
        for (const ppd_option_t *option : options) {
            for (int c = 0; c < option->num_choices; ++c)
                conflicted += IsPPDChoiceConflicted(ppd, table.get(), option->keyword,
                                                    option->choices[c].choice);
        }
        benchmark::DoNotOptimize(conflicted);
    }
    SetPerChoice(state, ChoiceCount(options));
}

// For each choice: mark it, ask ppdConflicts, put the option's previous mark back.
void BM_LibcupsConflictFlags(benchmark::State &state, ppd_file_t *ppd)
{
    ppdMarkDefaults(ppd);
    const std::vector<ppd_option_t *> options = Options(ppd);
    int conflicted = 0;
    for (auto _ : state) {
        conflicted = 0;
        for (const ppd_option_t *option : options) {
            const ppd_choice_t *previous = ppdFindMarkedChoice(ppd, option->keyword);
            const std::string restore = previous ? previous->choice : "";
            for (int c = 0; c < option->num_choices; ++c) {
                ppdMarkOption(ppd, option->keyword, option->choices[c].choice);
                conflicted += ppdConflicts(ppd) > 0;
                if (!restore.empty())
                    ppdMarkOption(ppd, option->keyword, restore.c_str());
            }
        }
    }
    SetPerChoice(state, ChoiceCount(options));
    state.counters["conflicted"] = conflicted;
}

// One ppdConflicts call, the scan each step of the libcups way repeats.
void BM_LibcupsConflictsScan(benchmark::State &state, ppd_file_t *ppd)
{
    ppdMarkDefaults(ppd);
    for (auto _ : state)
        benchmark::DoNotOptimize(ppdConflicts(ppd));
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    for (BenchPPD &entry : PPDs()) {
        std::string error;
        entry.ppd = LoadPPD(entry, &error);
        if (!entry.ppd) {
            std::fprintf(stderr, "ppdconstraints: %s\n", error.c_str());
            return 1;
        }
        ppd_file_t *ppd = entry.ppd.get();
        const std::string name = entry.name;
        benchmark::RegisterBenchmark(("BuildTable/" + name).c_str(), BM_BuildTable, ppd)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("TableConflictFlags/" + name).c_str(), BM_TableConflictFlags,
                                     ppd)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("TableQueries/" + name).c_str(), BM_TableQueries, ppd)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("LibcupsConflictFlags/" + name).c_str(),
                                     BM_LibcupsConflictFlags, ppd)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("LibcupsConflictsScan/" + name).c_str(),
                                     BM_LibcupsConflictsScan, ppd)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
