#include "EditFilter.h"

bool IsEditCharAllowed(EditFilter filter, char c) {
  bool digit = c >= '0' && c <= '9';
  switch (filter) {
    case EditFilter::Decimal:
      return digit || c == '.' || c == ',';
    case EditFilter::Hexadecimal:
      return digit || (c >= 'A' && c <= 'F');
    case EditFilter::None:
      break;
  }
  return true;
}

std::string FilterEditText(EditFilter filter, std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (IsEditCharAllowed(filter, c)) out.push_back(c);
  }
  return out;
}

std::string FilterEditText(EditFilters filters, std::string_view text) {
  std::string out(text);
  if (filters.decimal) out = FilterEditText(EditFilter::Decimal, out);
  if (filters.hexadecimal) out = FilterEditText(EditFilter::Hexadecimal, out);
  return out;
}
