#include "figures.h"

#include <algorithm>
#include <cstdio>

namespace {

std::vector<double> Sorted(const std::vector<double>& values) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

}  // namespace

double Sample::Median() const {
  if (values.empty()) return 0;
  const std::vector<double> sorted = Sorted(values);
  const std::size_t middle = sorted.size() / 2;
  return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Sample::Low() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }

double Sample::High() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }

void PrintFigure(const std::string& figure, const Sample& client, const Sample& floor, const char* unit) {
  const double ratio = floor.Median() != 0 ? client.Median() / floor.Median() : 0;
  std::printf("%-48s | %10.3f %s (%.3f-%.3f, n=%zu) | %10.3f %s (%.3f-%.3f, n=%zu) | %.3f\n", figure.c_str(),
              client.Median(), unit, client.Low(), client.High(), client.values.size(), floor.Median(), unit,
              floor.Low(), floor.High(), floor.values.size(), ratio);
  std::fflush(stdout);
}

void PrintValue(const std::string& figure, double value, const char* unit) {
  std::printf("%-48s | %10.3f %s\n", figure.c_str(), value, unit);
  std::fflush(stdout);
}
