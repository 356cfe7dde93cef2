#pragma once

// Medians, spreads and ratios of repeated measurements, printed one figure a line.

#include <string>
#include <vector>

struct Sample {
  std::vector<double> values;
  double Median() const;
  double Low() const;
  double High() const;
};

// "figure | client median (spread) | floor median (spread) | ratio"
void PrintFigure(const std::string& figure, const Sample& client, const Sample& floor, const char* unit);
void PrintValue(const std::string& figure, double value, const char* unit);
