// What every benchmark needs: a scratch folder made current, a stopwatch
// and the median of a few rounds.
#ifndef TABULON_BENCH_BENCH_SUPPORT_H_
#define TABULON_BENCH_BENCH_SUPPORT_H_

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tabulon::bench {

inline constexpr int kRounds = 7;

inline double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double, std::milli> spent =
      std::chrono::steady_clock::now() - start;
  return spent.count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A fresh folder under the temporary folder, made current while it lives.
class BenchFolder {
 public:
  BenchFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tabulon-bench-XXXXXX")
            .string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~BenchFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace tabulon::bench

#endif  // TABULON_BENCH_BENCH_SUPPORT_H_
