// SPDX-License-Identifier: MIT
// Inline formatting conversion: one huge segment full of placeholders (the conversion must stay
// linear in the segment's length) and typical RTF-heavy units.
#include <benchmark/benchmark.h>

#include <span>
#include <string>
#include <vector>

#include "bench/rtf_segments.h"
#include "inline/inline_converter.h"

namespace {

enum LargeKind { kFormattingGroups, kTagGroups, kHiddenGroups };

// A segment of 100 bytes per group: a group of the kind, then plain text up to 100 bytes.
std::string LargeSegment(int groups, int kind) {
  constexpr size_t kBytesPerGroup = 100;
  const std::string filler =
      " and then some plain text between the groups of this rather long segment, which is fine";
  std::string s;
  s.reserve(static_cast<size_t>(groups) * kBytesPerGroup);
  for (int i = 0; i < groups; ++i) {
    const size_t start = s.size();
    switch (kind) {
      case kFormattingGroups:
        s += "{\\b\\f1\\cf2 bold caf\\'e9 text}";
        break;
      case kTagGroups:
        s += "{\\cs6 <b>}tagged{\\cs6 </b>}";
        break;
      default:
        s += "{\\v hidden text\\tab here}";
        break;
    }
    s.append(filler, 0, kBytesPerGroup - (s.size() - start));
  }
  return s;
}

// One unit as Export converts it: source and target in one call, into UTF-8 bytes.
void ConvertUnit(InlineConverter& converter, const std::string& source, const std::string& target) {
  const InlineSegment targetSegment{target, 1252};
  InlineUnit unit;
  unit.source = {source, 1252};
  unit.targets = std::span(&targetSegment, 1);
  benchmark::DoNotOptimize(converter.ConvertUnit(unit).data());
}

// One segment through the inline conversion; range(0) groups of 100 bytes.
void BM_LargeSegment(benchmark::State& state, int kind) {
  const std::string segment = LargeSegment(static_cast<int>(state.range(0)), kind);
  InlineConverter converter;
  InlineUnit unit;
  unit.source = {segment, 1252};
  for (auto _ : state) benchmark::DoNotOptimize(converter.ConvertUnit(unit).data());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(segment.size()));
  state.counters["segment_bytes"] = static_cast<double>(segment.size());
  state.SetComplexityN(state.range(0));
}

// The same segment as source and target: every target group pairs with a source group.
void BM_LargeUnit(benchmark::State& state) {
  const std::string segment = LargeSegment(static_cast<int>(state.range(0)), kFormattingGroups);
  InlineConverter converter;
  for (auto _ : state) ConvertUnit(converter, segment, segment);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(segment.size()) * 2);
  state.SetComplexityN(state.range(0));
}

// Typical units of an RTF-heavy translation memory, source and target.
void BM_RtfHeavyUnits(benchmark::State& state) {
  constexpr int kUnits = 1000;
  std::vector<std::string> sources, targets;
  int64_t bytes = 0;
  for (int i = 0; i < kUnits; ++i) {
    sources.push_back(MakeRtfHeavySegment(42, i));
    targets.push_back(MakeRtfHeavySegment(43, i));
    bytes += static_cast<int64_t>(sources.back().size() + targets.back().size());
  }
  InlineConverter converter;
  for (auto _ : state) {
    for (int i = 0; i < kUnits; ++i) ConvertUnit(converter, sources[i], targets[i]);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kUnits);
}

}  // namespace

// 10,000 groups of 100 bytes: a 1 MB segment with 20,000 placeholders (10,000 for hidden groups).
BENCHMARK_CAPTURE(BM_LargeSegment, formatting_groups, kFormattingGroups)
    ->Arg(2500)
    ->Arg(10000)
    ->Arg(40000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeSegment, tag_groups, kTagGroups)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeSegment, hidden_groups, kHiddenGroups)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeUnit)
    ->Arg(2500)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfHeavyUnits)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
