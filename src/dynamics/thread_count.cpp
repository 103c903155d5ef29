#include "dynamics/thread_count.h"

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace zentrova {

int parseThreadCount(const std::string& text, const std::string& what) {
  std::size_t first = text.find_first_not_of(" \t");
  std::size_t last = text.find_last_not_of(" \t");
  const std::string digits = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  const bool whole = !digits.empty() && digits.size() <= 3 &&
                     std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int n = whole ? std::atoi(digits.c_str()) : 0;
  if (n < 1 || n > kMaxStepThreads)
    throw std::invalid_argument(what + " '" + text + "' is not a whole number from 1 to " +
                                std::to_string(kMaxStepThreads));
  return n;
}

int defaultStepThreads() {
  if (const char* env = std::getenv("ZENTROVA_THREADS"); env && *env)
    return parseThreadCount(env, "ZENTROVA_THREADS");
  return processorThreads();
}

int processorThreads() {
  int n = 0;
  cpu_set_t mask;
  if (sched_getaffinity(0, sizeof mask, &mask) == 0) n = CPU_COUNT(&mask);
  if (n <= 0) n = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(n, 1, kMaxStepThreads);
}

}  // namespace zentrova
