// Throughput of the Crypt composer against two yardsticks: a plain memcpy of
// the same output size (the floor) and a naive composer that formats every
// byte with snprintf into a std::string (what the work would cost done simply).

#include "compose/compose.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Request {
    std::string uri;
    std::string description;
    CryptRequest AsCrypt() const { return {uri.c_str(), description.c_str(), true, true}; }
};

Request TypicalRequest() {
    return {"mailto:someone.else@example.org?subject=Hello%20there", "Write to us"};
}

Request LargestRequest() {
    Request request{std::string(32765, ' '), std::string(32765, ' ')};
    for (size_t i = 0; i < request.uri.size(); ++i) {
        request.uri[i] = static_cast<char>(1 + i % 255);
        request.description[i] = static_cast<char>('a' + i % 26);
    }
    return request;
}

void Compose(benchmark::State& state, const Request& request) {
    const CryptRequest crypt = request.AsCrypt();
    const size_t length = CryptedTextLength(crypt);
    for (auto _ : state) {
        char* text = ComposeCryptedText(crypt);
        benchmark::DoNotOptimize(text);
        FreeCryptedText(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

void BM_ComposeTypical(benchmark::State& state) {
    Compose(state, TypicalRequest());
}

void BM_ComposeLargest(benchmark::State& state) {
    Compose(state, LargestRequest());
}

void BM_MemcpyLargestOutput(benchmark::State& state) {
    const size_t length = CryptedTextLength(LargestRequest().AsCrypt());
    std::vector<char> from(length, 'x');
    std::vector<char> to(length);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), length);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

std::string NaiveCompose(const Request& r) {
    std::string out = "<noscript>\r\n<a href=\"";
    for (unsigned char c : r.uri) {
        char reference[8];
        snprintf(reference, sizeof reference, "&#%d;", c);
        out += reference;
    }
    const size_t n = r.uri.size(), t1 = n / 3, t2 = 2 * n / 3;
    out += "\">" + r.description +
           "</a>\r\n</noscript>\r\n"
           "<script language=JavaScript type=\"text/javascript\">\r\n<!--\r\nvar s1=\"" +
           r.uri.substr(0, t1) + "\";\r\nvar s2=\"" + r.uri.substr(t1, t2 - t1) +
           "\";\r\nvar sDesc=\"" + r.description +
           "\";\r\ndocument.write(\"<a h\"+\"ref=\\\"\"+s1+s2+\"" + r.uri.substr(t2) +
           "\\\">\"+sDesc+\"</a>\");\r\n//-->\r\n</script>";
    return out;
}

void BM_SnprintfLargest(benchmark::State& state) {
    const Request request = LargestRequest();
    size_t length = 0;
    for (auto _ : state) {
        std::string text = NaiveCompose(request);
        length = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

BENCHMARK(BM_ComposeTypical);
BENCHMARK(BM_ComposeLargest);
BENCHMARK(BM_MemcpyLargestOutput);
BENCHMARK(BM_SnprintfLargest);

// Prints the usual table and keeps each benchmark's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> nanoseconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                nanoseconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() *
                    benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }
};

bool SameOutputAsNaive() {
    const Request request = LargestRequest();
    char* text = ComposeCryptedText(request.AsCrypt());
    const bool same = text && NaiveCompose(request) == text;
    FreeCryptedText(text);
    return same;
}

} // namespace

int main(int argc, char** argv) {
    if (!SameOutputAsNaive()) {
        fprintf(stderr, "composer and naive baseline disagree\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double largest = reporter.nanoseconds["BM_ComposeLargest"];
    const double copy = reporter.nanoseconds["BM_MemcpyLargestOutput"];
    const double naive = reporter.nanoseconds["BM_SnprintfLargest"];
    if (largest > 0 && copy > 0 && naive > 0) {
        printf("\nlargest request: %.1fx memcpy time (target <= 10x), "
               "%.1fx faster than snprintf (target >= 30x)\n",
               largest / copy, naive / largest);
    }
    return 0;
}
