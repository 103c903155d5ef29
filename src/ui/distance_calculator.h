#pragma once
#include <functional>
#include <string>

// Plain C++: the arithmetic of the editor's distance calculators.
namespace zentrova {

// Text of a grid cell by column and row; row 0 is the header row, and a row
// outside the grid reads as empty text.
using GridText = std::function<std::string(int column, int row)>;

// The distance between grid rows `first` and `second` (both integer texts),
// columns 1 to 3, in the general number format. Conversions run in order
// (first number, its three cells, second number, its three cells) and the
// first bad text throws ConvertError; an overflowing difference throws
// FpError rather than showing an infinity.
std::string gridDistance(const std::string& first, const std::string& second, const GridText& cell,
                         char decimalSeparator);

}  // namespace zentrova
