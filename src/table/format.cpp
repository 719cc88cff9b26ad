#include "table/format.h"

namespace tabulon {

std::string MakeBoxRule(int n) {
  std::string out;
  if (n <= 0) return out;
  out.reserve(n);
  for (int i = 0; i < n / 2; ++i) out.append(box::Horizontal);
  if (n % 2 != 0) out.push_back('-');
  return out;
}

std::string LayoutMarker(bool title, bool columnHeadings, bool rowHeadings) {
  std::string m = "^--";
  m.push_back(title ? '-' : '=');
  m.push_back(columnHeadings ? '=' : '-');
  m.push_back(rowHeadings ? '=' : '-');
  m += "-^";
  return m;
}

}  // namespace tabulon
